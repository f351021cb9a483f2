#include "mouse/StageEditor.h"

#include <algorithm>

#include "ui/controls/Combo.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"

namespace mouse {

std::vector<std::string> StageEditor::ParseLabels(const std::string& userData) {
    std::vector<std::string> labels;
    size_t start = 0;
    while (true) {
        size_t comma = userData.find(',', start);
        if (comma == std::string::npos) break;
        labels.push_back(userData.substr(start, comma - start));
        start = comma + 1;
    }
    size_t found = labels.size();
    labels.insert(labels.end(), found, "0");
    return labels;
}

void StageEditor::KeepEnabled(int& count, int& current, int heldCount, int heldStage) {
    KeepEnabled(StageScheme{}, count, current, heldCount, heldStage);
}

void StageEditor::KeepEnabled(const StageScheme& scheme, int& count, int& current, int heldCount,
                              int heldStage) {
    const int lowest = std::clamp(scheme.firstCount, 1, kStages);
    if (count < lowest || count > kStages) count = std::clamp(heldCount, lowest, kStages);
    if (!IsEnabled(scheme.Shown(current), count))
        current = scheme.Stored(std::clamp(scheme.Shown(heldStage), 1, count));
}

void StageEditor::LoadLabels(ui::PaintManager& manager) {
    labels_.clear();
    if (auto* label = manager.FindControl(names_.Numbered("result_DPI", 1, "_edit")))
        labels_ = ParseLabels(label->GetUserData());
}

std::string StageEditor::Label(int level) const {
    if (level < 0 || level >= static_cast<int>(labels_.size())) return {};
    return labels_[static_cast<size_t>(level)];
}

int StageEditor::StageOf(const ui::Control* sender, const char* rest) const {
    if (!sender) return 0;
    for (int d = 1; d <= kStages; ++d)
        if (sender->NameIs(names_.Numbered("result_DPI", d, rest))) return d;
    return 0;
}

void StageEditor::ShowEnabled(ui::PaintManager& manager, const StageModel& model) {
    for (int i = 1; i <= static_cast<int>(model.stages.size()); ++i) {
        bool enabled = i <= model.stageCount;
        for (const char* rest : {"_check", "_slider", "_color"})
            if (auto* c = manager.FindControl(names_.Numbered("result_DPI", i, rest))) c->SetEnabled(enabled);
        if (i == scheme_.Shown(model.currentStage))
            if (auto* option = manager.Find<ui::Option>(names_.Numbered("result_DPI", i, "_check")))
                option->SetSelected(true, ui::Notify::No);
    }
}

void StageEditor::Show(ui::PaintManager& manager, const StageModel& model) {
    ShowEnabled(manager, model);
    for (int i = 1; i <= static_cast<int>(model.stages.size()); ++i) {
        const DpiStage& stage = model.stages[static_cast<size_t>(i - 1)];
        if (auto* slider = manager.Find<ui::Slider>(names_.Numbered("result_DPI", i, "_slider")))
            slider->SetValue(stage.level, ui::Notify::No);
        if (auto* label = manager.FindControl(names_.Numbered("result_DPI", i, "_edit")))
            label->SetText(Label(stage.level));
        if (auto* colour = manager.FindControl(names_.Numbered("result_DPI", i, "_color")))
            colour->SetBkColor(Argb(stage));
    }
    if (auto* count = manager.Find<ui::Combo>(names_("result_DPI_count_setting"))) {
        count->SetVisible(true);
        count->SelectItem(model.stageCount - scheme_.firstCount, ui::Notify::No);
    }
}

bool StageEditor::Handle(ui::PaintManager& manager, const ui::Notification& n, const StageModel& model) {
    const int stageCount = static_cast<int>(model.stages.size());
    if (n.type == "selectchanged") {
        int d = StageOf(n.sender, "_check");
        if (!d) return false;
        auto* option = dynamic_cast<ui::Option*>(n.sender);
        if (option && option->IsSelected()) {
            model.currentStage = scheme_.Stored(d);
            host_.StageChosen(d);
            host_.StageColourChanged();
            host_.RequestStageWrite();
        }
        return true;
    }
    if (n.type == "itemselect" && n.sender && n.sender->NameIs(names_("result_DPI_count_setting"))) {
        auto* combo = dynamic_cast<ui::Combo*>(n.sender);
        int k = combo ? combo->GetCurSel() : -1;
        if (k < 0 || k + scheme_.firstCount > kStages) return true;
        // The highest enabled stage becomes the active one.
        model.stageCount = k + scheme_.firstCount;
        model.currentStage = scheme_.Stored(model.stageCount);
        ShowEnabled(manager, model);
        host_.CountChosen(k);
        host_.RequestStageWrite();
        host_.StageColourChanged();
        return true;
    }
    // The level is taken while the slider moves, or on its release; the other only shows its label.
    const char* takes = scheme_.levelOnRelease ? "valuechanged" : "valuechanging";
    if (n.type == "valuechanged" || n.type == "valuechanging") {
        int d = StageOf(n.sender, "_slider");
        if (!d) return false;
        if (n.type != takes) {
            if (auto* label = manager.FindControl(names_.Numbered("result_DPI", d, "_edit")))
                label->SetText(Label(static_cast<int>(n.wParam)));
            return true;
        }
        if (d > stageCount) return true;
        int value = static_cast<int>(n.wParam);
        model.stages[static_cast<size_t>(d - 1)].level = value;
        if (auto* label = manager.FindControl(names_.Numbered("result_DPI", d, "_edit")))
            label->SetText(Label(value));
        host_.RequestStageWrite();
        return true;
    }
    if (n.type == "click") {
        int d = StageOf(n.sender, "_color");
        if (!d) return false;
        if (d > stageCount) return true;
        uint32_t colour = Argb(model.stages[static_cast<size_t>(d - 1)]);
        if (!host_.ChooseColour(colour)) return true;
        // The picker is modal: a reconnection meanwhile rebuilt the stages, perhaps without this one.
        if (d > static_cast<int>(model.stages.size())) return true;
        DpiStage& stage = model.stages[static_cast<size_t>(d - 1)];
        stage.red = (colour >> 16) & 0xFF;
        stage.green = (colour >> 8) & 0xFF;
        stage.blue = colour & 0xFF;
        if (auto* button = manager.FindControl(names_.Numbered("result_DPI", d, "_color")))
            button->SetBkColor(colour | 0xFF000000u);
        host_.RequestStageWrite();
        if (d == scheme_.Shown(model.currentStage)) host_.StageColourChanged();
        return true;
    }
    return false;
}

}  // namespace mouse

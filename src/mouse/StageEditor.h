#pragma once
// The sensitivity stages of a mouse page: count, active stage, each stage's level (an index into the
// skin's label list) and indicator colour. Every page of every model uses this one editor.
#include <cstdint>
#include <string>
#include <vector>

#include "mouse/PageNames.h"
#include "records/DpiStage.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace mouse {

// The stage fields of a record; the active stage is numbered as the page's scheme says.
struct StageModel {
    int& stageCount;
    int& currentStage;
    std::vector<DpiStage>& stages;
};

// How a model numbers its stages.
struct StageScheme {
    int firstCount = 1;           // the stage count of the count combo's first item
    int firstStage = 1;           // the record's number of stage 1 (0: the active stage is zero-based)
    bool levelOnRelease = false;  // a level is taken when its slider is released, not while it moves

    // The stage number 1..7 of the record's active stage, and back.
    int Shown(int current) const { return current - firstStage + 1; }
    int Stored(int shown) const { return shown - 1 + firstStage; }
};

// What the editor needs from its page.
class StageHost {
  public:
    virtual ~StageHost() = default;
    // Stage `shown` (1..7) was chosen, or the count combo's item `item`; the record has taken it
    // and the stages are written next.
    virtual void StageChosen(int shown) {}
    virtual void CountChosen(int item) {}
    virtual void RequestStageWrite() = 0;
    // The active stage's colour may have changed (other editors follow it).
    virtual void StageColourChanged() = 0;
    // Opens the colour picker on `argb`; true when the user confirmed a new colour.
    virtual bool ChooseColour(uint32_t& argb) = 0;
};

class StageEditor {
  public:
    static constexpr int kStages = 7;

    StageEditor(const PageNames& names, StageHost& host, StageScheme scheme = {})
        : names_(names), host_(host), scheme_(scheme) {}
    const StageScheme& Scheme() const { return scheme_; }

    // Every label is followed by a comma (text after the last comma is no label); the list then
    // gets as many "0" entries as it has labels.
    static std::vector<std::string> ParseLabels(const std::string& userData);
    // True when `stage` (one-based) is one of the first `count` stages.
    static bool IsEnabled(int stage, int count) {
        return count >= 1 && count <= kStages && stage >= 1 && stage <= count;
    }
    // After a read: a count outside 1..7 or an active stage outside the enabled ones is not taken;
    // the held values stay, brought into range if the new count excludes them.
    static void KeepEnabled(int& count, int& current, int heldCount, int heldStage);
    // The same in the numbering of `scheme`, whose counts start at its first count.
    static void KeepEnabled(const StageScheme& scheme, int& count, int& current, int heldCount,
                            int heldStage);
    // Reads the labels from the user data of stage 1's label control.
    void LoadLabels(ui::PaintManager& manager);
    // The label of `level`; empty for a level the list does not have.
    std::string Label(int level) const;
    const std::vector<std::string>& Labels() const { return labels_; }

    void Show(ui::PaintManager& manager, const StageModel& model);
    // Handles the notifications of the stage controls; true when `n` was one of them.
    bool Handle(ui::PaintManager& manager, const ui::Notification& n, const StageModel& model);
    // A click on `sender`: true when it was a stage's colour button.
    bool HandleClick(ui::PaintManager& manager, ui::Control* sender, const StageModel& model) {
        ui::Notification click;
        click.type = "click";
        click.sender = sender;
        return Handle(manager, click, model);
    }

  private:
    // Enables the controls of the stages up to the count, selects the active stage's option.
    void ShowEnabled(ui::PaintManager& manager, const StageModel& model);
    // The stage number 1..7 whose control `name` is, for the control kind `rest` ("_slider").
    int StageOf(const ui::Control* sender, const char* rest) const;
    static uint32_t Argb(const DpiStage& s) {
        return 0xFF000000u | (uint32_t(s.red & 0xFF) << 16) | (uint32_t(s.green & 0xFF) << 8) |
               uint32_t(s.blue & 0xFF);
    }

    const PageNames& names_;
    StageHost& host_;
    StageScheme scheme_;
    std::vector<std::string> labels_;
};

}  // namespace mouse

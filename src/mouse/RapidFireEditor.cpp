#include "mouse/RapidFireEditor.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"

namespace mouse {

unsigned long long RapidFireEditor::BoxValue(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
    bool negative = start < text.size() && text[start] == '-';
    if (negative || (start < text.size() && text[start] == '+')) ++start;
    unsigned long long value = 0;
    bool digits = false;
    for (size_t i = start; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        digits = true;
        if (value > (~0ULL - 9) / 10) return ~0ULL;  // saturate: still "too large"
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (!digits) return 0;
    return negative ? 0ULL - value : value;
}

std::array<uint8_t, 4> RapidFireEditor::PresetCode(const FamilyEConfig& c, int slot) {
    if (slot < 0 || slot >= kSlots) slot = kSlots - 1;
    const RapidFireSlot& preset = c.rapidFire[static_cast<size_t>(slot)];
    uint8_t countByte = static_cast<uint8_t>(preset.count & 0xFF) | 0x10;
    if (c.continuousShown[static_cast<size_t>(slot)])
        countByte |= 0x80;
    else
        countByte &= 0x7F;
    return {6, countByte, static_cast<uint8_t>((preset.interval >> 8) & 0xFF),
            static_cast<uint8_t>(preset.interval & 0xFF)};
}

void RapidFireEditor::NoteFireCode(const std::array<uint8_t, 4>& code, FamilyEConfig& c) {
    if (code[0] != 6) return;
    const int shots = code[1] & 0x0F;
    const int interval = code[2] * 256 + code[3];
    for (size_t s = 0; s < c.rapidFire.size(); ++s) {
        RapidFireSlot& slot = c.rapidFire[s];
        if (slot.count != shots) continue;
        slot.interval = interval;
        if (interval == 0) continue;
        slot.continuous = (code[1] >> 4) != 1 ? 1 : 0;
        c.continuousShown[s] = slot.continuous;
        return;
    }
}

std::vector<std::pair<int, int>> RapidFireEditor::UpdateSlot(FamilyEConfig& c, int slot,
                                                             const SlotEdit& edit) {
    std::vector<std::pair<int, int>> rewritten;
    if (slot < 0 || slot >= kSlots) return rewritten;
    RapidFireSlot& fire = c.rapidFire[static_cast<size_t>(slot)];
    const int oldCount = fire.count;
    const size_t keys = c.keyLists.empty() ? 0 : c.keyLists[0].size();
    for (size_t k = 0; k < keys; ++k) {
        for (size_t p = 0; p < c.keyLists.size(); ++p) {
            if (k >= c.keyLists[p].size()) continue;
            auto& code = c.keyLists[p][k].code;
            if (code[0] != 6 || (code[1] & 0x0F) != oldCount) continue;
            fire.interval = code[2] * 256 + code[3];
            // A fire key without an interval is a recoil key of its own: left as it is.
            if (fire.interval == 0) continue;
            uint8_t countByte = static_cast<uint8_t>((edit.count | 16) & 0xFF);
            code[1] = edit.continuous ? (countByte | 0x80) : (countByte & 0x7F);
            code[2] = static_cast<uint8_t>((edit.interval >> 8) & 0xFF);
            code[3] = static_cast<uint8_t>(edit.interval & 0xFF);
            rewritten.emplace_back(static_cast<int>(p), static_cast<int>(k));
        }
    }
    fire.interval = edit.interval;
    fire.count = edit.count;
    fire.continuous = edit.continuous ? 1 : 0;
    return rewritten;
}

void RapidFireEditor::Show(ui::PaintManager& manager, FamilyEConfig& c) {
    for (int i = 1; i <= kSlots; ++i) {
        const size_t s = static_cast<size_t>(i - 1);
        const RapidFireSlot& slot = c.rapidFire[s];
        if (auto* count = manager.Find<ui::Edit>(Box("count", i)))
            count->SetText(std::to_string(slot.count + 1), ui::Notify::No);
        if (auto* time = manager.Find<ui::Edit>(Box("time", i)))
            time->SetText(std::to_string(slot.interval), ui::Notify::No);
        if (auto* box = manager.Find<ui::Option>(Box("continue", i)))
            box->SetSelected(slot.continuous != 0, ui::Notify::No);
        c.continuousShown[s] = slot.continuous;
    }
}

int RapidFireEditor::SlotOf(const ui::Control* sender, const char* kind) const {
    if (!sender) return 0;
    for (int i = 1; i <= kSlots; ++i)
        if (sender->NameIs(Box(kind, i))) return i;
    return 0;
}

bool RapidFireEditor::Handle(ui::PaintManager&, const ui::Notification& n, FamilyEConfig& c, int& writeSlot) {
    writeSlot = 0;
    if (n.type == "selectchanged") {
        int i = SlotOf(n.sender, "continue");
        if (!i) return false;
        auto* box = dynamic_cast<ui::Option*>(n.sender);
        c.continuousShown[static_cast<size_t>(i - 1)] = box && box->IsSelected() ? 1 : 0;
        writeSlot = i;
        return true;
    }
    if (n.type == "textchanged") {
        auto* edit = dynamic_cast<ui::Edit*>(n.sender);
        if (int i = SlotOf(n.sender, "count"); i && edit) {
            unsigned long long v = BoxValue(edit->GetText());
            if (v > kMaxCount)
                edit->SetText(std::to_string(kMaxCount), ui::Notify::Yes);  // writes through its own change
            else if (v != 1)
                writeSlot = i;  // a shown 1 is no count of its own: it waits for the focus to leave
            return true;
        }
        if (int i = SlotOf(n.sender, "time"); i && edit) {
            if (BoxValue(edit->GetText()) > kMaxInterval)
                edit->SetText(std::to_string(kMaxInterval), ui::Notify::Yes);
            else
                writeSlot = i;
            return true;
        }
        return false;
    }
    if (n.type == "killfocus") {
        auto* edit = dynamic_cast<ui::Edit*>(n.sender);
        int i = SlotOf(n.sender, "count");
        if (!i || !edit) return false;
        if (BoxValue(edit->GetText()) == 1) edit->SetText("0", ui::Notify::Yes);
        return true;
    }
    return false;
}

RapidFireEditor::SlotEdit RapidFireEditor::Edited(ui::PaintManager& manager, int slot) const {
    SlotEdit edit;
    if (auto* count = manager.Find<ui::Edit>(Box("count", slot)))
        edit.count = static_cast<int>(static_cast<uint32_t>(BoxValue(count->GetText())) - 1u);
    if (auto* time = manager.Find<ui::Edit>(Box("time", slot)))
        edit.interval =
            static_cast<int>(std::min<unsigned long long>(BoxValue(time->GetText()), kMaxInterval));
    if (auto* box = manager.Find<ui::Option>(Box("continue", slot))) edit.continuous = box->IsSelected();
    return edit;
}

}  // namespace mouse

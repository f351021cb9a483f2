#include "mouse/UartLedEdit_Egret.h"

#include <algorithm>
#include <limits>

#include "device/DeviceLibraryBinding.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/PageOperation.h"
#include "platform/Trace.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"

namespace mouse {
namespace {

constexpr const char* kSkinFile = "XML/UartLedEdit_Egret.xml";
constexpr const char* kEffectLabel = "current_uart_led_mode_Egret";
constexpr const char* kSpeed = "result_uart_mode_speed_Egret";
constexpr const char* kLoopDirection = "result_uart_LED_loop_count_direction_Egret";
constexpr const char* kLoopColour = "result_uart_LED_loop_count_color_Egret";
constexpr const char* kEnable = "result_uart_LED_transition_bg_color_enable_Egret";
constexpr const char* kSwatch = "result_uart_RGB_Egret";
constexpr const char* kStageColourChanged = "Change_DPIColor_Egret_Data";
constexpr int kMaxLoopDirection = 32;
constexpr int kMaxLoopColour = 8;
// Entries the stage colour follows.
constexpr int kStageBreathing = 16;
constexpr int kStageSteady = 21;

constexpr const char* const kDirections[] = {
    "result_uart_LED_direction_left2right_Egret", "result_uart_LED_direction_right2left_Egret",
    "result_uart_LED_direction_up2down_Egret", "result_uart_LED_direction_down2up_Egret",
    "result_uart_LED_direction_loop_Egret"};
constexpr const char* const kTransitionColours[] = {
    "result_uart_LED_transition_red_Egret",   "result_uart_LED_transition_green_Egret",
    "result_uart_LED_transition_blue_Egret",  "result_uart_LED_transition_yellow_Egret",
    "result_uart_LED_transition_cyan_Egret",  "result_uart_LED_transition_purple_Egret",
    "result_uart_LED_transition_white_Egret", "result_uart_LED_transition_orange_Egret"};
constexpr const char* const kBackgroundColours[] = {
    "result_uart_LED_bg_red_Egret",    "result_uart_LED_bg_green_Egret", "result_uart_LED_bg_blue_Egret",
    "result_uart_LED_bg_yellow_Egret", "result_uart_LED_bg_cyan_Egret",  "result_uart_LED_bg_purple_Egret",
    "result_uart_LED_bg_white_Egret",  "result_uart_LED_bg_orange_Egret"};

// Parameter groups (containers) of the editor, as bits.
constexpr unsigned kDirectionGroup = 1, kSpeedGroup = 2, kLoopDirectionGroup = 4, kLoopColourGroup = 8,
                   kTransitionGroup = 16, kSwatchGroup = 32, kBackgroundGroup = 64, kAllGroups = 127;
constexpr const char* kTransitionColourGroup = "uart_LED_transition_color_Egret";
constexpr const char* kBackgroundColourGroup = "uart_LED_bg_color_Egret";

struct GroupName {
    unsigned group;
    const char* name;
};
// The loop count (direction) box has a container of its own: it belongs to the effects that
// show its value, not to the direction or speed groups, which other effects show without it.
constexpr GroupName kGroups[] = {{kDirectionGroup, "uart_LED_direction_Egret"},
                                 {kSpeedGroup, "uart_LED_speed_Egret"},
                                 {kLoopDirectionGroup, "uart_LED_loop_count_direction_Egret"},
                                 {kLoopColourGroup, "uart_LED_loop_count_corlor_Egret"},
                                 {kTransitionGroup, "uart_LED_transition_bg_color_Egret"},
                                 {kSwatchGroup, "uart_LED_RGB_Egret"},
                                 {kBackgroundGroup, kBackgroundColourGroup}};
constexpr const char* kNoSettingsHint = "uart_LED_no_settings_Egret";

// What an effect shows: values are the groups whose controls take the entry's values, plus the
// two colour readings of the swatch.
constexpr unsigned kCoarseColour = 128, kFixedColour = 256;

struct EffectView {
    int first, last;
    unsigned shown, hidden, values;
};

// The background colour options sit below the transition group and go wherever it goes.
constexpr unsigned kMotion = kDirectionGroup | kSpeedGroup | kLoopDirectionGroup;
constexpr EffectView kEffects[] = {
    {0, 3, kMotion, kLoopColourGroup | kTransitionGroup | kSwatchGroup | kBackgroundGroup, kMotion},
    {4, 11, kMotion | kLoopColourGroup | kTransitionGroup, kSwatchGroup | kBackgroundGroup,
     kMotion | kLoopColourGroup | kTransitionGroup},
    {12, 12, kSpeedGroup | kLoopDirectionGroup | kTransitionGroup,
     kDirectionGroup | kLoopColourGroup | kSwatchGroup | kBackgroundGroup,
     kSpeedGroup | kLoopDirectionGroup | kTransitionGroup},
    {13, 13, kSpeedGroup | kLoopDirectionGroup | kLoopColourGroup | kTransitionGroup,
     kDirectionGroup | kSwatchGroup | kBackgroundGroup,
     kSpeedGroup | kLoopDirectionGroup | kLoopColourGroup | kTransitionGroup},
    {14, 16, kSpeedGroup, kAllGroups & ~kSpeedGroup, kSpeedGroup},
    {17, 20, kSpeedGroup | kSwatchGroup, kAllGroups & ~(kSpeedGroup | kSwatchGroup),
     kSpeedGroup | kCoarseColour},
    {21, 21, 0, kAllGroups, 0},
    {22, 26, kSwatchGroup, kAllGroups & ~kSwatchGroup, kFixedColour},
    {31, 31, 0, kAllGroups, 0},
};  // 27 to 30 (and effects the record has no entry for) leave the display as it is.

const EffectView* ViewOf(int effect) {
    for (const auto& v : kEffects)
        if (effect >= v.first && effect <= v.last) return &v;
    return nullptr;
}

// The C runtime's reading of a number: optional blanks and sign, then digits; no digits read 0.
// Saturates instead of overflowing.
long long ReadNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 1'000'000) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

// A loop count as the box accepts it: above the limit (or negative) the limit, 0 becomes 1.
int LimitCount(long long value, int max) {
    if (value < 0 || value > max) return max;
    return value == 0 ? 1 : static_cast<int>(value);
}

uint32_t Opaque(int red, int green, int blue) {
    return 0xFF000000u | (uint32_t(red & 0xFF) << 16) | (uint32_t(green & 0xFF) << 8) | uint32_t(blue & 0xFF);
}

}  // namespace

UartLedEdit_Egret::UartLedEdit_Egret(CDialogMouseEgretSetting& page) : page_(page) {
    SetName("uart_led_editor_Egret");
}

ui::PaintManager& UartLedEdit_Egret::Manager() const {
    return page_.Manager();
}
EgretConfig& UartLedEdit_Egret::Config() const {
    return page_.Config();
}

int UartLedEdit_Egret::CoarseLevel(int value) {
    if (value <= 0) return 0;
    if (value < 64) return 1;
    return std::min(value, 255) / 64 + 1;
}

int UartLedEdit_Egret::CoarseValue(int level) {
    // Three bits can hold more than the four levels; anything above shows as full.
    return level >= 4 ? 255 : std::max(level, 0) * 64;
}

void UartLedEdit_Egret::DoInit() {
    if (initialised_) return;
    initialised_ = true;
    auto& m = Manager();
    listener_ = m.AddNotifier([this](ui::Notification& n) { OnNotify(n); });
    LoadSkin(m, kSkinFile);
    // The skin lists the effects once; every mode offers the same list.
    auto* first = m.Find<ui::Combo>("result_led_switch_Egret_1");
    if (!first) return;
    for (int i = 2; i <= kModes; ++i) {
        auto* combo = m.Find<ui::Combo>("result_led_switch_Egret_" + std::to_string(i));
        if (!combo) continue;
        combo->CopyItemsFrom(*first);
        for (int j = 0; j < first->GetCount(); ++j)
            if (auto* item = combo->GetItemAt(j)) item->SetVisible(first->GetItemAt(j)->IsVisible());
    }
}

void UartLedEdit_Egret::Refresh() {
    auto& m = Manager();
    auto& c = Config();
    for (int i = 1; i <= kModes; ++i) {
        if (auto* option = m.Find<ui::Option>("result_uart_led_mode_Egret_" + std::to_string(i)))
            option->SetSelected(i == c.lightingMode + 1, ui::Notify::No);
        if (auto* combo = m.Find<ui::Combo>("result_led_switch_Egret_" + std::to_string(i))) {
            if (!combo->SelectItem(c.ledEffectBlock[static_cast<size_t>(i - 1)], ui::Notify::No))
                combo->SelectItem(-1, ui::Notify::No);
        }
    }
    auto* active = m.Find<ui::Combo>("result_led_switch_Egret_" + std::to_string(c.lightingMode + 1));
    currentEffect_ = active && active->GetCurSel() >= 0 ? active->GetCurSel() : 0;
    if (auto* label = m.FindControl(kEffectLabel)) label->SetText(active ? active->GetSelectedText() : "");
    ShowEffect(currentEffect_);
}

UartLedEntry* UartLedEdit_Egret::Entry() {
    auto& leds = Config().uartLeds;
    if (currentEffect_ < 0 || static_cast<size_t>(currentEffect_) >= leds.size()) return nullptr;
    return &leds[static_cast<size_t>(currentEffect_)];
}

void UartLedEdit_Egret::RequestEntryWrite() {
    page_.RequestEditorOperation(kOpUartLed, currentEffect_);
}

template <size_t N>
int UartLedEdit_Egret::CodeOf(const ui::Control* sender, const char* const (&names)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (sender->NameIs(names[i])) return static_cast<int>(i);
    return -1;
}

template <size_t N>
void UartLedEdit_Egret::SelectCode(const char* const (&names)[N], int code) {
    for (size_t i = 0; i < N; ++i)
        if (auto* option = Manager().Find<ui::Option>(names[i]))
            option->SetSelected(static_cast<int>(i) == code, ui::Notify::No);
}

void UartLedEdit_Egret::ShowTransitionEnabled(bool enabled) {
    for (const char* name : {kTransitionColourGroup, kBackgroundColourGroup})
        if (auto* group = Manager().FindControl(name)) group->SetEnabled(enabled);
}

void UartLedEdit_Egret::ShowEffect(int effect) {
    const EffectView* view = ViewOf(effect);
    UartLedEntry* entry = Entry();
    if (!view || !entry) return;
    auto& m = Manager();
    bool anyShown = false;
    for (const auto& g : kGroups) {
        auto* group = m.FindControl(g.name);
        if (!group) continue;
        if (view->shown & g.group) group->SetVisible(true);
        if (view->hidden & g.group) group->SetVisible(false);
        if (g.group != kBackgroundGroup) anyShown = anyShown || group->IsVisible();
    }
    if (auto* hint = m.FindControl(kNoSettingsHint)) hint->SetVisible(!anyShown);

    const unsigned values = view->values;
    if (values & kDirectionGroup) SelectCode(kDirections, entry->byte1 & 0x0F);
    if (values & kSpeedGroup)
        if (auto* speed = m.Find<ui::Slider>(kSpeed))
            speed->SetValue(7 - ((entry->byte1 >> 4) & 7), ui::Notify::No);
    if (values & kLoopDirectionGroup)
        if (auto* box = m.Find<ui::Edit>(kLoopDirection)) box->SetText(std::to_string(entry->byte3 / 8 + 1));
    if (values & kLoopColourGroup)
        if (auto* box = m.Find<ui::Edit>(kLoopColour)) box->SetText(std::to_string((entry->byte3 & 7) + 1));
    if (values & kTransitionGroup) {
        const bool enabled = entry->byte2 & 0x08;
        if (auto* box = m.Find<ui::CheckBox>(kEnable)) box->SetCheck(enabled, ui::Notify::No);
        // The stored colours show even while disabled, so the boxes never show another effect's.
        SelectCode(kTransitionColours, entry->byte2 & 7);
        SelectCode(kBackgroundColours, (entry->byte2 >> 4) & 7);
        ShowTransitionEnabled(enabled);
    }
    if (auto* swatch = m.FindControl(kSwatch)) {
        if (values & kCoarseColour)
            swatch->SetBkColor(Opaque(CoarseValue(entry->byte1 & 7), CoarseValue(entry->byte2 & 7),
                                      CoarseValue(entry->byte3 & 7)));
        if (values & kFixedColour) swatch->SetBkColor(Opaque(entry->byte1, entry->byte2, entry->byte3));
    }
}

void UartLedEdit_Egret::SelectModeEffect(int mode) {
    auto& m = Manager();
    auto* combo = m.Find<ui::Combo>("result_led_switch_Egret_" + std::to_string(mode));
    currentEffect_ = combo && combo->GetCurSel() >= 0 ? combo->GetCurSel() : 0;
    if (auto* label = m.FindControl(kEffectLabel)) label->SetText(combo ? combo->GetSelectedText() : "");
    Config().lightingMode = mode - 1;
    page_.RequestEditorOperation(kOpLighting);
    ShowEffect(currentEffect_);
}

void UartLedEdit_Egret::OnNotify(ui::Notification& n) {
    if (!n.sender) {
        if (n.type == kStageColourChanged) OnStageColourChanged();
        return;
    }
    if (n.sender->GetManager() != &Manager()) return;
    if (platform::TraceEnabled()) platform::Trace(n.sender->GetName() + "----" + n.type + ";");
    if (n.type == "click") {
        OnClick(n.sender);
    } else if (n.type == "selectchanged") {
        OnSelectChanged(n.sender);
    } else if (n.type == "itemselect") {
        OnItemSelect(n.sender);
    } else if (n.type == "valuechanged") {
        UartLedEntry* entry = Entry();
        auto* speed = dynamic_cast<ui::Slider*>(n.sender);
        if (!entry || !speed || !n.sender->NameIs(kSpeed)) return;
        entry->byte1 = static_cast<uint8_t>((entry->byte1 & 0x8F) | (((7 - speed->GetValue()) & 7) << 4));
        RequestEntryWrite();
    } else if (n.type == "textchanged") {
        OnLoopCountTyped(n.sender);
    } else if (n.type == "killfocus") {
        OnLoopCountLeft(n.sender);
    }
}

bool UartLedEdit_Egret::OnClick(ui::Control* sender) {
    if (!sender->NameIs(kSwatch)) return false;
    ChooseSwatchColour();
    return true;
}

bool UartLedEdit_Egret::OnSelectChanged(ui::Control* sender) {
    auto* option = dynamic_cast<ui::Option*>(sender);
    if (!option) return false;
    for (int i = 1; i <= kModes; ++i) {
        if (!sender->NameIs("result_uart_led_mode_Egret_" + std::to_string(i))) continue;
        if (option->IsSelected()) SelectModeEffect(i);
        return true;
    }
    UartLedEntry* entry = Entry();
    if (!entry) return false;
    if (sender->NameIs(kEnable)) {
        const bool enabled = option->IsSelected();
        entry->byte2 = static_cast<uint8_t>(enabled ? entry->byte2 | 0x08 : entry->byte2 & ~0x08);
        ShowTransitionEnabled(enabled);
        RequestEntryWrite();
        return true;
    }
    if (!option->IsSelected()) return false;
    if (int direction = CodeOf(sender, kDirections); direction >= 0) {
        entry->byte1 = static_cast<uint8_t>((entry->byte1 & ~0x07) | direction);
    } else if (int transition = CodeOf(sender, kTransitionColours); transition >= 0) {
        entry->byte2 = static_cast<uint8_t>((entry->byte2 & ~0x07) | transition);
    } else if (int background = CodeOf(sender, kBackgroundColours); background >= 0) {
        entry->byte2 = static_cast<uint8_t>((entry->byte2 & ~0x70) | (background << 4));
    } else {
        return false;
    }
    RequestEntryWrite();
    return true;
}

bool UartLedEdit_Egret::OnItemSelect(ui::Control* sender) {
    auto* combo = dynamic_cast<ui::Combo*>(sender);
    if (!combo) return false;
    auto& c = Config();
    for (int i = 1; i <= kModes; ++i) {
        if (!sender->NameIs("result_led_switch_Egret_" + std::to_string(i))) continue;
        const int selected = combo->GetCurSel();
        if (selected < 0 || selected > std::numeric_limits<uint8_t>::max()) return true;
        if (i - 1 == c.lightingMode) {
            currentEffect_ = selected;
            if (auto* label = Manager().FindControl(kEffectLabel)) label->SetText(combo->GetSelectedText());
            ShowEffect(currentEffect_);
        }
        c.ledEffectBlock[static_cast<size_t>(i - 1)] = static_cast<uint8_t>(selected);
        DeviceLibraryBinding::Instance().Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret,
                                              c.ledEffectBlock.data());
        return true;
    }
    return false;
}

void UartLedEdit_Egret::OnLoopCountTyped(ui::Control* sender) {
    const bool direction = sender->NameIs(kLoopDirection);
    if (!direction && !sender->NameIs(kLoopColour)) return;
    auto* box = dynamic_cast<ui::Edit*>(sender);
    if (!box) return;
    const long long typed = ReadNumber(box->GetText());
    const int limited = LimitCount(typed, direction ? kMaxLoopDirection : kMaxLoopColour);
    if (limited != typed) box->SetText(std::to_string(limited), ui::Notify::No);
}

void UartLedEdit_Egret::OnLoopCountLeft(ui::Control* sender) {
    const bool direction = sender->NameIs(kLoopDirection);
    if (!direction && !sender->NameIs(kLoopColour)) return;
    auto* box = dynamic_cast<ui::Edit*>(sender);
    UartLedEntry* entry = Entry();
    if (!box || !entry) return;
    const int count = LimitCount(ReadNumber(box->GetText()), direction ? kMaxLoopDirection : kMaxLoopColour);
    const int stored = direction ? entry->byte3 / 8 + 1 : (entry->byte3 & 7) + 1;
    if (count == stored) return;
    if (direction)
        entry->byte3 = static_cast<uint8_t>(((count - 1) << 3) | (entry->byte3 & 7));
    else
        entry->byte3 = static_cast<uint8_t>((entry->byte3 & ~0x07) | (count - 1));
    RequestEntryWrite();
}

void UartLedEdit_Egret::ChooseSwatchColour() {
    UartLedEntry* entry = Entry();
    const bool coarse = currentEffect_ >= 17 && currentEffect_ <= 20;
    if (!entry || currentEffect_ < 16 || currentEffect_ > 26) return;
    uint32_t argb = coarse ? Opaque(CoarseValue(entry->byte1 & 7), CoarseValue(entry->byte2 & 7),
                                    CoarseValue(entry->byte3 & 7))
                           : Opaque(entry->byte1, entry->byte2, entry->byte3);
    if (!page_.PickColour(argb)) return;
    // The picker is modal: the record may have been read again meanwhile.
    entry = Entry();
    if (!entry) return;
    const int red = (argb >> 16) & 0xFF, green = (argb >> 8) & 0xFF, blue = argb & 0xFF;
    if (auto* swatch = Manager().FindControl(kSwatch)) swatch->SetBkColor(Opaque(red, green, blue));
    if (coarse) {
        entry->byte1 = static_cast<uint8_t>((entry->byte1 & ~0x07) | CoarseLevel(red));
        entry->byte2 = static_cast<uint8_t>((entry->byte2 & ~0x07) | CoarseLevel(green));
        entry->byte3 = static_cast<uint8_t>((entry->byte3 & ~0x07) | CoarseLevel(blue));
    } else {
        entry->byte1 = static_cast<uint8_t>(red), entry->byte2 = static_cast<uint8_t>(green);
        entry->byte3 = static_cast<uint8_t>(blue);
    }
    RequestEntryWrite();
}

void UartLedEdit_Egret::OnStageColourChanged() {
    auto& c = Config();
    const int stage = c.currentStage - 1;
    if (stage < 0 || static_cast<size_t>(stage) >= c.stages.size()) return;
    const DpiStage& s = c.stages[static_cast<size_t>(stage)];
    for (int e : {kStageBreathing, kStageSteady}) {
        if (static_cast<size_t>(e) >= c.uartLeds.size()) return;
        UartLedEntry& entry = c.uartLeds[static_cast<size_t>(e)];
        entry.byte1 = static_cast<uint8_t>((entry.byte1 & ~0x07) | CoarseLevel(s.red));
        entry.byte2 = static_cast<uint8_t>(CoarseLevel(s.green));
        entry.byte3 = static_cast<uint8_t>(CoarseLevel(s.blue));
    }
    if (currentEffect_ == kStageBreathing || currentEffect_ == kStageSteady) RequestEntryWrite();
}

}  // namespace mouse

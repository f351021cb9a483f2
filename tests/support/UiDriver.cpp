#include "UiDriver.h"

#include <cstdlib>
#include <stdexcept>

#include "device/DeviceLibraryBinding.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Combo.h"
#include "ui/controls/ComboDropWindow.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace oaktest {

UiDriver::UiDriver() : ownedBackend_(std::make_unique<ui::HeadlessBackend>()), backend_(ownedBackend_.get()) {
    platform::SetCurrentClock(&clock_);
    ui::TextTable::Instance().Clear();
    ui::InputHooks::ResetKeyState();
    ui::Toolkit::Init(std::move(ownedBackend_));
    const char* bin = std::getenv("OAKRIDGE_BIN_DIR");
    std::string folder = bin ? std::string(bin) + "/" : std::string("./");
    ui::Toolkit::SetInstancePath(folder);
    ui::Toolkit::SetResourcePath(folder + "res/Skin/");
    // The tests live outside the program folder; the device libraries do not.
    DeviceLibraryBinding::SetLibraryFolder(folder);
    ui::Toolkit::SetSkinErrorHandler([this](const std::string& report) { skinErrors_.push_back(report); });
}

UiDriver::~UiDriver() {
    ui::Toolkit::SetSkinErrorHandler(nullptr);
    ui::Toolkit::Shutdown();
    platform::SetCurrentClock(nullptr);
}

ui::WindowImplBase& UiDriver::Window(const std::string& className) {
    if (!className.empty()) {
        if (auto* w = ui::Toolkit::FindWindowByClass(className)) return *w;
        throw std::runtime_error("no window of class \"" + className + "\" is open");
    }
    if (auto* active = backend_->GetActive()) return active->Host();
    for (auto* w : ui::Toolkit::Windows())
        if (w->HasNativeWindow()) return *w;
    throw std::runtime_error("no window is open");
}

ui::Control& UiDriver::Find(const std::string& name, const std::string& className) {
    auto& window = Window(className);
    if (auto* c = window.GetManager().FindControl(name)) return *c;
    throw std::runtime_error("window \"" + window.GetWindowClassName() + "\" has no control \"" + name +
                             "\"");
}

bool UiDriver::Exists(const std::string& name, const std::string& className) {
    return Window(className).GetManager().FindControl(name) != nullptr;
}

void UiDriver::Activate(ui::WindowImplBase& window) {
    if (auto* native = dynamic_cast<ui::HeadlessWindow*>(window.GetNative())) backend_->Activate(native);
}

ui::Point UiDriver::CenterOf(ui::Control& control, ui::WindowImplBase& window) {
    window.GetManager().LayoutIfNeeded();
    if (!control.IsShown())
        throw std::runtime_error("control \"" + control.GetName() +
                                 "\" is not visible, so it cannot be clicked");
    if (control.GetPos().IsEmpty())
        throw std::runtime_error("control \"" + control.GetName() + "\" has no area on screen");
    return control.GetPos().Center();
}

void UiDriver::ClickRow(const std::string& listName, int index, const std::string& className) {
    auto& list = Find<ui::List>(listName, className);
    list.EnsureVisible(index);
    Window(className).GetManager().LayoutIfNeeded();
    ClickAt(list.GetItemAt(index)->GetPos().Center(), className);
}

void UiDriver::ClickAt(ui::Point pt, const std::string& className) {
    auto& window = Window(className);
    if (window.GetNative() && !window.GetNative()->IsEnabled()) {
        RunUntilIdle();
        return;  // a window disabled by a modal one takes no input
    }
    Activate(window);
    auto& m = window.GetManager();
    m.OnMouseMove(pt, 0);
    if (m.OnButtonDown(pt, 0)) {
        if (window.GetNative()) window.GetNative()->BeginMove(pt);
    }
    // The press may have closed or replaced the window.
    if (ui::Toolkit::LookupWindow(window.GetHandle()) && window.HasNativeWindow()) m.OnButtonUp(pt, 0);
    RunUntilIdle();
}

void UiDriver::Click(const std::string& name, const std::string& className) {
    auto& window = Window(className);
    ClickAt(CenterOf(Find(name, className), window),
            className.empty() ? window.GetWindowClassName() : className);
}

void UiDriver::RightClick(const std::string& name, const std::string& className) {
    RightClickAt(CenterOf(Find(name, className), Window(className)), className);
}

void UiDriver::RightClickAt(ui::Point pt, const std::string& className) {
    auto& window = Window(className);
    Activate(window);
    window.GetManager().OnMouseMove(pt, 0);
    window.GetManager().OnRButtonDown(pt, 0);
    window.GetManager().OnRButtonUp(pt, 0);
    RunUntilIdle();
}

void UiDriver::DoubleClickAt(ui::Point pt, const std::string& className) {
    auto& window = Window(className);
    Activate(window);
    auto& m = window.GetManager();
    m.OnButtonDown(pt, 0);
    m.OnButtonUp(pt, 0);
    if (m.OnDoubleClick(pt, 0)) window.SendMessage(ui::kWmNcLButtonDblClk, 2, 0);
    m.OnButtonUp(pt, 0);
    RunUntilIdle();
}

void UiDriver::MouseDown(ui::Point pt, const std::string& className) {
    auto& window = Window(className);
    Activate(window);
    window.GetManager().OnMouseMove(pt, 0);
    window.GetManager().OnButtonDown(pt, 0);
    RunUntilIdle();
}

void UiDriver::MouseMove(ui::Point pt, const std::string& className) {
    Window(className).GetManager().OnMouseMove(pt, 0);
    RunUntilIdle();
}

void UiDriver::MouseUp(ui::Point pt, const std::string& className) {
    Window(className).GetManager().OnButtonUp(pt, 0);
    RunUntilIdle();
}

void UiDriver::Hover(const std::string& name, const std::string& className) {
    auto& window = Window(className);
    window.GetManager().OnMouseMove(CenterOf(Find(name, className), window), 0);
    RunUntilIdle();
}

void UiDriver::Wheel(const std::string& name, int delta, const std::string& className) {
    auto& window = Window(className);
    window.GetManager().OnWheel(CenterOf(Find(name, className), window), delta, 0);
    RunUntilIdle();
}

void UiDriver::SelectComboItem(const std::string& comboName, int index, const std::string& className) {
    auto& combo = Find<ui::Combo>(comboName, className);
    Click(comboName, className);
    ui::ComboDropWindow* drop = combo.GetDropWindow();
    if (!drop) throw std::runtime_error("combo \"" + comboName + "\" did not open");
    ui::Rect row = drop->RowRect(index);
    if (row.IsEmpty())
        throw std::runtime_error("combo \"" + comboName + "\" has no item " + std::to_string(index));
    ClickAt(row.Center(), "ComboWnd");
}

void UiDriver::DragSlider(const std::string& name, int value, const std::string& className) {
    auto& window = Window(className);
    auto& slider = Find<ui::Slider>(name, className);
    CenterOf(slider, window);
    Activate(window);
    auto& m = window.GetManager();
    int y = slider.GetPos().Center().y;
    ui::Point start{slider.XForValue(slider.GetValue()), y};
    m.OnMouseMove(start, 0);
    m.OnButtonDown(start, 0);
    int step = value >= slider.GetValue() ? slider.GetStep() : -slider.GetStep();
    for (int v = slider.GetValue(); v != value && (step > 0 ? v < value : v > value);) {
        v = step > 0 ? std::min(value, v + step) : std::max(value, v + step);
        m.OnMouseMove({slider.XForValue(v), y}, 0);
    }
    m.OnButtonUp({slider.XForValue(value), y}, 0);
    RunUntilIdle();
}

void UiDriver::Type(const std::string& editName, const std::string& text, const std::string& className) {
    Click(editName, className);
    TypeText(text);
}

void UiDriver::TypeText(const std::string& text) {
    auto& m = Window().GetManager();
    for (size_t i = 0; i < text.size();) {
        size_t len = 1;
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        std::string ch = text.substr(i, len);
        uint32_t vk = 0;
        if (ch.size() == 1 && std::isalnum(c)) vk = static_cast<uint32_t>(std::toupper(c));
        if (vk) m.OnKeyDown(vk, 0);
        m.OnChar(ch, 0);
        if (vk) m.OnKeyUp(vk, 0);
        i += len;
    }
    RunUntilIdle();
}

void UiDriver::KeyDown(uint32_t vk, unsigned modifiers) {
    Window().GetManager().OnKeyDown(vk, modifiers);
    RunUntilIdle();
}

void UiDriver::KeyUp(uint32_t vk, unsigned modifiers) {
    Window().GetManager().OnKeyUp(vk, modifiers);
    RunUntilIdle();
}

void UiDriver::PressKey(uint32_t vk, unsigned modifiers) {
    auto& window = Window();
    window.GetManager().OnKeyDown(vk, modifiers);
    if (ui::Toolkit::LookupWindow(window.GetHandle()) && window.HasNativeWindow())
        window.GetManager().OnKeyUp(vk, modifiers);
    RunUntilIdle();
}

void UiDriver::Tab(bool forward) {
    PressKey(ui::kVkTab, forward ? 0u : unsigned{ui::kModShift});
}

void UiDriver::RunUntilIdle() {
    backend_->RunUntilIdle();
}

bool UiDriver::RunUntil(const std::function<bool()>& condition, int timeoutMs) {
    return backend_->RunUntil(condition, timeoutMs);
}

void UiDriver::AdvanceClock(uint64_t ms) {
    // Step in small slices so repeating timers fire as often as they would in real time.
    for (uint64_t done = 0; done < ms;) {
        uint64_t slice = std::min<uint64_t>(10, ms - done);
        clock_.Advance(slice);
        done += slice;
        RunUntilIdle();
    }
}

void UiDriver::AnswerModal(const std::string& className, std::function<void(ui::WindowImplBase&)> answer) {
    backend_->AnswerModal(className, std::move(answer));
}

void UiDriver::PressInNextModal(const std::string& className, const std::string& buttonName) {
    AnswerModal(className,
                [this, className, buttonName](ui::WindowImplBase&) { Click(buttonName, className); });
}

void UiDriver::AnswerFileDialog(std::optional<std::string> path) {
    backend_->AnswerFileDialog(std::move(path));
}

void UiDriver::AnswerReplaceQuestion(bool replace) {
    backend_->AnswerReplaceQuestion(replace);
}

const std::vector<std::string>& UiDriver::ReplaceQuestionsAsked() const {
    return backend_->ReplaceQuestionsAsked();
}

std::string UiDriver::Text(const std::string& name, const std::string& className) {
    auto& c = Find(name, className);
    if (auto* combo = dynamic_cast<ui::Combo*>(&c)) return combo->GetSelectedText();
    return c.GetText();
}

std::string UiDriver::ResolvedText(const std::string& name, const std::string& className) {
    return ui::TextTable::Instance().Resolve(Text(name, className));
}

bool UiDriver::IsSelected(const std::string& name, const std::string& className) {
    return Find<ui::Option>(name, className).IsSelected();
}

bool UiDriver::IsVisible(const std::string& name, const std::string& className) {
    return Find(name, className).IsShown();
}

bool UiDriver::IsEnabled(const std::string& name, const std::string& className) {
    return Find(name, className).IsEffectivelyEnabled();
}

int UiDriver::Value(const std::string& name, const std::string& className) {
    return Find<ui::Progress>(name, className).GetValue();
}

int UiDriver::CurSel(const std::string& name, const std::string& className) {
    auto& c = Find(name, className);
    if (auto* owner = dynamic_cast<ui::ListOwner*>(&c)) return owner->GetCurSel();
    throw std::runtime_error("control \"" + name + "\" has no selection");
}

bool UiDriver::Snapshot(const std::string& pngPath, const std::string& className) {
    return backend_->Snapshot(Window(className), pngPath);
}

NotificationRecorder::NotificationRecorder(ui::PaintManager& manager) {
    handle_ = manager.AddNotifier([this](ui::Notification& n) {
        entries_.push_back(
            {n.type, n.sender ? n.sender->GetName() : std::string(), n.wParam, n.lParam, n.pointer});
    });
}

std::vector<std::string> NotificationRecorder::Seen() const {
    std::vector<std::string> out;
    for (auto& e : entries_) out.push_back(e.sender.empty() ? e.type : e.type + ":" + e.sender);
    return out;
}

size_t NotificationRecorder::Count(const std::string& type) const {
    size_t n = 0;
    for (auto& e : entries_) n += e.type == type;
    return n;
}

}  // namespace oaktest

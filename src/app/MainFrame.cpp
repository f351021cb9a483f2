#include "app/MainFrame.h"

#include <algorithm>
#include <iterator>

#include "app/Language.h"
#include "app/ReadProgress.h"
#include "app/RememberedChoices.h"
#include "app/WarrningMessage.h"
#include "assign/LayoutRemap.h"
#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "keyboard/CDialogKeySetting.h"
#include "macro/MacroStore.h"
#include "mouse/CDialogMouseCraneSetting.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/CDialogMouseHeronDriverSetting.h"
#include "mouse/CDialogMouseHeronSetting.h"
#include "mouse/CDialogMouseIbisSetting.h"
#include "mouse/MousePage.h"
#include "platform/CrashHandler.h"
#include "platform/DeviceMonitor.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/core/MessageBoxHook.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/layout/TabLayout.h"
#include "ui/text/TextTable.h"

namespace app {

MainFrame::MainFrame() {
    std::string macroFolder = platform::UserStateFolder() + "Lumenor_MacroBin/";
    // Failing here is not reported: the macro operations that need the folder fail later.
    platform::CreateFolderTree(macroFolder);
    ::SetMacroTempFolder(macroFolder);
    // The toolkit's instance path is the program folder (the entry point sets it; tests point it at
    // the built program folder).
    const std::string& instance = ui::Toolkit::GetInstancePath();
    ::SetAppFolder(instance.empty() ? platform::ProgramFolder() : instance);
    // Before the pages, which load their macro data while the skin is built.
    MacroStore::Instance().SetFolders(AppFolder(), MacroTempFolder());
    // Editors and pages below the application show the program's message box.
    ui::SetMessageBoxHandler(&ShowMessage);
    // File dialogs open where the user last went, else in the documents folder.
    InstallFileDialogPlaces();
    // The key tables switch to the French layout while that language is current.
    assign::SetLanguageNameProvider([] { return CurrentLanguageName(); });
}

MainFrame::~MainFrame() {
    deviceMonitor_.reset();
    JoinWorker();
    progressWindows_.clear();
}

void MainFrame::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

bool MainFrame::Open() {
    return Create(nullptr, kClassName, {}, {0, 0, 1310, 749});
}

namespace {

// The page class of each model; the table row says where its page goes.
template <class... Pages>
std::unique_ptr<ui::Control> CreatePageFor(DeviceModel model, MainFrame& frame) {
    std::unique_ptr<ui::Control> page;
    ((Pages::kModel == model && !page ? (void)(page = std::make_unique<Pages>(frame)) : void()), ...);
    return page;
}

}  // namespace

std::unique_ptr<ui::Control> MainFrame::CreateControl(std::string_view className) {
    const ModelRow* row = RowWithPageClass(className);
    if (!row) return nullptr;
    auto page =
        CreatePageFor<keyboard::CDialogKeySetting, mouse::CDialogMouseHeronSetting,
                      mouse::CDialogMouseHeronDriverSetting, mouse::CDialogMouseEgretSetting,
                      mouse::CDialogMouseIbisSetting, mouse::CDialogMouseCraneSetting>(row->model, *this);
    if (page) pages_[static_cast<size_t>(row->page)] = page.get();
    return page;
}

ui::Control* MainFrame::Page(DeviceModel model) const {
    return pages_[static_cast<size_t>(RowOf(model).page)];
}

int MainFrame::LanguageOptionCount() const {
    auto* options = Find<ui::Container>("language_option");
    return options ? options->GetCount() : 0;
}

ui::Option* MainFrame::LanguageOption(ui::Control* control) const {
    if (!control) return nullptr;
    int count = LanguageOptionCount();
    for (int i = 1; i <= count; ++i)
        if (control->NameIs("language_" + std::to_string(i))) return dynamic_cast<ui::Option*>(control);
    return nullptr;
}

ui::Option* MainFrame::LanguageOptionFor(const std::string& language) const {
    // A hand-edited settings file may name the file without ".xml" or the display name.
    auto names = [&language](const ui::Option& option) {
        const std::string& file = option.GetUserData();
        const std::string stem = file.size() > 4 ? file.substr(0, file.size() - 4) : file;
        return ui::EqualsNoCase(file, language) || ui::EqualsNoCase(stem, language) ||
               ui::EqualsNoCase(ui::TextTable::Instance().Resolve(option.GetText()), language);
    };
    int count = LanguageOptionCount();
    for (int i = 1; i <= count; ++i) {
        auto* option = Find<ui::Option>("language_" + std::to_string(i));
        if (option && names(*option)) return option;
    }
    return nullptr;
}

ui::Option* MainFrame::StartLanguageOption() const {
    if (auto remembered = RememberedLanguageFile())
        if (ui::Option* option = LanguageOptionFor(*remembered)) return option;
    if (ui::Option* option = LanguageOptionFor(LanguageFileForLocale(platform::DesktopMessagesLocale())))
        return option;
    return Find<ui::Option>("language_1");
}

void MainFrame::InitWindow() {
    int optionCount = LanguageOptionCount();
    // Before any switch: the switch re-faces every font but these.
    for (int i = 1; i <= optionCount; ++i) {
        if (auto* option = Find<ui::Control>("language_" + std::to_string(i)))
            Languages().languageFontMap[option->GetFont()] = GetManager().GetFont(option->GetFont());
    }
    ui::Option* start = optionCount > 0 && Find<ui::Option>("language_1") ? StartLanguageOption() : nullptr;
    if (start) {
        LanguageLoader::Instance().LoadBase();
        // Exactly what a click on the option does, font included.
        start->SetSelected(true, ui::Notify::No);
        SwitchLanguageByOption(*start);
    }
    if (auto* combo = Find<ui::Combo>("device_combo")) {
        for (int i = 0; i < combo->GetCount(); ++i) {
            ui::Control* entry = combo->GetItemAt(i);
            deviceEntryTexts_.push_back(entry->GetText());
            entry->SetText(kDeviceUnknownMark + entry->GetText());
        }
    }
    CenterWindow();
    ShowWindow(true, true);
    ReadSkinDeviceIds();
    // Up until the first read of every device has finished.
    OpenProgressWindow(true);
    ui::WindowHandle self = GetHandle();
    deviceMonitor_ = platform::DeviceMonitor::Start(
        [self] { PostMessageTo(self, ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0); });
}

std::shared_ptr<DeviceTaskJob> MainFrame::NewJob(int selector, WorkerKind kind, int32_t operation) const {
    auto job = std::make_shared<DeviceTaskJob>();
    job->mainWindow = GetHandle();
    job->operation = operation;
    job->kind = kind;
    auto mask = PagesForSelector(selector);
    for (int i = 0; i < kTaskPageCount; ++i)
        if (mask[static_cast<size_t>(i)])
            job->pages[static_cast<size_t>(i)] = dynamic_cast<DeviceTaskPage*>(pages_[i]);
    return job;
}

void MainFrame::StartDeviceTask(int selector, WorkerKind kind, int32_t operation) {
    auto job = NewJob(selector, kind, operation);
    PrepareSteps(*job);
    RunJob(std::move(job));
}

void MainFrame::StartWrite(PendingWrite write) {
    auto job = NewJob(write.selector, WorkerKind::Write, 0);
    job->steps.push_back(DeviceTaskJob::Step{write.selector - 1, std::move(write.work)});
    RunJob(std::move(job));
}

void MainFrame::RunJob(std::shared_ptr<DeviceTaskJob> job) {
    JoinWorker();  // the previous worker posted its last message; it has returned or is returning
    if (!progressWindow_) OpenProgressWindow(false);
    runningJob_ = job;
    worker_ = std::thread([job] {
        platform::InstallThreadCrashStack();
        switch (job->kind) {
            case WorkerKind::ReadAll:
                ReadAllWorker(*job);
                break;
            case WorkerKind::Write:
                WriteWorker(*job);
                break;
            case WorkerKind::Reconnect:
                ReconnectWorker(*job);
                break;
        }
    });
}

void MainFrame::OpenProgressWindow(bool toolWindow) {
    std::erase_if(progressWindows_, [](const auto& w) { return w->IsClosed(); });
    auto window = ReadProgress::Open(*this, toolWindow);
    progressWindow_ = window.get();
    if (window) progressWindows_.push_back(std::move(window));
}

void MainFrame::RequestWrite(int selector, int32_t operation) {
    if (selector < 1 || selector > kTaskPageCount) return;
    auto* page = dynamic_cast<DeviceTaskPage*>(pages_[selector - 1]);
    if (!page) return;
    // Taken now, not when the write starts: the page hands out the copy it made when the user acted.
    if (auto work = page->Perform(operation)) QueueWrite({selector, std::move(work)});
}

void MainFrame::QueueWrite(PendingWrite write) {
    if (!IsDeviceTaskRunning()) {
        StartWrite(std::move(write));
        return;
    }
    if (const auto& key = write.work->MergeKey()) {
        for (auto& pending : pendingWrites_) {
            if (pending.selector == write.selector && pending.work->MergeKey() == key) {
                pending.work = std::move(write.work);
                return;
            }
        }
    }
    pendingWrites_.push_back(std::move(write));
    // A re-read replaces the page's record with the device's, so it runs after every write waiting
    // for that page; otherwise the page would not show the later ones.
    const PendingWrite& added = pendingWrites_.back();
    if (added.reread) return;
    auto last = std::prev(pendingWrites_.end());
    auto read = std::find_if(pendingWrites_.begin(), last,
                             [&](const PendingWrite& p) { return p.reread && p.selector == added.selector; });
    if (read != last) {
        PendingWrite moved = std::move(*read);
        pendingWrites_.erase(read);
        pendingWrites_.push_back(std::move(moved));
    }
}

void MainFrame::OnDeviceTaskFinished(intptr_t wParam, intptr_t lParam) {
    // Only the task in flight finishes, and only once: a 1002 from elsewhere, or one that arrives
    // while a finish shows a message box, must not start the next task under it.
    if (finishing_ || !runningJob_ || !runningJob_->done.load()) return;
    finishing_ = true;
    JoinWorker();
    auto job = std::move(runningJob_);
    // Gone before any finish can show a message box: the top-most window would cover it.
    if (progressWindow_) {
        progressWindow_->SendMessage(1002, wParam, lParam);
        progressWindow_ = nullptr;
    }
    std::vector<PendingWrite> followUps;
    for (auto& step : job->steps) {
        if (!step.work) continue;
        step.work->Finish(step.ok);
        if (step.pageIndex < 0) continue;  // not a page's work
        // The page says whether the user's action reached the device once the work is in.
        if (step.work->Report() != WorkReport::None)
            if (DeviceTaskPage* page = job->pages[static_cast<size_t>(step.pageIndex)])
                page->ShowWorkResult(step.work->Report(), step.ok, step.work->FailureText());
        if (auto next = step.work->FollowUp(step.ok))
            followUps.push_back({step.pageIndex + 1, std::move(next), true});
    }
    for (auto& next : followUps) QueueWrite(std::move(next));  // still "running": they wait in line
    finishing_ = false;
    GetManager().SendNotify(nullptr, "Update_Profile", 0, 0, true, true);
    if (!pendingWrites_.empty()) {
        PendingWrite next = std::move(pendingWrites_.front());
        pendingWrites_.pop_front();
        StartWrite(std::move(next));
        return;
    }
    if (closeRequested_) Close(1);
}

void MainFrame::ReadSkinDeviceIds() {
    auto read = [this](const char* name, int32_t& field) {
        if (auto* c = Find<ui::Control>(name)) field = ::ParseSkinId(c->GetText());
    };
    for (const ModelRow& row : Models()) {
        if (!row.ids.vidLabel) continue;
        DeviceId& ids = ::SkinIds()[row.model];
        read(row.ids.pidLabel, ids.pid);
        read(row.ids.vidLabel, ids.vid);
    }
}

void MainFrame::ApplyLanguage(const std::string& fileName) {
    LanguageLoader::Instance().Load(fileName);
    SetTitle(ui::TextTable::Instance().Resolve("%{088}"));
    RefreshModifierKeyNames();
    if (auto* root = GetManager().GetRoot()) root->NeedUpdate();
}

void MainFrame::SwitchLanguageByOption(ui::Option& option) {
    ApplyLanguage(option.GetUserData());
    CurrentLanguageName() = ui::TextTable::Instance().Resolve(option.GetText());
    ui::PaintManager& m = GetManager();
    if (m.HasFont(option.GetFont())) {
        ui::FontSpec languageFont = m.GetFont(option.GetFont());
        m.SetDefaultFont(languageFont);
        // Every other font takes the language's face at its own size and style; the language
        // options keep theirs so each name stays readable in its own script.
        for (int index : m.GetFontIndices()) {
            if (Languages().languageFontMap.count(index)) continue;
            ui::FontSpec font = m.GetFont(index);
            font.face = languageFont.face;
            m.AddFont(index, font, false);
        }
        m.NeedLayout();
    }
    // Keep the other chooser showing the same language.
    if (auto* combo = Find<ui::Combo>("language_combo")) {
        for (int i = 0; i < combo->GetCount(); ++i)
            if (combo->GetItemAt(i)->GetUserData() == option.GetUserData())
                combo->SelectItem(i, ui::Notify::No);
    }
    m.SendNotify(nullptr, "Change_Language_Profile", 0, 0, true, true);
}

void MainFrame::SwitchLanguageByCombo() {
    auto* combo = Find<ui::Combo>("language_combo");
    if (!combo) return;
    ui::Control* item = combo->GetItemAt(combo->GetCurSel());
    if (!item) return;
    LanguageLoader::Instance().Load(item->GetUserData());
    CurrentLanguageName() = item->GetText();
    RememberLanguageFile(item->GetUserData());
    for (int i = 1; i <= LanguageOptionCount(); ++i) {
        auto* option = Find<ui::Option>("language_" + std::to_string(i));
        if (option && option->GetUserData() == item->GetUserData()) option->SetSelected(true, ui::Notify::No);
    }
    if (auto* root = GetManager().GetRoot()) root->NeedUpdate();
}

void MainFrame::ShowDevicePage() {
    auto* combo = Find<ui::Combo>("device_combo");
    auto* tab = Find<ui::TabLayout>("tab_switch");
    if (combo && tab) tab->SelectItem(combo->GetCurSel(), ui::Notify::Yes);
}

void MainFrame::ShowPageAt(int page) {
    auto* combo = Find<ui::Combo>("device_combo");
    auto* tab = Find<ui::TabLayout>("tab_switch");
    if (!tab || page < 0 || page >= tab->GetCount()) return;
    if (combo) combo->SelectItem(page, ui::Notify::No);
    if (tab->GetCurSel() != page) tab->SelectItem(page, ui::Notify::Yes);
}

void MainFrame::ShowStartPage() {
    auto attached = [this](const ModelRow& row) {
        auto* page = dynamic_cast<DeviceTaskPage*>(pages_[static_cast<size_t>(row.page)]);
        return page && page->IsConnected();
    };
    if (auto remembered = RememberedPageClass()) {
        const ModelRow* row = RowWithPageClass(*remembered);
        for (const ModelRow& r : Models())
            if (!row && ui::EqualsNoCase(r.suffix, *remembered)) row = &r;  // "Crane" by hand
        if (row && attached(*row)) return ShowPageAt(row->page);
    }
    // The combo lists the models in page order.
    for (const ModelRow& row : Models())
        if (attached(row)) return ShowPageAt(row.page);
    ShowPageAt(0);
}

void MainFrame::MarkDeviceStates() {
    auto* combo = Find<ui::Combo>("device_combo");
    if (!combo) return;
    for (const ModelRow& row : Models()) {
        ui::Control* entry = combo->GetItemAt(row.page);
        auto* page = dynamic_cast<DeviceTaskPage*>(pages_[static_cast<size_t>(row.page)]);
        if (!entry || !page || static_cast<size_t>(row.page) >= deviceEntryTexts_.size()) continue;
        entry->SetText((page->IsConnected() ? kDeviceAttachedMark : kDeviceAbsentMark) +
                       deviceEntryTexts_[static_cast<size_t>(row.page)]);
    }
    combo->Invalidate();
}

void MainFrame::Notify(ui::Notification& n) {
    ui::Control* sender = n.sender;
    if (n.type == "click" && sender) {
        if (sender->NameIs("closebtn"))
            Close(1);
        else if (sender->NameIs("minbtn"))
            SendMessage(ui::kWmSysCommand, ui::kScMinimize, 0);
        else if (ui::Option* option = LanguageOption(sender)) {
            SwitchLanguageByOption(*option);
            RememberLanguageFile(option->GetUserData());
        }
    } else if (n.type == "itemselect" && sender) {
        if (sender->NameIs("language_combo")) {
            SwitchLanguageByCombo();
        } else if (sender->NameIs("device_combo")) {
            ShowDevicePage();
            // Even while the start-up read runs: its end must not take the user elsewhere.
            userPickedPage_ = true;
            auto* combo = dynamic_cast<ui::Combo*>(sender);
            if (const ModelRow* row = combo ? RowAtPage(combo->GetCurSel()) : nullptr)
                RememberPageClass(row->pageClass);
        }
    } else if (n.type == "windowinit") {
        startReadRunning_ = true;
        StartDeviceTask(0, WorkerKind::ReadAll, static_cast<int32_t>(n.lParam));
    } else if (n.type == "Update_Profile") {
        // Only now do the pages know: a lost device reaches its page as a notification queued
        // before this one.
        MarkDeviceStates();
        if (std::exchange(startReadRunning_, false) && !userPickedPage_) ShowStartPage();
    } else if (!n.sender) {
        for (const ModelRow& row : Models())
            if (n.type == row.writeRequest) RequestWrite(row.page + 1, static_cast<int32_t>(n.lParam));
    }
}

intptr_t MainFrame::HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) {
    handled = false;
    auto notify = [this](const char* type) { GetManager().SendNotify(nullptr, type, 0, 0, true, true); };
    switch (message) {
        case ui::kWmNcLButtonDblClk:
            // The main window has one size; a double click on the caption must not maximise it.
            handled = true;
            return 0;
        case ui::kWmClose:
            // A device write is never cut in half: the window closes when the task has finished.
            if (IsDeviceTaskRunning()) {
                closeRequested_ = true;
                handled = true;
            }
            return 0;
        case ui::kWmDeviceChange:
            // Broadcasts during a task are dropped; the next one, or the next read, catches up.
            if (!IsDeviceTaskRunning()) StartDeviceTask(0, WorkerKind::Reconnect, 0);
            return 0;
        case 1002:
            OnDeviceTaskFinished(wParam, lParam);
            return 0;
        default:
            break;
    }
    if (const ModelRow* row = RowWithMessage(message))
        notify(message == row->readMessage ? row->readNotification : row->lostNotification);
    return 0;
}

void MainFrame::OnFinalMessage() {
    ui::Toolkit::PostQuitMessage(0);
}

}  // namespace app

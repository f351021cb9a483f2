#include "mouse/MousePageParts.h"

#include <algorithm>

#include "mouse/ProfileFiles.h"
#include "platform/Clock.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/core/Container.h"

namespace mouse {

int KeyButtonNumber(const PageNames& names, const ui::Control* sender, size_t keys) {
    if (!sender) return 0;
    for (int i = 1; i <= static_cast<int>(keys); ++i)
        if (sender->NameIs(names.KeyButton(i))) return i;
    return 0;
}

int KeyCount(ui::PaintManager& manager, const PageNames& names) {
    auto* keys = manager.Find<ui::Container>(names.KeyPage());
    return keys ? keys->GetCount() : 0;
}

bool IsSubPage(std::string_view className, const char* base, const char* suffix) {
    return base && ui::EqualsNoCase(className, std::string(base) + "_" + suffix);
}

int ShowSection(PageNavigation& nav, ui::PaintManager& manager, const PageNames& names,
                const ui::Control* sender, std::initializer_list<Section> sections) {
    if (!sender) return -1;
    int place = 0;
    for (const Section& s : sections) {
        if (s.page >= 0 && sender->NameIs(names(s.button))) {
            nav.Reset(manager);
            nav.Select(manager, s.button);
            nav.ShowPage(manager, s.page);
            return place;
        }
        ++place;
    }
    return -1;
}

int OperationOf(const ModelRow& row, WriteGroup group) {
    for (size_t op = 0; op < row.writes.size(); ++op) {
        if (row.writes[op] != group) continue;
        // A model whose reset buttons load their files with a load operation has another for files.
        const bool reset =
            std::any_of(row.resetButtons.begin(), row.resetButtons.end(),
                        [op](const ResetButton& b) { return b.operation == static_cast<int>(op); });
        if (!reset) return static_cast<int>(op);
    }
    return -1;
}

bool IsProfileFileOperation(const ModelRow& row, int operation) {
    const WriteGroup group = row.WriteOf(operation);
    return group == WriteGroup::RestoreDefaults || group == WriteGroup::SaveFile ||
           group == WriteGroup::LoadFile;
}

FileRequest HandleFileButton(ui::WindowImplBase& owner, const ModelRow& row, const PageNames& names,
                             const ui::Control* sender, std::string& filePath) {
    if (!sender) return {};
    for (const ResetButton& reset : row.resetButtons) {
        if (!sender->NameIs(reset.button)) continue;
        // Everything the user set on the mouse is replaced: only when they say so.
        if (!ProfileFiles::ConfirmRestore(&owner)) return {true, 0};
        filePath = ProfileFiles::DefaultFile(reset.defaultFile);
        return {true, reset.operation};
    }
    for (const bool save : {true, false}) {
        if (!sender->NameIs(names(save ? "save_data" : "import_data"))) continue;
        auto path = save ? ProfileFiles::AskSavePath(&owner, row.suffix) : ProfileFiles::AskOpenPath(&owner);
        filePath = path.value_or("");
        const int operation = OperationOf(row, save ? WriteGroup::SaveFile : WriteGroup::LoadFile);
        return {true, filePath.empty() || operation < 0 ? 0 : operation};
    }
    return {};
}

std::unique_ptr<PageWork> ProfileFileWork(const ModelRow& row, int operation, const std::string& path,
                                          ui::WindowImplBase& owner, ProfileFileSteps steps) {
    const ProfileImageSpec& files = row.profileImage;
    const WriteGroup group = row.WriteOf(operation);
    // Some models restore by loading the button's file with the plain load operation.
    const bool reset = group == WriteGroup::RestoreDefaults ||
                       std::any_of(row.resetButtons.begin(), row.resetButtons.end(),
                                   [operation](const ResetButton& b) { return b.operation == operation; });
    const bool save = group == WriteGroup::SaveFile;
    auto open = steps.open;
    ui::WindowImplBase* window = &owner;
    if (save && !files.loadsSavedFile) {
        auto result = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
        auto work = std::make_unique<FunctionWork>(
            [&files, path, open, result] {
                return (*result = ProfileFiles::Save(files, path, open)) == ProfileFileResult::Done;
            },
            nullptr);
        // The finish belongs to the work, so the work outlives every call of it.
        work->SetFinish([window, result, self = work.get()](bool) {
            self->SetFailureText(ProfileFiles::StatusFor(*result, true, false));
            ProfileFiles::Report(window, *result, true);
        });
        work->SetReport(WorkReport::Save);
        return work;
    }
    // A load, then the device is read again: the page shows what the device took. A model that
    // loads its saved file back does so only once the file holds the device's image: after a failed
    // save the path may still hold an older file.
    auto saved = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
    auto result = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
    auto readOk = std::make_shared<bool>(false);
    auto readBack = steps.readBack;
    auto work = std::make_unique<FunctionWork>(
        [&files, &row, save, path, open, saved, result, readOk, readBack] {
            if (save && (*saved = ProfileFiles::Save(files, path, open)) != ProfileFileResult::Done)
                return false;
            *result = ProfileFiles::Load(files, path, open);
            if (*result != ProfileFileResult::Done) return false;
            // The device may need a moment after taking a whole image before it answers a read.
            for (int attempt = 0; attempt < std::max(1, row.messages.loadReadTries); ++attempt) {
                if (attempt > 0) platform::CurrentClock().SleepMs(row.messages.loadRetryMs);
                if ((*readOk = readBack())) break;
            }
            return *readOk;
        },
        nullptr);
    work->SetFinish(
        [window, &row, save, saved, result, readOk, reset, adopted = steps.adopted, self = work.get()](bool) {
            if (*saved != ProfileFileResult::Done) {
                self->SetFailureText(ProfileFiles::StatusFor(*saved, true, false));
                ProfileFiles::Report(window, *saved, true);
                return;
            }
            if (*result == ProfileFileResult::Done && adopted) adopted(*readOk);
            // A file the device took but whose read-back failed still changed the device.
            self->SetFailureText(*result == ProfileFileResult::Done
                                     ? (*readOk ? "" : "%{683}")
                                     : ProfileFiles::StatusFor(*result, false, reset));
            // A missing default file makes a reset do nothing; the status line says why.
            if (reset && *result == ProfileFileResult::FileUnreadable) return;
            if (*result == ProfileFileResult::DeviceUnavailable && row.messages.loadUnavailable)
                ProfileFiles::Show(window, row.messages.loadUnavailable);
            else
                ProfileFiles::Report(window, *result, false);
        });
    work->SetReport(save ? WorkReport::Save : reset ? WorkReport::Reset : WorkReport::Load);
    return work;
}

}  // namespace mouse

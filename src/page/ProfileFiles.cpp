#include "page/ProfileFiles.h"

#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "ui/core/FileDialog.h"
#include "ui/core/MessageBoxHook.h"
#include "ui/text/TextTable.h"

namespace page {
namespace {

ProfileFiles::MessageShower& Shower() {
    static ProfileFiles::MessageShower shower;
    return shower;
}

ui::FileDialogRequest Request(bool save) {
    auto& texts = ui::TextTable::Instance();
    ui::FileDialogRequest request;
    request.save = save;
    request.title = texts.Resolve(save ? ProfileFiles::kSaveTitle : ProfileFiles::kLoadTitle);
    request.filterName = texts.Resolve(ProfileFiles::kFilterName);
    request.filterPattern = "*.bin";
    request.defaultExtension = save ? "bin" : "";
    request.overwritePrompt = save;
    request.mustExist = true;
    return request;
}

// The library's waits are counted in single milliseconds, as the device expects them.
void Wait(uint32_t ms) {
    auto& clock = platform::CurrentClock();
    for (uint32_t i = 0; i < ms; ++i) clock.SleepMs(1);
}

int32_t CallWithSize(EntryPoint entry, ProfileFileModel::SizeArgument sizeArgument, uint8_t* buffer,
                     size_t imageSize, size_t fileSize) {
    auto& binding = DeviceLibraryBinding::Instance();
    switch (sizeArgument) {
        case ProfileFileModel::SizeArgument::None:
            return binding.Call(entry, buffer);
        case ProfileFileModel::SizeArgument::ImageSize:
            return binding.Call(entry, buffer, static_cast<int32_t>(imageSize));
        case ProfileFileModel::SizeArgument::FileSize:
            return binding.Call(entry, buffer, static_cast<int32_t>(fileSize));
    }
    return DeviceLibraryBinding::kUnresolved;
}

}  // namespace

void ProfileFiles::SetMessageShower(MessageShower shower) {
    Shower() = std::move(shower);
}

std::optional<std::string> ProfileFiles::AskSavePath(ui::WindowImplBase* owner,
                                                     const std::string& modelName) {
    ui::FileDialogRequest request = Request(true);
    if (!modelName.empty()) request.initialName = modelName + "-profile.bin";
    auto path = ui::ShowFileDialog(owner, request);
    if (path && path->empty()) return std::nullopt;
    return path;
}

std::optional<std::string> ProfileFiles::AskOpenPath(ui::WindowImplBase* owner) {
    auto path = ui::ShowFileDialog(owner, Request(false));
    if (path && path->empty()) return std::nullopt;
    return path;
}

std::string ProfileFiles::DefaultFile(const char* fileName) {
    if (!fileName) return {};
    std::string folder = AppFolder().empty() ? platform::ProgramFolder() : AppFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + fileName;
}

ProfileFileResult ProfileFiles::Save(const ProfileFileModel& model, const std::string& path,
                                     const std::function<bool()>& open) {
    if (!open || !open()) return ProfileFileResult::DeviceUnavailable;
    std::vector<uint8_t> image(model.imageSize, 0);
    int32_t status = CallWithSize(model.save, model.saveSize, image.data(), image.size(), image.size());
    Wait(model.saveWaitMs);
    if (status != 0) return ProfileFileResult::DeviceRefused;
    // Written beside and renamed over: a failed save never destroys the previous file.
    return platform::WriteFileAtomic(path, image.data(), image.size()) ? ProfileFileResult::Done
                                                                       : ProfileFileResult::WriteFailed;
}

ProfileFileResult ProfileFiles::Load(const ProfileFileModel& model, const std::string& path,
                                     const std::function<bool()>& open) {
    auto bytes = platform::ReadFileBytes(path, model.imageSize + 1);
    if (!bytes) return ProfileFileResult::FileUnreadable;
    if (bytes->size() > model.imageSize) return ProfileFileResult::FileTooLong;
    const size_t fileSize = bytes->size();
    std::vector<uint8_t> image(model.imageSize, 0);
    std::copy(bytes->begin(), bytes->end(), image.begin());
    if (!open || !open()) return ProfileFileResult::DeviceUnavailable;
    int32_t status = CallWithSize(model.load, model.loadSize, image.data(), image.size(), fileSize);
    Wait(model.loadWaitMs);
    return status == 0 ? ProfileFileResult::Done : ProfileFileResult::DeviceRefused;
}

std::string ProfileFiles::MessageFor(ProfileFileResult result, bool saving) {
    switch (result) {
        case ProfileFileResult::Done:
        case ProfileFileResult::DeviceUnavailable:  // the page shows the device as gone already
            return {};
        case ProfileFileResult::DeviceRefused:
            return saving ? "%{350}" : "%{351}";
        case ProfileFileResult::FileUnreadable:
            return "%{352}";
        case ProfileFileResult::FileTooLong:
            return "%{353}";
        case ProfileFileResult::WriteFailed:
            return "%{354}";
    }
    return {};
}

std::string ProfileFiles::StatusFor(ProfileFileResult result, bool saving, bool resetting) {
    switch (result) {
        case ProfileFileResult::Done:
            return {};
        case ProfileFileResult::DeviceUnavailable:
            return saving ? "%{680}" : "%{679}";
        case ProfileFileResult::FileUnreadable:
            if (resetting) return "%{681}";
            break;
        default:
            break;
    }
    return MessageFor(result, saving);
}

bool ProfileFiles::ConfirmRestore(ui::WindowImplBase* owner) {
    return ui::ShowMessageBox(owner, ui::TextTable::Instance().Resolve("%{682}"));
}

void ProfileFiles::Report(ui::WindowImplBase* owner, ProfileFileResult result, bool saving) {
    Show(owner, MessageFor(result, saving));
}

void ProfileFiles::Show(ui::WindowImplBase* owner, const std::string& text) {
    if (text.empty()) return;
    std::string resolved = ui::TextTable::Instance().Resolve(text);
    if (Shower())
        Shower()(owner, resolved);
    else
        ui::ShowMessageBox(owner, resolved);
}

}  // namespace page

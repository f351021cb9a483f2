#include "app/RememberedChoices.h"

#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/Trace.h"
#include "ui/core/FileDialog.h"

namespace app {
namespace {

constexpr const char* kLanguage = "language";
constexpr const char* kPage = "page";
constexpr const char* kFolder = "file_folder";

std::optional<std::string> NonEmpty(const char* name) {
    auto value = platform::SettingsStore::Get(name);
    if (!value || value->empty()) return std::nullopt;
    return value;
}

// Forgetting a choice costs the user one click at the next start; it is never worth a message.
void Store(const char* name, const std::string& value) {
    if (!platform::SettingsStore::Set(name, value))
        platform::Trace("settings: cannot write " + platform::SettingsStore::FilePath());
}

}  // namespace

std::optional<std::string> RememberedLanguageFile() {
    return NonEmpty(kLanguage);
}

void RememberLanguageFile(const std::string& fileName) {
    if (RememberedLanguageFile() != fileName) Store(kLanguage, fileName);
}

std::optional<std::string> RememberedPageClass() {
    return NonEmpty(kPage);
}

void RememberPageClass(const std::string& pageClass) {
    if (RememberedPageClass() != pageClass) Store(kPage, pageClass);
}

std::string FileDialogStartFolder() {
    auto folder = NonEmpty(kFolder);
    if (folder && folder->front() == '/' && platform::FolderExists(*folder)) return *folder;
    return platform::UserDocumentsFolder();
}

void RememberFileDialogFolder(const std::string& folder) {
    if (folder.empty() || folder.front() != '/') return;
    if (NonEmpty(kFolder) != folder) Store(kFolder, folder);
}

void InstallFileDialogPlaces() {
    ui::SetFileDialogPlaces({FileDialogStartFolder, RememberFileDialogFolder});
}

}  // namespace app

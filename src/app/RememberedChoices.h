#pragma once
// What the program remembers between runs: the language the user picked, the device page the user
// showed last and the folder of the last file dialog. Values that no longer fit (a language file
// or page the skin lacks, a folder that is gone) are the caller's to ignore.
#include <optional>
#include <string>

namespace app {

std::optional<std::string> RememberedLanguageFile();
void RememberLanguageFile(const std::string& fileName);

// The page's class in the main skin ("MousePageCrane").
std::optional<std::string> RememberedPageClass();
void RememberPageClass(const std::string& pageClass);

// The remembered folder if it still exists, else the user's documents folder.
std::string FileDialogStartFolder();
void RememberFileDialogFolder(const std::string& folder);

// Makes every file dialog open in FileDialogStartFolder() and remember where the user went.
void InstallFileDialogPlaces();

}  // namespace app

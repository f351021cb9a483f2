#pragma once
// Pieces both mouse page designs (family E and family H) are built from: key button look-ups, the
// section buttons of the navigation, the profile file buttons and the profile file work.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "mouse/PageNames.h"
#include "mouse/PageNavigation.h"
#include "records/KeySlot.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Window.h"

namespace mouse {

// The number n of the key button "…_key_<suffix>_n" that `sender` is, 1 to `keys`; 0 for none.
int KeyButtonNumber(const PageNames& names, const ui::Control* sender, size_t keys);
// The child count of the key buttons' container: the number of assignable keys.
int KeyCount(ui::PaintManager& manager, const PageNames& names);
// Whether `className` names the sub-page class "<base>_<suffix>".
bool IsSubPage(std::string_view className, const char* base, const char* suffix);

// Key `number` (one-based) of the current profile's list, or null.
template <class Record>
KeySlot* CurrentKey(Record& c, int number) {
    return KeyAt(c.keyLists, c.currentProfile, number - 1);
}

// A section button of the navigation and the page of "Setting_switch_<suffix>" it shows.
struct Section {
    const char* button;
    int page;
};
// When `sender` is one of `sections`: marks it, shows its page and returns its place in the list;
// -1 otherwise. A section whose page is negative has no button.
int ShowSection(PageNavigation& nav, ui::PaintManager& manager, const PageNames& names,
                const ui::Control* sender, std::initializer_list<Section> sections);

// A click on the profile file buttons: the model's reset buttons (after the user agreed), save and
// load (after a path was chosen). `operation` is what to request, with `filePath` set; 0 asks for
// nothing (the user declined). False for other senders.
struct FileRequest {
    bool handled = false;
    int operation = 0;
};
FileRequest HandleFileButton(ui::WindowImplBase& owner, const ModelRow& row, const PageNames& names,
                             const ui::Control* sender, std::string& filePath);
// The row's first operation of `group` that no reset button uses, or -1.
int OperationOf(const ModelRow& row, WriteGroup group);
// Whether the row's `operation` is a profile file operation.
bool IsProfileFileOperation(const ModelRow& row, int operation);

// What a profile file work needs of its page.
struct ProfileFileSteps {
    std::function<bool()> open;                // worker: the device open
    std::function<bool()> readBack;            // worker: read the device into the work's own record
    std::function<void(bool readOk)> adopted;  // UI thread: a load the device took was read back
};
// The work of the profile file `operation` of `row` on `path`: a save, a load followed by a read
// (a restore loads its button's default file), or a save whose file the row loads back. The status
// line and the message box say what failed.
std::unique_ptr<PageWork> ProfileFileWork(const ModelRow& row, int operation, const std::string& path,
                                          ui::WindowImplBase& owner, ProfileFileSteps steps);

}  // namespace mouse

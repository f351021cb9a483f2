#pragma once
// What makes the six device models differ, one row per model, the program's counterpart of the
// simulated libraries' model table. The main window, the device tasks, the binding, the pages and
// the tests read it; nothing else asks which model it is.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/EntryPoint.h"
#include "records/DeviceModel.h"

// The page family: the keyboard; H (three-byte codes, a library-held image written on request);
// E (four-byte codes, every edit written at once).
enum class ModelFamily : uint8_t { Keyboard, H, E };

// What the device open takes after the vendor and product id.
enum class OpenArguments : uint8_t { None, Flag, DriverBlock };
// What the image read after the open takes.
enum class ImageRead : uint8_t { None, Plain, WithKind };

// What a page operation (the lParam of the model's write request) writes.
enum class WriteGroup : uint8_t {
    None,
    All,  // everything the page holds (the keyboard's write)
    ProfileIndex,
    Stages,
    Key,
    RapidFire,
    ReportRate,
    Lighting,
    RestoreDefaults,
    SaveFile,
    LoadFile,
    UartLed,
    KeySwitchModes,  // the combo-key blocks
    RandomTime,      // the macro random time
    LibraryImage,    // the library's image of the mouse, to the mouse (family H)
    FireData,        // the fire-macro slots of the library's image, to the mouse (the Heron)
};
inline constexpr size_t kOperationCount = 16;
using WriteTable = std::array<WriteGroup, kOperationCount>;

struct DeviceIdSource {
    const char* vidLabel;  // hidden label of the main skin; null: the constants below
    const char* pidLabel;
    uint16_t vid;
    uint16_t pid;
};

// A device kind (variant) of the model; kind 0 is the first entry, any other kind the second.
struct ModelVariant {
    int profiles;
    int fireMacros;
    int lightingPage;  // the "Setting_switch_<suffix>" page of the lighting button
    bool uartLeds;     // the lighting button refreshes the UART LED editor
};

// Pages of "Setting_switch_<suffix>" (the lighting page is per variant).
struct PageLayout {
    int keys;
    int macros;
    int advanced;
    int fireKeys;
};

// Custom classes of the page skin that become the model's sub-pages; null: none.
struct SubPages {
    const char* fileMacros;
    const char* folderMacros;
    const char* fireKeys;
    const char* uartLeds;
};

struct ResetButton {
    const char* button;       // control name
    const char* defaultFile;  // in the program folder
    int operation;
};

// The device's configuration memory as profile files save and load it; imageSize 0: none.
struct ProfileImageSpec {
    enum class SizeArgument { None, ImageSize, FileSize };

    size_t imageSize;
    EntryPoint save;  // fills the buffer with the device's image
    SizeArgument saveSize;
    EntryPoint load;  // writes the buffer into the device
    SizeArgument loadSize;
    uint32_t saveWaitMs;          // after the save call
    uint32_t loadWaitMs;          // after the load call
    bool loadsSavedFile = false;  // a save loads its file back into the device, which is then read
};

struct ModelMessages {
    const char* loadUnavailable;  // a profile load that cannot open the device; null: no word
    int loadReadTries;            // read-backs after a profile load before it gives up
    uint32_t loadRetryMs;         // between them
};

inline constexpr EntryPoint kNoEntryPoint = EntryPoint::kCount;

struct ModelRow {
    DeviceModel model;
    ModelFamily family;
    int page;            // "tab_switch" page and "device_combo" position; task order
    const char* suffix;  // of control names: "Egret", "Heron_Driver"
    // Names the key buttons "<keyGroup>_key_<suffix>_<n>" inside "<keyGroup>_page_<suffix>".
    const char* keyGroup = "profile";
    const char* pageClass;    // custom class of the main skin
    const char* pageSkin;     // "XML/MousePage_Egret.xml"
    const char* libraryFile;  // in the program folder
    uint32_t readMessage;     // from the workers: the device was read
    uint32_t lostMessage;     // from the workers: the device no longer opens
    const char* readNotification;
    const char* lostNotification;
    const char* writeRequest;
    const char* stageColourChanged;  // null: no editor follows the stage colours
    DeviceIdSource ids;
    EntryPoint open;
    OpenArguments openArguments;
    EntryPoint readImage;
    ImageRead imageRead;
    EntryPoint setCallback;  // the library's change reports; kNoEntryPoint: none
    std::array<ModelVariant, 2> variants;
    PageLayout layout;
    SubPages subPages;
    const char* keyEditor;  // its skin file; null: the page has none yet
    std::span<const ResetButton> resetButtons;
    ProfileImageSpec profileImage;
    WriteTable writes;
    ModelMessages messages;
    uint32_t settleMs;           // a reconnect waits this long before reading a device that just appeared
    bool refreshAppliesPointer;  // a refresh sets the pointer boxes as if the user did, applying them

    const ModelVariant& Variant(int deviceKind) const { return variants[deviceKind == 0 ? 0 : 1]; }
    WriteGroup WriteOf(int operation) const {
        return operation >= 0 && static_cast<size_t>(operation) < writes.size() ? writes[operation]
                                                                                : WriteGroup::None;
    }
};

// Every model, in page order, which is also the order the binding loads the libraries in.
std::span<const ModelRow> Models();
const ModelRow& RowOf(DeviceModel model);
// The model at `page` of the main window ("tab_switch"), or null.
const ModelRow* RowAtPage(int page);
// The model whose page the main skin names by `className` (compared without case), or null.
const ModelRow* RowWithPageClass(std::string_view className);
// The model whose worker message `message` is (read or lost), or null.
const ModelRow* RowWithMessage(uint32_t message);

// "Lumenor_Egret.so" and so on.
inline const char* LibraryFileName(DeviceModel model) {
    return RowOf(model).libraryFile;
}

// The models in load order.
struct LibraryOrder {
    struct Iterator {
        const ModelRow* row;
        DeviceModel operator*() const { return row->model; }
        Iterator& operator++() {
            ++row;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return row != other.row; }
    };
    Iterator begin() const { return {Models().data()}; }
    Iterator end() const { return {Models().data() + Models().size()}; }
};
inline constexpr LibraryOrder kLibraryLoadOrder{};

#include "device/ModelTable.h"

#include <cctype>

#include "device/DeviceIds.h"

namespace {

using W = WriteGroup;
using Size = ProfileImageSpec::SizeArgument;

// Operations 1 to 12 of the family-E pages; the Crane adds its own.
constexpr WriteTable kFamilyEWrites{
    W::None,       W::ProfileIndex, W::Stages,          W::Key,      W::RapidFire, W::RapidFire, W::RapidFire,
    W::ReportRate, W::Lighting,     W::RestoreDefaults, W::SaveFile, W::LoadFile,  W::UartLed};
// The Ibis has no UART LEDs; its reset buttons load the file they name (operation 9).
constexpr WriteTable kIbisWrites{W::None,      W::ProfileIndex, W::Stages,    W::Key,
                                 W::RapidFire, W::RapidFire,    W::RapidFire, W::ReportRate,
                                 W::Lighting,  W::LoadFile,     W::SaveFile,  W::LoadFile};
// The Crane restores three default files (9, 14, 15) and writes its key switch modes and random time.
constexpr WriteTable kCraneWrites{
    W::None,           W::ProfileIndex,    W::Stages,          W::Key,
    W::RapidFire,      W::RapidFire,       W::RapidFire,       W::ReportRate,
    W::Lighting,       W::RestoreDefaults, W::SaveFile,        W::LoadFile,
    W::KeySwitchModes, W::RandomTime,      W::RestoreDefaults, W::RestoreDefaults};
// The keyboard writes everything it holds, or moves its whole memory image.
constexpr WriteTable kKeyboardWrites{W::All, W::SaveFile, W::LoadFile, W::RestoreDefaults};
// The Heron writes the library's image of the mouse on request, moves whole images from and to
// files, and sends its fire-macro slots at once.
constexpr WriteTable kHeronWrites{W::LibraryImage, W::RestoreDefaults, W::SaveFile, W::LoadFile, W::FireData};
// The Heron driver likewise, with no fire macros; its image goes with the driver block.
constexpr WriteTable kHeronDriverWrites{W::LibraryImage, W::RestoreDefaults, W::SaveFile, W::LoadFile};

constexpr ResetButton kKeyboardResets[] = {{"reset_data_Plover", "DefaultData_1.bin", 3}};
constexpr ResetButton kEgretResets[] = {{"reset_data_Egret", "EgretBData_Cfg1.bin", 9}};
constexpr ResetButton kIbisResets[] = {{"reset_data1_Ibis", "IbisBData_Cfg1.bin", 9},
                                       {"reset_data2_Ibis", "IbisBData_Cfg2.bin", 9},
                                       {"reset_data3_Ibis", "IbisBData_Cfg3.bin", 9}};
constexpr ResetButton kCraneResets[] = {{"reset_data_Crane_1", "CraneAData_Cfg1.bin", 9},
                                        {"reset_data_Crane_2", "CraneAData_Cfg2.bin", 14},
                                        {"reset_data_Crane_3", "CraneAData_Cfg3.bin", 15}};
constexpr ResetButton kHeronResets[] = {{"reset_data_Heron", "HeronData_Cfg1.bin", 1}};
constexpr ResetButton kHeronDriverResets[] = {{"reset_data_Heron_Driver", "Driver_HeronData_Cfg1.bin", 1}};

constexpr ProfileImageSpec kNoImage{0, kNoEntryPoint, Size::None, kNoEntryPoint, Size::None, 0, 0};
constexpr PageLayout kFamilyELayout{0, 1, 2, 5};
constexpr PageLayout kFiveTabLayout{0, 1, 2, 4};
constexpr SubPages kNoSubPages{nullptr, nullptr, nullptr, nullptr};
constexpr ModelMessages kQuietMessages{nullptr, 1, 0};

const ModelRow kRows[] = {
    {.model = DeviceModel::Plover,
     .family = ModelFamily::Keyboard,
     .page = 0,
     .suffix = "Plover",
     .pageClass = "KeyboardPage",
     .pageSkin = "XML/KeyboardPage.xml",
     .libraryFile = "Lumenor_Plover.so",
     .readMessage = 1003,
     .lostMessage = 2000,
     .readNotification = "READ_PloverDATA",
     .lostNotification = "Plover_Connet_Error",
     .writeRequest = "WRITE_PloverDATA",
     .stageColourChanged = nullptr,
     .ids = {nullptr, nullptr, kLumenorVid, kPloverPid},
     .open = EntryPoint::InitMCUDevice,
     .openArguments = OpenArguments::None,
     .readImage = kNoEntryPoint,
     .imageRead = ImageRead::None,
     .setCallback = kNoEntryPoint,
     .variants = {{{1, 0, 0, false}, {1, 0, 0, false}}},
     .layout = {0, 0, 0, 0},
     .subPages = kNoSubPages,
     .keyEditor = "XML/KeyEdit.xml",
     .resetButtons = kKeyboardResets,
     .profileImage = {2048, EntryPoint::Device_ReadEEPromData, Size::None, EntryPoint::Device_WriteEEpromData,
                      Size::None, 100, 100},
     .writes = kKeyboardWrites,
     .messages = {"%{081}", 1, 0},
     .settleMs = 0,
     .refreshAppliesPointer = false},
    {.model = DeviceModel::Heron,
     .family = ModelFamily::H,
     .page = 1,
     .suffix = "Heron",
     .pageClass = "MousePageHeron",
     .pageSkin = "XML/MousePage_Heron.xml",
     .libraryFile = "Lumenor_Heron.so",
     .readMessage = 1004,
     .lostMessage = 2001,
     .readNotification = "READ_HeronDATA",
     .lostNotification = "Heron_Connet_Error",
     .writeRequest = "WRITE_HeronDATA",
     .stageColourChanged = nullptr,
     .ids = {nullptr, nullptr, kLumenorVid, kHeronPid},
     .open = EntryPoint::InitMCUDevice_Heron,
     .openArguments = OpenArguments::None,
     .readImage = EntryPoint::ReadMCUDevice_Heron,
     .imageRead = ImageRead::Plain,
     .setCallback = kNoEntryPoint,
     .variants = {{{2, 0, 3, false}, {2, 0, 3, false}}},
     .layout = kFiveTabLayout,
     .subPages = {"MacroSettingFilePage", "MacroSettingFolderPage", "FireMacroSettingPage", nullptr},
     .keyEditor = "XML/KeyEdit_Heron.xml",
     .resetButtons = kHeronResets,
     .profileImage = {2048, EntryPoint::Device_Get_Device_Data_Heron, Size::ImageSize,
                      EntryPoint::Device_Set_Device_Data_Heron, Size::ImageSize, 100, 100, true},
     .writes = kHeronWrites,
     .messages = kQuietMessages,
     .settleMs = 0,
     .refreshAppliesPointer = true},
    {.model = DeviceModel::HeronDriver,
     .family = ModelFamily::H,
     .page = 2,
     .suffix = "Heron_Driver",
     .pageClass = "MousePageHeronDriver",
     .pageSkin = "XML/MousePage_Heron_Driver.xml",
     .libraryFile = "Lumenor_Heron_Driver.so",
     .readMessage = 1008,
     .lostMessage = 2005,
     .readNotification = "READ_Heron_DRIVER_DATA",
     .lostNotification = "Heron_DRIVER_Connet_Error",
     .writeRequest = "WRITE_Heron_DRIVER_DATA",
     .stageColourChanged = nullptr,
     .ids = {nullptr, nullptr, kLumenorVid, kHeronPid},
     .open = EntryPoint::InitMCUDevice_Heron_Driver,
     .openArguments = OpenArguments::DriverBlock,
     .readImage = EntryPoint::ReadMCUDevice_Heron_Driver,
     .imageRead = ImageRead::Plain,
     .setCallback = kNoEntryPoint,
     .variants = {{{2, 0, 3, false}, {2, 0, 3, false}}},
     .layout = {0, 1, 2, -1},
     .subPages = {"MacroSettingFilePage", "MacroSettingFolderPage", nullptr, nullptr},
     .keyEditor = "XML/KeyEdit_Heron_Driver.xml",
     .resetButtons = kHeronDriverResets,
     .profileImage = {40960, EntryPoint::Device_Get_Device_Data_Heron_Driver, Size::ImageSize,
                      EntryPoint::Device_Set_Device_Data_Heron_Driver, Size::FileSize, 100, 100, true},
     .writes = kHeronDriverWrites,
     .messages = kQuietMessages,
     // The driver needs a moment after the device appears before it answers a read.
     .settleMs = 200,
     .refreshAppliesPointer = false},
    {.model = DeviceModel::Egret,
     .family = ModelFamily::E,
     .page = 3,
     .suffix = "Egret",
     .pageClass = "MousePageEgret",
     .pageSkin = "XML/MousePage_Egret.xml",
     .libraryFile = "Lumenor_Egret.so",
     .readMessage = 1005,
     .lostMessage = 2002,
     .readNotification = "READ_EgretDATA",
     .lostNotification = "Egret_Connet_Error",
     .writeRequest = "WRITE_EgretDATA",
     .stageColourChanged = "Change_DPIColor_Egret_Data",
     .ids = {"vid_Egret", "pid_Egret", kLumenorVid, kEgretPid},
     .open = EntryPoint::InitMCUDevice_Egret,
     .openArguments = OpenArguments::Flag,
     .readImage = EntryPoint::ReadDeviceData_Egret,
     .imageRead = ImageRead::WithKind,
     .setCallback = EntryPoint::Device_SetCallBack_Egret,
     .variants = {{{3, 10, 4, false}, {2, 7, 3, true}}},
     .layout = kFamilyELayout,
     .subPages = {"MacroSettingFilePage", "MacroSettingFolderPage", "FireMacroSettingPage",
                  "UartLedSettingPage"},
     .keyEditor = "XML/KeyEdit_Egret.xml",
     .resetButtons = kEgretResets,
     .profileImage = {2048, EntryPoint::EEPROM_Save_Configuration_Egret, Size::None,
                      EntryPoint::EEPROM_Write_Configuration_Egret, Size::None, 100, 500},
     .writes = kFamilyEWrites,
     .messages = kQuietMessages,
     .settleMs = 0,
     .refreshAppliesPointer = false},
    {.model = DeviceModel::Ibis,
     .family = ModelFamily::E,
     .page = 4,
     .suffix = "Ibis",
     .pageClass = "MousePageIbis",
     .pageSkin = "XML/MousePage_Ibis.xml",
     .libraryFile = "Lumenor_Ibis.so",
     .readMessage = 1006,
     .lostMessage = 2003,
     .readNotification = "READ_IbisDATA",
     .lostNotification = "Ibis_Connet_Error",
     .writeRequest = "WRITE_IbisDATA",
     .stageColourChanged = nullptr,
     .ids = {"vid_Ibis", "pid_Ibis", kLumenorVid, kIbisPid},
     .open = EntryPoint::InitMCUDevice_Ibis,
     .openArguments = OpenArguments::Flag,
     .readImage = EntryPoint::ReadDeviceData_Ibis,
     .imageRead = ImageRead::Plain,
     .setCallback = EntryPoint::Device_SetCallBack_Ibis,
     .variants = {{{3, 10, 3, false}, {3, 10, 3, false}}},
     .layout = kFiveTabLayout,
     .subPages = {"MacroSettingFilePage", "MacroSettingFolderPage", "FireMacroSettingPage", nullptr},
     .keyEditor = "XML/KeyEdit_Ibis.xml",
     .resetButtons = kIbisResets,
     .profileImage = {2048, EntryPoint::EEPROM_Save_Configuration_Ibis, Size::None,
                      EntryPoint::EEPROM_Write_Configuration_Ibis, Size::None, 100, 500},
     .writes = kIbisWrites,
     .messages = {"%{081}", 5, 100},
     .settleMs = 0,
     .refreshAppliesPointer = true},
    {.model = DeviceModel::Crane,
     .family = ModelFamily::E,
     .page = 5,
     .suffix = "Crane",
     .keyGroup = "profile1",
     .pageClass = "MousePageCrane",
     .pageSkin = "XML/MousePage_Crane.xml",
     .libraryFile = "Lumenor_Crane.so",
     .readMessage = 1007,
     .lostMessage = 2004,
     .readNotification = "READ_CraneDATA",
     .lostNotification = "Crane_Connet_Error",
     .writeRequest = "WRITE_CraneDATA",
     .stageColourChanged = nullptr,
     .ids = {"vid_Crane", "pid_Crane", kLumenorVid, kCranePid},
     .open = EntryPoint::InitMCUDevice_Crane,
     .openArguments = OpenArguments::Flag,
     .readImage = EntryPoint::ReadDeviceData_Crane,
     .imageRead = ImageRead::Plain,
     .setCallback = EntryPoint::Device_SetCallBack_Crane,
     .variants = {{{2, 7, 3, false}, {2, 7, 3, false}}},
     .layout = kFiveTabLayout,
     .subPages = {"MacroSettingFilePage", "MacroSettingFolderPage", "FireMacroSettingPage", nullptr},
     .keyEditor = "XML/KeyEdit_Crane.xml",
     .resetButtons = kCraneResets,
     .profileImage = {2048, EntryPoint::Devcie_Get_Device_Data_Crane, Size::ImageSize,
                      EntryPoint::EEPROM_Write_Configuration_Crane, Size::None, 100, 500},
     .writes = kCraneWrites,
     .messages = {"%{081}", 1, 0},
     .settleMs = 0,
     .refreshAppliesPointer = true},
};
static_assert(std::size(kRows) == kDeviceModelCount);

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::span<const ModelRow> Models() {
    return kRows;
}

const ModelRow& RowOf(DeviceModel model) {
    for (const auto& row : kRows)
        if (row.model == model) return row;
    return kRows[0];  // every enumerator has a row (checked by the tests)
}

const ModelRow* RowAtPage(int page) {
    for (const auto& row : kRows)
        if (row.page == page) return &row;
    return nullptr;
}

const ModelRow* RowWithPageClass(std::string_view className) {
    for (const auto& row : kRows)
        if (EqualsNoCase(className, row.pageClass)) return &row;
    return nullptr;
}

const ModelRow* RowWithMessage(uint32_t message) {
    for (const auto& row : kRows)
        if (row.readMessage == message || row.lostMessage == message) return &row;
    return nullptr;
}

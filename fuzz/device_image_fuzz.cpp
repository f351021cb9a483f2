// Fuzz target for the configuration images the simulated devices take from profile files. The input
// is an image; its first four bytes are replaced by each model's signature in turn (the lowest bit
// of the first byte also picks the Egret variant) and it is loaded into every library, which starts
// from its factory state. A refused image must leave the device as it was; an accepted one must come
// back unchanged, every read must stay inside its buffers, and whatever was read must be writable
// again (an image cannot hold what the setters refuse).
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"

namespace {

using B = DeviceLibraryBinding;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct Library {
    DeviceModel model;
    int32_t (*reset)() = nullptr;
    int32_t (*setVariant)(int32_t) = nullptr;
};

std::vector<Library>& Libraries() {
    static std::vector<Library> libraries = [] {
        std::vector<Library> list;
        for (DeviceModel model : kLibraryLoadOrder) {
            void* handle = dlopen((std::string(OAK_DEVICE_LIBRARY_DIR "/") + LibraryFileName(model)).c_str(),
                                  RTLD_NOW | RTLD_LOCAL);
            Check(handle != nullptr);
            Library library{model};
            library.reset = reinterpret_cast<int32_t (*)()>(dlsym(handle, "OakSim_Reset"));
            library.setVariant = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "OakSim_SetVariant"));
            Check(library.reset != nullptr);
            list.push_back(library);
        }
        return list;
    }();
    return libraries;
}

// A private device folder, on tmpfs when there is one: every device change is a file write.
void UsePrivateDeviceFolder() {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "oakridge-image-fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    setenv("OAKRIDGE_DEVICE_DIR", pattern.c_str(), 1);
    static const std::string folder = pattern;
    atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

B& Binding() {
    static B& binding = []() -> B& {
        UsePrivateDeviceFolder();
        B::SetLibraryFolder(OAK_DEVICE_LIBRARY_DIR);
        return B::Instance();
    }();
    return binding;
}

struct ImageCalls {
    uint8_t code;  // third signature byte
    size_t size;
    EntryPoint save, load;
    bool saveSized, loadSized;  // the entry point takes the buffer size after the buffer
};

ImageCalls CallsOf(DeviceModel model) {
    using E = EntryPoint;
    switch (model) {
        case DeviceModel::Plover:
            return {'P', 2048, E::Device_ReadEEPromData, E::Device_WriteEEpromData, false, false};
        case DeviceModel::Heron:
            return {'H', 2048, E::Device_Get_Device_Data_Heron, E::Device_Set_Device_Data_Heron, true, true};
        case DeviceModel::HeronDriver:
            return {
                'D',  40960, E::Device_Get_Device_Data_Heron_Driver, E::Device_Set_Device_Data_Heron_Driver,
                true, true};
        case DeviceModel::Egret:
            return {'E',   2048, E::EEPROM_Save_Configuration_Egret, E::EEPROM_Write_Configuration_Egret,
                    false, false};
        case DeviceModel::Ibis:
            return {'I',   2048, E::EEPROM_Save_Configuration_Ibis, E::EEPROM_Write_Configuration_Ibis,
                    false, false};
        case DeviceModel::Crane:
            return {'C',  2048, E::Devcie_Get_Device_Data_Crane, E::EEPROM_Write_Configuration_Crane,
                    true, false};
    }
    return {};
}

bool Open(DeviceModel model) {
    B& b = Binding();
    switch (model) {
        case DeviceModel::Plover:
            return b.Call(EntryPoint::InitMCUDevice, int32_t{kLumenorVid}, int32_t{kPloverPid}) == 0;
        case DeviceModel::Heron:
            return b.Call(EntryPoint::InitMCUDevice_Heron, int32_t{kLumenorVid}, int32_t{kHeronPid}) == 0;
        case DeviceModel::HeronDriver:
            return b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronPid},
                          int32_t{1}, int32_t{2}, int32_t{255}, int32_t{4}) == 0;
        case DeviceModel::Egret:
            return b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid},
                          int32_t{1}) == 0;
        case DeviceModel::Ibis:
            return b.Call(EntryPoint::InitMCUDevice_Ibis, int32_t{kLumenorVid}, int32_t{kIbisPid},
                          int32_t{1}) == 0;
        case DeviceModel::Crane:
            return b.Call(EntryPoint::InitMCUDevice_Crane, int32_t{kLumenorVid}, int32_t{kCranePid},
                          int32_t{1}) == 0;
    }
    return false;
}

std::vector<uint8_t> Save(const ImageCalls& calls) {
    std::vector<uint8_t> image(calls.size);
    const int32_t status = calls.saveSized
                               ? Binding().Call(calls.save, image.data(), static_cast<int32_t>(image.size()))
                               : Binding().Call(calls.save, image.data());
    Check(status == 0);
    return image;
}

constexpr int kKeysWrittenBack[] = {0, 7, 15};  // every key would make each run a hundred file writes

template <class C>
void ReadBackFamilyE(C& c, int profiles, int fireMacros) {
    B& b = Binding();
    Check(b.ReadProfileIndex(c) && b.ReadReportRate(c) && b.ReadStages(c) && b.ReadFireSlots(c));
    Check(c.stages.size() == FamilyEConfig::kStageSlots);
    Check(c.currentProfile >= 0 && c.currentProfile < profiles);
    Check(c.stageCount >= 1 && c.stageCount <= FamilyEConfig::kStageSlots);
    Check(c.currentStage >= 1 && c.currentStage <= c.stageCount);
    for (int p = 0; p < profiles; ++p) Check(b.ReadMacroKeys(c, p, 16));
    c.fireMacros.clear();
    for (int i = 0; i < fireMacros; ++i) Check(b.ReadFireMacro(c, i));
    Check(!b.ReadFireMacro(c, fireMacros));
    Check(b.ReadMacros(c));
    for (const auto& macro : c.macros) Check(!macro->data.empty() && macro->data.size() <= 224);

    // What was read goes back as it came.
    Check(b.WriteProfileIndex(c) && b.WriteReportRate(c) && b.WriteStages(c) && b.WriteLighting(c));
    for (int slot = 0; slot < 3; ++slot) Check(b.WriteFireSlot(c, slot));
    for (int i = 0; i < fireMacros; ++i) Check(b.WriteFireMacro(c, i));
    for (int p = 0; p < profiles; ++p)
        for (int k : kKeysWrittenBack) Check(b.WriteMacroKey(c, p, k));
}

template <class C>
void ReadBackFamilyH(C& c) {
    B& b = Binding();
    Check(b.ReadProfileIndex(c) && b.ReadStages(c) && b.ReadFire(c));
    Check(c.stages.size() == FamilyHConfig::kStageSlots);
    Check(c.stageCount >= 1 && c.stageCount <= FamilyHConfig::kStageSlots);
    Check(c.currentStage >= 0 && c.currentStage < c.stageCount);
    Check(b.ReadKeys(c, 0, 16) && b.ReadKeys(c, 1, 16));
    Check(b.WriteProfileIndex(c) && b.WriteStages(c) && b.WriteFire(c) && b.WriteKeys(c, 16));
}

// A few macro ids: the first address, and addresses the image itself suggests.
void ReadHeronMacros(DeviceModel model, const std::vector<uint8_t>& image, int32_t bias, int32_t end) {
    B& b = Binding();
    b.MacroCache(model)->Clear();
    for (size_t at : {size_t{0}, size_t{14}, size_t{40}, size_t{300}}) {
        const int32_t offset = at + 1 < image.size() ? (image[at] << 8 | image[at + 1]) : 0;
        const int32_t id = 256 + offset % (end - 256) + bias;
        if (b.ReadMacroBuffer(model, id)) {
            const auto entry = b.MacroCache(model)->Find(id);
            Check(entry && entry->data.size() <= (model == DeviceModel::Heron ? 256u : 2016u));
        }
    }
}

void ReadBack(DeviceModel model, const std::vector<uint8_t>& image, int32_t egretVariant) {
    B& b = Binding();
    switch (model) {
        case DeviceModel::Egret: {
            EgretConfig c;
            Check(b.Call(EntryPoint::ReadDeviceData_Egret, &c.deviceKind) == 0 &&
                  c.deviceKind == egretVariant);
            Check(b.ReadLighting(c));
            ReadBackFamilyE(c, egretVariant ? 2 : 3, egretVariant ? 7 : 10);
            if (egretVariant) {
                Check(c.uartLeds.size() == EgretConfig::kUartLedCount);
                for (int i = 0; i < EgretConfig::kUartLedCount; ++i) Check(b.WriteUartLed(c, i));
                Check(b.Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, c.ledEffectBlock.data()) == 0);
                Check(b.Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret, c.ledEffectBlock.data()) == 0);
            }
            break;
        }
        case DeviceModel::Ibis: {
            IbisConfig c;
            Check(b.Call(EntryPoint::ReadDeviceData_Ibis) == 0 && b.ReadLighting(c));
            ReadBackFamilyE(c, 3, 10);
            break;
        }
        case DeviceModel::Crane: {
            CraneConfig c;
            Check(b.Call(EntryPoint::ReadDeviceData_Crane) == 0 && b.ReadLighting(c) && b.ReadComboKeys(c));
            ReadBackFamilyE(c, 2, 7);
            Check(b.WriteComboKeys(c));
            break;
        }
        case DeviceModel::Heron: {
            HeronConfig c;
            Check(b.Call(EntryPoint::ReadMCUDevice_Heron) == 0);
            Check(b.ReadLightState(c) && b.ReadPressTypes(c));
            ReadBackFamilyH(c);
            for (int slot = 0; slot < 10; ++slot) Check(b.ReadFireMacro(c, slot));
            for (int slot = 0; slot < 10; ++slot) Check(b.WriteFireBuffer(c, slot));
            Check(b.WriteLightState(c) && b.WritePressTypes(c));
            ReadHeronMacros(model, image, 33, 1536);
            Check(b.WriteDevice(model));
            break;
        }
        case DeviceModel::HeronDriver: {
            HeronDriverConfig c;
            Check(b.Call(EntryPoint::ReadMCUDevice_Heron_Driver) == 0);
            ReadBackFamilyH(c);
            Check(b.WriteLedStages(c));
            ReadHeronMacros(model, image, 32, 40704);
            Check(b.WriteDevice(model));
            break;
        }
        case DeviceModel::Plover: {
            KeyboardConfig c;
            for (int block = 0; block < 2; ++block)
                Check(b.ReadLedBlock(c, block) && b.WriteLedBlock(c, block));
            for (int profile = 0; profile < 2; ++profile) {
                B::KeyTable table{};
                Check(b.ReadKeyTable(profile, table) && b.WriteKeyTable(profile, table));
            }
            for (int32_t slot = 0; slot < 6; ++slot) {
                uint8_t name[32], events[144];
                b.Call(EntryPoint::Device_GetMarcoData, slot, name, events);
            }
            Check(b.Call(EntryPoint::Device_ReloadDevice) == 0);
            break;
        }
    }
}

}  // namespace

// Loads the libraries before fuzzing starts, so their coverage counters are known from the first run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Binding();
    Libraries();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    B& b = Binding();
    const int32_t egretVariant = size > 0 ? data[0] & 1 : 0;
    for (const Library& library : Libraries()) {
        const ImageCalls calls = CallsOf(library.model);
        Check(library.reset() == 0);
        if (library.model == DeviceModel::Egret) Check(library.setVariant(egretVariant) == 0);
        Check(Open(library.model));
        const std::vector<uint8_t> factory = Save(calls);

        // The image as the page hands it over: the file's bytes, then zeros up to the buffer's size.
        const size_t used = std::min(std::max(size, size_t{4}), calls.size);
        std::vector<uint8_t> image(calls.size, 0);
        std::copy_n(data, std::min(size, used), image.begin());
        image[0] = 'L', image[1] = 'M', image[2] = calls.code, image[3] = 1;
        const int32_t status = calls.loadSized ? b.Call(calls.load, image.data(), static_cast<int32_t>(used))
                                               : b.Call(calls.load, image.data());
        if (status != 0) {
            Check(Save(calls) == factory);
            continue;
        }
        Check(Save(calls) == image);
        ReadBack(library.model, image, egretVariant);
    }
    return 0;
}

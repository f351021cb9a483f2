#include "devsim/SimLibrary.h"

#include <dlfcn.h>

const std::vector<ModelInfo>& Models() {
    static const std::vector<ModelInfo> models = {
        {"plover", "Lumenor_Plover.so", {"DefaultData_1.bin"}},
        {"heron", "Lumenor_Heron.so", {"HeronData_Cfg1.bin"}},
        {"heron-driver", "Lumenor_Heron_Driver.so", {"Driver_HeronData_Cfg1.bin"}},
        {"egret", "Lumenor_Egret.so", {"EgretBData_Cfg1.bin"}},
        {"ibis", "Lumenor_Ibis.so", {"IbisBData_Cfg1.bin", "IbisBData_Cfg2.bin", "IbisBData_Cfg3.bin"}},
        {"crane", "Lumenor_Crane.so", {"CraneAData_Cfg1.bin", "CraneAData_Cfg2.bin", "CraneAData_Cfg3.bin"}},
    };
    return models;
}

namespace {

template <class Fn>
bool Resolve(void* handle, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(dlsym(handle, name));
    return slot != nullptr;
}

}  // namespace

SimLibrary::SimLibrary(const std::string& folder, const ModelInfo& info) : info_(info) {
    const std::string path = folder + info.library;
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        error_ = dlerror();
        return;
    }
    ok_ = Resolve(handle_, "OakSim_SetAttached", setAttached_) && Resolve(handle_, "OakSim_Press", press_) &&
          Resolve(handle_, "OakSim_SetVariant", setVariant_) && Resolve(handle_, "OakSim_Reset", reset_) &&
          Resolve(handle_, "OakSim_SetLatency", setLatency_) &&
          Resolve(handle_, "OakSim_InjectFailure", injectFailure_) &&
          Resolve(handle_, "OakSim_ClearFailures", clearFailures_) &&
          Resolve(handle_, "OakSim_Describe", describe_) &&
          Resolve(handle_, "OakSim_ImageSize", imageSize_) &&
          Resolve(handle_, "OakSim_FactoryImage", factoryImage_);
    if (!ok_) error_ = path + " has no simulation control surface";
}

// The library stays loaded: its device object may run a thread until the process ends.
SimLibrary::~SimLibrary() = default;

std::string SimLibrary::Describe() const {
    std::string text(static_cast<size_t>(describe_(nullptr, 0)) + 1, '\0');
    describe_(text.data(), static_cast<int32_t>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

std::vector<uint8_t> SimLibrary::FactoryImage(int32_t preset) const {
    std::vector<uint8_t> image(static_cast<size_t>(imageSize_()));
    if (factoryImage_(preset, image.data(), static_cast<int32_t>(image.size())) != 0) return {};
    return image;
}

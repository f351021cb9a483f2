#pragma once
// The simulated libraries' OakSim_ control surface, for tests that plug, unplug, slow down or break
// a device the program is using.
#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "device/EntryPoint.h"
#include "device/ModelTable.h"

inline std::string BinFolder() {
    const char* dir = std::getenv("OAKRIDGE_BIN_DIR");
    return dir ? std::string(dir) + "/" : std::string("./");
}

// The control surface of one loaded library.
class SimControl {
  public:
    explicit SimControl(DeviceModel model)
        : handle_(dlopen((BinFolder() + LibraryFileName(model)).c_str(), RTLD_NOW | RTLD_LOCAL)) {}

    template <class Fn>
    Fn Get(const char* name) const {
        return handle_ ? reinterpret_cast<Fn>(dlsym(handle_, name)) : nullptr;
    }
    int32_t Inject(const char* entry, int32_t call, int32_t status = 9) const {
        return Get<int32_t (*)(const char*, int32_t, int32_t)>("OakSim_InjectFailure")(entry, call, status);
    }
    int32_t CallCount(const char* entry) const {
        return Get<int32_t (*)(const char*)>("OakSim_CallCount")(entry);
    }
    // Transfers since the last ResetCallCounts() that paid the latency (calls the device refused do not
    // count).
    int32_t TransferCount() const { return Get<int32_t (*)()>("OakSim_TransferCount")(); }
    void ResetCallCounts() const { Get<int32_t (*)()>("OakSim_ResetCallCounts")(); }
    int32_t ClearFailures() const { return Get<int32_t (*)()>("OakSim_ClearFailures")(); }
    int32_t SetVariant(int32_t v) const { return Get<int32_t (*)(int32_t)>("OakSim_SetVariant")(v); }
    int32_t SetAttached(bool a) const { return Get<int32_t (*)(int32_t)>("OakSim_SetAttached")(a ? 1 : 0); }
    int32_t Press(int32_t button) const { return Get<int32_t (*)(int32_t)>("OakSim_Press")(button); }
    int32_t SetLatency(int32_t ms) const { return Get<int32_t (*)(int32_t)>("OakSim_SetLatency")(ms); }
    // The device as the library describes it: one "name: values" line per setting.
    std::string Describe() const {
        auto fn = Get<int32_t (*)(char*, int32_t)>("OakSim_Describe");
        std::string text(static_cast<size_t>(fn(nullptr, 0)) + 1, '\0');
        fn(text.data(), static_cast<int32_t>(text.size()));
        text.pop_back();
        return text;
    }
    // The Heron driver only: the four selector bytes of this process's last successful open.
    std::optional<std::array<int32_t, 4>> LastOpenSelector() const {
        auto fn = Get<int32_t (*)(int32_t*)>("OakSim_LastOpenSelector");
        std::array<int32_t, 4> bytes{};
        if (!fn || fn(bytes.data()) != 0) return std::nullopt;
        return bytes;
    }

  private:
    void* handle_;
};

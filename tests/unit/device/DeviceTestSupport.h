#pragma once
// Shared set-up of the device tests: a private device folder per test, the binding over the built
// libraries, the libraries' OakSim_ control surface, and running devsim as another process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "device/DeviceLibraryBinding.h"

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
    int32_t CallCount(const char* entry) const { return Get<int32_t (*)(const char*)>("OakSim_CallCount")(entry); }
    void ResetCallCounts() const { Get<int32_t (*)()>("OakSim_ResetCallCounts")(); }
    int32_t ClearFailures() const { return Get<int32_t (*)()>("OakSim_ClearFailures")(); }
    int32_t SetVariant(int32_t v) const { return Get<int32_t (*)(int32_t)>("OakSim_SetVariant")(v); }
    int32_t SetAttached(bool a) const { return Get<int32_t (*)(int32_t)>("OakSim_SetAttached")(a ? 1 : 0); }
    int32_t Press(int32_t button) const { return Get<int32_t (*)(int32_t)>("OakSim_Press")(button); }
    int32_t SetLatency(int32_t ms) const { return Get<int32_t (*)(int32_t)>("OakSim_SetLatency")(ms); }

private:
    void* handle_;
};

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "oakridge-devices-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("OAKRIDGE_DEVICE_DIR", folder_.c_str(), 1);
        DeviceLibraryBinding::SetLibraryFolder(BinFolder());
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static DeviceLibraryBinding& Binding() { return DeviceLibraryBinding::Instance(); }

    static bool OpenAll() {
        auto& b = Binding();
        return b.Call(EntryPoint::InitMCUDevice, int32_t{kLumenorVid}, int32_t{kPloverPid}) == 0 &&
               b.Call(EntryPoint::InitMCUDevice_Heron, int32_t{kLumenorVid}, int32_t{kHeronPid}) == 0 &&
               b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronDriverPid}, 1, 2,
                      255, 4) == 0 &&
               b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, 1) == 0 &&
               b.Call(EntryPoint::InitMCUDevice_Ibis, int32_t{kLumenorVid}, int32_t{kIbisPid}, 1) == 0 &&
               b.Call(EntryPoint::InitMCUDevice_Crane, int32_t{kLumenorVid}, int32_t{kCranePid}, 1) == 0;
    }

    // Runs devsim with `args` in a new process; returns its exit status and fills `output`.
    static int Devsim(const std::string& args, std::string* output = nullptr) {
        const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + BinFolder() + "devsim " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return -1;
        char buffer[4096];
        std::string text;
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        const int status = pclose(pipe);
        if (output) *output = text;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string folder_;
};

#pragma once
// Shared set-up of the device tests: a private device folder per test, the binding over the built
// libraries, the libraries' OakSim_ control surface, and running devsim as another process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "SimControl.h"
#include "device/DeviceLibraryBinding.h"

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
               b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronPid}, 1, 2,
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

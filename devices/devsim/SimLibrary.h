#pragma once
// One simulated device library opened by devsim, reached only through its OakSim_ control surface.
#include <cstdint>
#include <string>
#include <vector>

struct ModelInfo {
    const char* key;                        // command-line name: "egret", "heron-driver", ...
    const char* library;                    // "Lumenor_Egret.so"
    std::vector<const char*> defaultFiles;  // default configuration files, preset 1, 2, ...
};

const std::vector<ModelInfo>& Models();

class SimLibrary {
  public:
    // Opens `folder` + info.library; Ok() tells whether it and its control surface were found.
    SimLibrary(const std::string& folder, const ModelInfo& info);
    ~SimLibrary();
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    const ModelInfo& Info() const { return info_; }

    int32_t SetAttached(bool attached) const { return setAttached_(attached ? 1 : 0); }
    int32_t Press(int32_t button) const { return press_(button); }
    int32_t SetVariant(int32_t variant) const { return setVariant_(variant); }
    int32_t Reset() const { return reset_(); }
    int32_t SetLatency(int32_t ms) const { return setLatency_(ms); }
    int32_t InjectFailure(const std::string& entry, int32_t call, int32_t status) const {
        return injectFailure_(entry.c_str(), call, status);
    }
    int32_t ClearFailures() const { return clearFailures_(); }
    std::string Describe() const;
    // Factory image of `preset`, empty on failure.
    std::vector<uint8_t> FactoryImage(int32_t preset) const;

  private:
    const ModelInfo& info_;
    void* handle_ = nullptr;
    bool ok_ = false;
    std::string error_;
    int32_t (*setAttached_)(int32_t) = nullptr;
    int32_t (*press_)(int32_t) = nullptr;
    int32_t (*setVariant_)(int32_t) = nullptr;
    int32_t (*reset_)() = nullptr;
    int32_t (*setLatency_)(int32_t) = nullptr;
    int32_t (*injectFailure_)(const char*, int32_t, int32_t) = nullptr;
    int32_t (*clearFailures_)() = nullptr;
    int32_t (*describe_)(char*, int32_t) = nullptr;
    int32_t (*imageSize_)() = nullptr;
    int32_t (*factoryImage_)(int32_t, uint8_t*, int32_t) = nullptr;
};

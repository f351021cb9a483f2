#pragma once
// The simulation core every device library is built on: one device of one model, its memory image,
// the library's staged copy (for models that have one), the open handle, failure injection, latency
// and the change callback. All entry points of a library funnel through Run(), which takes the
// lock, follows changes other processes made to the device, counts the call and applies the
// injected failures before the model-specific body runs.
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "core/ModelSpec.h"
#include "core/SimState.h"
#include "core/SimStatus.h"
#include "core/StateFile.h"

namespace sim {

using ChangeCallback = void (*)(int32_t* profile, int32_t* stage, void* context);

enum Need : unsigned {
    kNeedAttached = 1,  // the device must be plugged in
    kNeedOpen = 2,      // ...and opened by this process
    kTransfer = 4,      // a USB transfer: pays the configured latency
    kDeviceMemory = 8,  // acts on the device memory even on a staged model
    kWrites = 16,       // changes memory; device memory is stored afterwards
    kNeedReady = kNeedAttached | kNeedOpen,
};

enum class Button { Profile, StageUp, StageDown };

class SimDevice {
  public:
    explicit SimDevice(const ModelSpec& spec);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    const ModelSpec& Spec() const { return spec_; }
    // Only inside a Run() body, where the lock is held.
    int32_t VariantLocked() const { return state_.variant; }
    int FireMacroCountLocked() const;

    // Runs `body(Image&)` for entry point `entry` under the device lock; see the class comment.
    template <class Body>
    int32_t Run(const char* entry, unsigned need, Body&& body) {
        std::unique_lock lock(mutex_);
        ProcessLock processLock((need & kWrites) ? StatePath() : std::string());
        int32_t status = Enter(entry, need);
        if (status != kOk) return status;
        Image& memory = Working(need);
        status = body(memory);
        if (status == kOk && (need & kWrites) && &memory == &state_.image) status = Store();
        return status;
    }

    // Generic accessors over the model's field table.
    int32_t GetInt(const char* entry, FieldId id, int index, int32_t* out);
    int32_t SetInt(const char* entry, FieldId id, int index, int32_t value);
    int32_t GetBytes(const char* entry, FieldId id, int index, std::initializer_list<uint8_t*> outs);
    int32_t SetBytes(const char* entry, FieldId id, int index, std::initializer_list<int32_t> values);
    // Key codes addressed by zero-based profile and key; profiles past the variant's count fail.
    int32_t GetKey(const char* entry, int profile, int key, std::initializer_list<uint8_t*> outs);
    int32_t SetKey(const char* entry, int profile, int key, std::initializer_list<int32_t> values);
    // `transfer` (kTransfer) makes a block access on a staged model pay the latency as well.
    int32_t GetBlock(const char* entry, FieldId id, int index, uint8_t* out, int32_t size,
                     unsigned transfer = 0);
    int32_t SetBlock(const char* entry, FieldId id, int index, const uint8_t* in, int32_t size,
                     unsigned transfer = 0);

    int32_t Open(const char* entry, int32_t vid, int32_t pid);
    int32_t Close(const char* entry);
    int32_t Pull(const char* entry);  // device memory -> staged copy (a whole-device read)
    int32_t Push(const char* entry);  // staged copy -> device memory (a whole-device write)
    int32_t PushRange(const char* entry, uint32_t offset, uint32_t size);
    int32_t SaveImage(const char* entry, uint8_t* out, int32_t size);  // device memory -> caller
    // Caller -> device memory (and the staged copy). `size` may be short: the rest reads as zero.
    int32_t LoadImage(const char* entry, const uint8_t* in, int32_t size);
    int32_t Variant(const char* entry, int32_t* out);
    int32_t SetCallback(const char* entry, ChangeCallback callback, void* context);

    // Control surface (devsim and tests).
    int32_t SetAttached(bool attached);
    int32_t Press(Button button);
    int32_t SetVariant(int32_t variant);
    int32_t Reset();
    int32_t SetLatency(int32_t ms);
    int32_t InjectFailure(const char* entry, int32_t call, int32_t status);
    int32_t ClearFailures();
    int32_t CallCount(const char* entry);
    void ResetCallCounts();
    // Transfers this process made that reached the device (each one paid the latency).
    int32_t TransferCount();
    std::string Describe();
    int32_t FactoryImage(int32_t preset, uint8_t* out, int32_t size) const;

  private:
    int32_t Enter(const char* entry, unsigned need);
    Image& Working(unsigned need) { return spec_.staged && !(need & kDeviceMemory) ? cache_ : state_.image; }
    // A getter or setter of a write-through model reaches the mouse; on a staged model it only
    // touches the library's copy.
    unsigned Access() const { return spec_.staged ? 0u : unsigned{kTransfer}; }
    // Whether `image` can replace the device memory: every setting the entry points later use as
    // an index or a size lies in the range its setter accepts.
    bool Acceptable(const Image& image) const;
    void Refresh();
    int32_t Store();
    SimState FactoryState() const;
    std::string StatePath() const;
    const Field* Element(FieldId id, int index) const;
    int ProfileCount() const;
    template <class Change>
    int32_t Control(Change&& change);
    void PumpLoop();

    const ModelSpec& spec_;
    std::mutex mutex_;
    std::string loadedPath_;
    FileIdentity identity_;
    SimState state_;
    Image cache_;
    bool cacheValid_ = false;
    bool opened_ = false;
    std::map<std::string, int32_t> callCounts_;
    int32_t transfers_ = 0;

    std::condition_variable wake_;
    std::thread pump_;
    bool stopping_ = false;
    ChangeCallback callback_ = nullptr;
    void* callbackContext_ = nullptr;
    uint32_t deliveredPresses_ = 0;
};

}  // namespace sim

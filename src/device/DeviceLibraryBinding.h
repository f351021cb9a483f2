#pragma once
// The program's one door to the six device libraries: loads them once, resolves every entry point
// into its slot, and offers the grouped operations that move data between the entry points and the
// configuration records. A call through an empty slot (missing library or name) fails with
// kUnresolved instead of crashing.
//
// The grouped operations are split by family over DeviceLibraryBinding.cpp (loading, calls, macro
// cache), BindingFamilyE.cpp, BindingFamilyH.cpp and BindingPlover.cpp.
#include <array>
#include <atomic>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "device/DeviceIds.h"
#include "device/EntryPoint.h"
#include "device/HeronMacroCache.h"
#include "device/ModelTable.h"
#include "platform/Trace.h"
#include "records/CraneConfig.h"
#include "records/EgretConfig.h"
#include "records/HeronConfig.h"
#include "records/HeronDriverConfig.h"
#include "records/IbisConfig.h"
#include "records/KeyboardConfig.h"

// What a library calls when the mouse itself changes profile or stage.
using DeviceChangeCallback = void (*)(int32_t* profile, int32_t* stage, void* context);

// A buffer handed to a library: the library gets its address, a trace of a failed call its size.
template <class T>
struct DeviceBuffer {
    T* data;
    size_t size;
};

template <class Range>
auto AsBuffer(Range&& range) {
    std::span view(range);
    return DeviceBuffer<typename decltype(view)::element_type>{view.data(), view.size()};
}

// How a failed call's argument is shown in the trace; built only when tracing is on.
struct TracedArgument {
    enum class Kind : uint8_t { Number, OutputInteger, Address, Buffer, Callback };
    Kind kind;
    int64_t number;
    const void* address;
    size_t size;
};

namespace binding_detail {

template <class T>
struct Passed {
    using Type = T;
    static T Of(T value) { return value; }
};
template <class T>
struct Passed<DeviceBuffer<T>> {
    using Type = T*;
    static T* Of(DeviceBuffer<T> buffer) { return buffer.data; }
};

template <class T>
TracedArgument Describe(T value) {
    using Kind = TracedArgument::Kind;
    if constexpr (std::is_integral_v<T>) {
        return {Kind::Number, static_cast<int64_t>(value), nullptr, 0};
    } else if constexpr (std::is_same_v<T, int32_t*>) {
        return {Kind::OutputInteger, 0, value, 0};
    } else if constexpr (std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>) {
        return {Kind::Callback, 0, reinterpret_cast<const void*>(value), 0};
    } else if constexpr (std::is_pointer_v<T>) {
        return {Kind::Address, 0, value, 0};
    } else {
        return {Kind::Buffer, 0, value.data, value.size};
    }
}

}  // namespace binding_detail

template <class C>
concept FamilyERecord = std::derived_from<C, FamilyEConfig> && requires {
    C::kModel;
};
template <class C>
concept FamilyHRecord = std::derived_from<C, FamilyHConfig> && requires {
    C::kModel;
};

class DeviceLibraryBinding {
  public:
    static constexpr int32_t kUnresolved = -1000;  // status of a call through an empty slot
    using KeyTable = std::array<uint8_t, KeyboardConfig::kKeyTableSize>;

    // Folder the libraries are loaded from; takes effect only before the first Instance(). The
    // default is the folder of the running executable.
    static void SetLibraryFolder(const std::string& folder);
    // The process-wide binding, created and loaded on first use.
    static DeviceLibraryBinding& Instance();

    // A binding of its own over `folder` (tests; the program uses Instance()).
    explicit DeviceLibraryBinding(const std::string& folder);
    ~DeviceLibraryBinding();  // libraries stay loaded: their threads may outlive the binding
    DeviceLibraryBinding(const DeviceLibraryBinding&) = delete;
    DeviceLibraryBinding& operator=(const DeviceLibraryBinding&) = delete;

    bool IsLoaded(DeviceModel model) const { return handles_[Index(model)] != nullptr; }
    bool IsResolved(EntryPoint entryPoint) const {
        return slots_[static_cast<size_t>(entryPoint)] != nullptr;
    }
    int LoadCount(DeviceModel model) const { return loadCounts_[Index(model)]; }

    // Calls an entry point directly. Argument types must be those the entry point takes (int32_t,
    // int32_t*, uint8_t*, buffers, the callback); a DeviceBuffer goes as its address. A failing call
    // is traced with its arguments; when tracing is off that costs one test of a flag.
    template <class... Args>
    int32_t Call(EntryPoint entryPoint, Args... args) const {
        void* function = slots_[static_cast<size_t>(entryPoint)];
        const int32_t status =
            function ? reinterpret_cast<int32_t (*)(typename binding_detail::Passed<Args>::Type...)>(
                           function)(binding_detail::Passed<Args>::Of(args)...)
                     : kUnresolved;
        if (status != 0 && platform::TraceEnabled()) [[unlikely]]
            TraceFailedCall(entryPoint, status, {binding_detail::Describe(args)...});
        return status;
    }

    // --- Plover keyboard ---
    bool ReadLedBlock(KeyboardConfig& config, int block);
    bool WriteLedBlock(const KeyboardConfig& config, int block);  // true whatever the library says
    bool ReadKeyTable(int profile, KeyTable& table);
    bool WriteKeyTable(int profile, const KeyTable& table);
    // Each macro into slot 0, 1, ...: at most 16 name characters and 144 event bytes are sent.
    bool WriteMacros(const MacroList& macros);

    // --- all mice ---
    template <FamilyERecord C>
    bool ReadProfileIndex(C& c) {
        return ReadProfileIndexE(C::kModel, c);
    }
    template <FamilyERecord C>
    bool WriteProfileIndex(const C& c) {
        return WriteProfileIndexE(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool ReadProfileIndex(C& c) {
        return ReadProfileIndexH(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool WriteProfileIndex(const C& c) {
        return WriteProfileIndexH(C::kModel, c);
    }
    template <FamilyERecord C>
    bool ReadStages(C& c) {
        return ReadStagesE(C::kModel, c);
    }
    template <FamilyERecord C>
    bool WriteStages(const C& c) {
        return WriteStagesE(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool ReadStages(C& c) {
        return ReadStagesH(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool WriteStages(const C& c) {
        return WriteStagesH(C::kModel, c);
    }

    // --- Egret, Ibis, Crane ---
    template <FamilyERecord C>
    bool ReadReportRate(C& c) {
        return ReadReportRateE(C::kModel, c);
    }
    template <FamilyERecord C>
    bool WriteReportRate(const C& c) {
        return WriteReportRateE(C::kModel, c);
    }
    bool ReadLighting(EgretConfig& config);
    bool ReadLighting(IbisConfig& config);
    bool ReadLighting(CraneConfig& config);
    bool WriteLighting(const EgretConfig& config);
    bool WriteLighting(const IbisConfig& config);
    bool WriteLighting(const CraneConfig& config);
    // Profile 0 to 2 (passed one-based), keys 1 to count.
    template <FamilyERecord C>
    bool ReadMacroKeys(C& c, int profile, int count) {
        return ReadMacroKeysE(C::kModel, c, profile, count);
    }
    template <FamilyERecord C>
    bool WriteMacroKey(const C& c, int profile, int key) {
        return WriteMacroKeyE(C::kModel, c, profile, key);
    }
    template <FamilyERecord C>
    bool ReadFireSlots(C& c) {
        return ReadFireSlotsE(C::kModel, c);
    }
    template <FamilyERecord C>
    bool WriteFireSlot(const C& c, int slot) {
        return WriteFireSlotE(C::kModel, c, slot);
    }
    template <FamilyERecord C>
    bool ReadFireMacro(C& c, int index) {
        return ReadFireMacroE(C::kModel, c, index);
    }
    template <FamilyERecord C>
    bool WriteFireMacro(const C& c, int index) {
        return WriteFireMacroE(C::kModel, c, index);
    }
    template <FamilyERecord C>
    bool ReadMacros(C& c) {
        return ReadMacrosE(C::kModel, c);
    }
    // index -1 appends; an empty name with length 0 deletes (the device renumbers the rest).
    bool WriteMacro(DeviceModel model, int index, std::u16string_view name, std::span<const uint8_t> events,
                    int length);
    bool WriteUartLed(const EgretConfig& config, int index);
    bool ReadComboKeys(CraneConfig& config);
    bool WriteComboKeys(const CraneConfig& config);

    // --- Heron, Heron driver ---
    template <FamilyHRecord C>
    bool ReadFire(C& c) {
        return ReadFireH(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool WriteFire(const C& c) {
        return WriteFireH(C::kModel, c);
    }
    template <FamilyHRecord C>
    bool ReadKeys(C& c, int profile, int count) {
        return ReadKeysH(C::kModel, c, profile, count);
    }
    template <FamilyHRecord C>
    bool WriteKeys(const C& c, int count) {
        return WriteKeysH(C::kModel, c, count);
    }
    // One key of profile 0 or 1 (zero-based key).
    template <FamilyHRecord C>
    bool WriteKey(const C& c, int profile, int key) {
        return WriteKeyH(C::kModel, c, profile, key);
    }
    bool ReadLightState(HeronConfig& config);
    bool WriteLightState(const HeronConfig& config);
    bool ReadPressTypes(HeronConfig& config);
    bool WritePressTypes(const HeronConfig& config);
    bool ReadFireMacro(HeronConfig& config, int slot);
    bool WriteFireBuffer(const HeronConfig& config, int slot);
    bool WriteLedStages(const HeronDriverConfig& config);
    bool WriteDevice(DeviceModel model);
    // Puts key `key` of `profile` (both zero-based) into the library's copy; false without such a key.
    bool WriteKeyH(DeviceModel model, const FamilyHConfig& c, int profile, int key);
    // Fetches macro `index` (its id) from the device into the model's macro cache.
    bool ReadMacroBuffer(DeviceModel model, int index);
    // Sends the cached macro `index` to the device; false when the cache has none.
    bool WriteMacroBuffer(DeviceModel model, int index);
    // Sends every cached macro to the device, each one even after a refusal; false when one was
    // refused. True for a model without a macro cache.
    bool WriteCachedMacros(DeviceModel model);
    // The cached macro with `id`, fetched from the device when the cache lacks it.
    std::optional<MacroEntry> CachedMacro(DeviceModel model, int id);
    // The macro cache of the Heron or the Heron driver; null for other models.
    HeronMacroCache* MacroCache(DeviceModel model);

  private:
    static constexpr size_t Index(DeviceModel model) { return static_cast<size_t>(model); }
    static void TraceFailedCall(EntryPoint entryPoint, int32_t status,
                                std::initializer_list<TracedArgument> arguments);
    // A group's way out after a failed call: traces the group and the call that failed on this
    // thread, and returns false.
    static bool GaveUp(const char* group);
    void Load(const std::string& folder);

    bool ReadProfileIndexE(DeviceModel model, FamilyEConfig& c);
    bool WriteProfileIndexE(DeviceModel model, const FamilyEConfig& c);
    bool ReadStagesE(DeviceModel model, FamilyEConfig& c);
    bool WriteStagesE(DeviceModel model, const FamilyEConfig& c);
    bool ReadReportRateE(DeviceModel model, FamilyEConfig& c);
    bool WriteReportRateE(DeviceModel model, const FamilyEConfig& c);
    bool ReadMacroKeysE(DeviceModel model, FamilyEConfig& c, int profile, int count);
    bool WriteMacroKeyE(DeviceModel model, const FamilyEConfig& c, int profile, int key);
    bool ReadFireSlotsE(DeviceModel model, FamilyEConfig& c);
    bool WriteFireSlotE(DeviceModel model, const FamilyEConfig& c, int slot);
    bool ReadFireMacroE(DeviceModel model, FamilyEConfig& c, int index);
    bool WriteFireMacroE(DeviceModel model, const FamilyEConfig& c, int index);
    bool ReadMacrosE(DeviceModel model, FamilyEConfig& c);

    bool ReadProfileIndexH(DeviceModel model, FamilyHConfig& c);
    bool WriteProfileIndexH(DeviceModel model, const FamilyHConfig& c);
    bool ReadStagesH(DeviceModel model, FamilyHConfig& c);
    bool WriteStagesH(DeviceModel model, const FamilyHConfig& c);
    bool ReadFireH(DeviceModel model, FamilyHConfig& c);
    bool WriteFireH(DeviceModel model, const FamilyHConfig& c);
    bool ReadKeysH(DeviceModel model, FamilyHConfig& c, int profile, int count);
    bool WriteKeysH(DeviceModel model, const FamilyHConfig& c, int count);

    // Handles in the declared order: Plover, Heron, Egret, Ibis, Crane, Heron driver.
    std::array<void*, kDeviceModelCount> handles_{};
    std::array<int, kDeviceModelCount> loadCounts_{};
    std::array<void*, kEntryPointCount> slots_{};
    // Macro names of the libraries that keep their macros in a buffer, by model (see ShapeOf).
    std::array<HeronMacroCache, kDeviceModelCount> macroCaches_{};
};

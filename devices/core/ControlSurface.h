#pragma once
// The control surface every simulated library exports beside its entry points, under the OakSim_
// prefix that the program never resolves. devsim and the tests drive the simulated device with it.
// A library defines it once with OAK_DEFINE_CONTROL_SURFACE() after defining Dev().
#include <cstdint>
#include <cstring>

#include "core/Export.h"
#include "core/SimDevice.h"

#define OAK_DEFINE_CONTROL_SURFACE()                                                               \
    OAK_API const char* OakSim_ModelName() {                                                       \
        return Dev().Spec().name;                                                                  \
    }                                                                                              \
    OAK_API int32_t OakSim_SetAttached(int32_t attached) {                                         \
        return Dev().SetAttached(attached != 0);                                                   \
    }                                                                                              \
    /* 0 profile button, 1 stage up, 2 stage down */                                               \
    OAK_API int32_t OakSim_Press(int32_t button) {                                                 \
        if (button < 0 || button > 2) return sim::kBadArgument;                                    \
        return Dev().Press(static_cast<sim::Button>(button));                                      \
    }                                                                                              \
    OAK_API int32_t OakSim_SetVariant(int32_t variant) {                                           \
        return Dev().SetVariant(variant);                                                          \
    }                                                                                              \
    OAK_API int32_t OakSim_Reset() {                                                               \
        return Dev().Reset();                                                                      \
    }                                                                                              \
    OAK_API int32_t OakSim_SetLatency(int32_t ms) {                                                \
        return Dev().SetLatency(ms);                                                               \
    }                                                                                              \
    OAK_API int32_t OakSim_InjectFailure(const char* entry, int32_t call, int32_t status) {        \
        return Dev().InjectFailure(entry, call, status);                                           \
    }                                                                                              \
    OAK_API int32_t OakSim_ClearFailures() {                                                       \
        return Dev().ClearFailures();                                                              \
    }                                                                                              \
    OAK_API int32_t OakSim_CallCount(const char* entry) {                                          \
        return Dev().CallCount(entry);                                                             \
    }                                                                                              \
    OAK_API int32_t OakSim_TransferCount() {                                                       \
        return Dev().TransferCount();                                                              \
    }                                                                                              \
    OAK_API int32_t OakSim_ResetCallCounts() {                                                     \
        Dev().ResetCallCounts();                                                                   \
        return 0;                                                                                  \
    }                                                                                              \
    /* Copies a readable dump (NUL-terminated, cut to fit); returns its full length. */            \
    OAK_API int32_t OakSim_Describe(char* buffer, int32_t size) {                                  \
        const std::string text = Dev().Describe();                                                 \
        if (buffer && size > 0) {                                                                  \
            const size_t n = text.size() < static_cast<size_t>(size - 1) ? text.size() : size - 1; \
            std::memcpy(buffer, text.data(), n);                                                   \
            buffer[n] = 0;                                                                         \
        }                                                                                          \
        return static_cast<int32_t>(text.size());                                                  \
    }                                                                                              \
    OAK_API int32_t OakSim_ImageSize() {                                                           \
        return static_cast<int32_t>(Dev().Spec().imageSize);                                       \
    }                                                                                              \
    OAK_API int32_t OakSim_PresetCount() {                                                         \
        return Dev().Spec().presets;                                                               \
    }                                                                                              \
    OAK_API int32_t OakSim_FactoryImage(int32_t preset, uint8_t* out, int32_t size) {              \
        return Dev().FactoryImage(preset, out, size);                                              \
    }

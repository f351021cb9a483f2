#pragma once
// The mouse models whose macro pages the page tests run on, as a test parameter.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroPageSpec.h"
#include "records/DeviceModel.h"

namespace oaktest {

struct MacroModel {
    const MacroPageSpec& (*spec)();
    int device;  // "device_combo" position
    const char* suffix;
    // The loop entry a new macro's first change writes: a count of 1, or none where that is the mode
    // of a macro without one (the Crane's continue).
    std::vector<uint8_t> newMacroLoop;
    std::vector<uint8_t> secondOptionLoop;  // the loop entry of the option after the count
};

inline void PrintTo(const MacroModel& m, std::ostream* out) {
    *out << m.suffix;
}

inline const MacroModel kMacroModels[] = {{EgretPageSpec, 3, "Egret", {0xFD, 0x01}, {0xFD, 0x00}},
                                          {IbisPageSpec, 4, "Ibis", {0xFD, 0x01}, {0xFD, 0x00}},
                                          {CranePageSpec, 5, "Crane", {}, {0xFD, 0x7F}}};

inline std::string MacroModelName(const ::testing::TestParamInfo<MacroModel>& info) {
    return info.param.suffix;
}

// For a fixture over the models: the model's names and its row.
template <class Base>
class OverMacroModels : public Base, public ::testing::WithParamInterface<MacroModel> {
  protected:
    const MacroPageSpec& Spec() const { return GetParam().spec(); }
    DeviceModel Model() const { return Spec().model; }
    std::string N(std::string_view base) const { return Spec().Name(base); }
    std::string Dialog() const { return Spec().edit.className; }
};

}  // namespace oaktest

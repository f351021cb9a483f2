#pragma once
// Small helpers shared by the macro tests.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "macro/MacroCodec.h"
#include "macro/StepText.h"

namespace macrotest {

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

inline MacroStep Step(DeviceModel model, int tag, int value, MoveAxis axis = MoveAxis::X) {
    return MakeStep(model, tag, value, StepNames::FilePage(), axis);
}

// A fresh folder below the system temporary folder, removed with the object.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "oakridge-macro-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace macrotest

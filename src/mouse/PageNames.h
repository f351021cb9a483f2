#pragma once
// Control names of a model's page: the model suffix after an underscore, numbers before it
// ("result_DPI3_slider_Egret"), except key buttons, which end in their number
// ("profile_key_Egret_3").
#include <string>
#include <string_view>

namespace mouse {

class PageNames {
  public:
    explicit PageNames(std::string suffix) : suffix_(std::move(suffix)) {}
    const std::string& Suffix() const { return suffix_; }
    // "base_Suffix"
    std::string operator()(std::string_view base) const { return std::string(base) + "_" + suffix_; }
    // prefix + n + rest + "_Suffix": Numbered("result_DPI", 3, "_slider")
    std::string Numbered(std::string_view prefix, int n, std::string_view rest) const {
        return std::string(prefix) + std::to_string(n) + std::string(rest) + "_" + suffix_;
    }
    // "profile_key_Suffix_n"
    std::string KeyButton(int n) const { return "profile_key_" + suffix_ + "_" + std::to_string(n); }

  private:
    std::string suffix_;
};

}  // namespace mouse

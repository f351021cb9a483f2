#pragma once
// Control names of a model's page: the model suffix after an underscore, numbers before it
// ("result_DPI3_slider_Egret"), except key buttons, which end in their number
// ("profile_key_Egret_3"; a model's row may name their group otherwise: "profile1_key_Crane_3").
#include <string>
#include <string_view>

namespace mouse {

class PageNames {
  public:
    explicit PageNames(std::string suffix, std::string keyGroup = "profile")
        : suffix_(std::move(suffix)), keyGroup_(std::move(keyGroup)) {}
    const std::string& Suffix() const { return suffix_; }
    // "base_Suffix"
    std::string operator()(std::string_view base) const { return std::string(base) + "_" + suffix_; }
    // prefix + n + rest + "_Suffix": Numbered("result_DPI", 3, "_slider")
    std::string Numbered(std::string_view prefix, int n, std::string_view rest) const {
        return std::string(prefix) + std::to_string(n) + std::string(rest) + "_" + suffix_;
    }
    // "profile_key_Suffix_n"
    std::string KeyButton(int n) const { return keyGroup_ + "_key_" + suffix_ + "_" + std::to_string(n); }
    // "profile_page_Suffix": the container of the key buttons
    std::string KeyPage() const { return keyGroup_ + "_page_" + suffix_; }

  private:
    std::string suffix_;
    std::string keyGroup_;
};

}  // namespace mouse

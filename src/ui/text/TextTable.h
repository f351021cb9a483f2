#pragma once
// The process-wide multi-language text table and "%{N}" reference resolution. Used on the UI
// thread only.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class TextTable {
  public:
    static TextTable& Instance();

    void Set(int id, std::string text);
    std::optional<std::string> Get(int id) const;
    void Clear();
    size_t Size() const { return texts_.size(); }

    // Replaces every "%{digits}" whose number is in the table; "%{088}" and "%{88}" name the same
    // entry; references to unknown numbers stay as written.
    std::string Resolve(std::string_view text) const;

  private:
    std::map<int, std::string> texts_;
};

}  // namespace ui

#pragma once
// Problems found while building a skin document, each with file and line.
#include <string>
#include <vector>

namespace ui {

struct BuildProblem {
    std::string file;
    int line = 0;
    std::string message;
};

class BuildReport {
  public:
    void Add(std::string file, int line, std::string message) {
        problems_.push_back({std::move(file), line, std::move(message)});
    }
    bool Empty() const { return problems_.empty(); }
    const std::vector<BuildProblem>& Problems() const { return problems_; }
    std::string ToString() const {
        std::string out;
        for (auto& p : problems_) out += p.file + ":" + std::to_string(p.line) + ": " + p.message + "\n";
        return out;
    }

  private:
    std::vector<BuildProblem> problems_;
};

}  // namespace ui

#pragma once
// Reads the readable source of the shipped macros (src/macro/data/*.txt) into macro files: one model
// per source, any number of files, each with named macros built from simple step lines. The steps go
// through the real encoder, so the shipped files are exactly what the program writes.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "macro/LoopSettings.h"
#include "macro/MacroStep.h"
#include "records/DeviceModel.h"
#include "records/MacroList.h"

class MacroScript {
  public:
    // Parses `text`; on a mistake returns false and sets Error() to "<source>:<line>: <what>".
    bool Parse(const std::string& source, const std::string& text);

    const std::string& Error() const { return error_; }
    std::optional<DeviceModel> Model() const { return model_; }
    // Relative output path ("MacroMouseEgretData.bin", "MacroMouseEgretData/Office.bin") to macros.
    const std::map<std::string, MacroList>& Files() const { return files_; }

  private:
    bool Fail(const std::string& what);
    bool ParseLine(const std::string& line);
    bool FinishMacro();
    bool AddKey(bool press, const std::string& key);
    bool AddButton(bool press, const std::string& button);
    bool AddDelay(long ms);

    std::string source_;
    int line_ = 0;
    std::string error_;
    std::optional<DeviceModel> model_;
    std::map<std::string, MacroList> files_;
    MacroList* file_ = nullptr;
    bool inMacro_ = false;
    std::u16string macroName_;
    std::vector<MacroStep> steps_;
    LoopSettings loop_;
};

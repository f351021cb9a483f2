#include "tools/MacroScript.h"

#include <cstdlib>
#include <sstream>

#include "macro/MacroCodec.h"
#include "macro/MacroFileFormat.h"
#include "macro/StepText.h"

namespace {

const std::map<std::string, DeviceModel> kModels = {
    {"plover", DeviceModel::Plover},
    {"heron", DeviceModel::Heron},
    {"heron-driver", DeviceModel::HeronDriver},
    {"egret", DeviceModel::Egret},
    {"ibis", DeviceModel::Ibis},
    {"crane", DeviceModel::Crane},
};

// Modifier bits; on the keyboard a modifier is the key code 0x80 + bit (right Win 0x98).
const std::map<std::string, int> kModifiers = {
    {"ctrl", 0x01}, {"shift", 0x02}, {"alt", 0x04}, {"win", 0x08}, {"rwin", 0x80},
};

const std::map<std::string, int> kNamedKeys = {
    {"enter", 0x28},  {"esc", 0x29}, {"backspace", 0x2A}, {"tab", 0x2B},  {"space", 0x2C}, {"home", 0x4A},
    {"delete", 0x4C}, {"end", 0x4D}, {"right", 0x4F},     {"left", 0x50}, {"down", 0x51},  {"up", 0x52},
};

// Mouse tags of the press; the release is the same byte without bit 7.
const std::map<std::string, std::pair<int, int>> kButtons = {
    // mouse press tag, keyboard code
    {"left", {0xA1, 0x01}}, {"right", {0xA2, 0x02}},   {"middle", {0xA4, 0x04}},
    {"back", {0xA8, 0x10}}, {"forward", {0xB0, 0x08}},
};

std::optional<int> KeyCode(const std::string& key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return 0x04 + (key[0] - 'a');
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '9') return 0x1E + (key[0] - '1');
    if (key == "0") return 0x27;
    if (key.size() >= 2 && key[0] == 'f') {
        const int n = std::atoi(key.c_str() + 1);
        if (n >= 1 && n <= 12 && key == "f" + std::to_string(n)) return 0x3A + n - 1;
    }
    const auto it = kNamedKeys.find(key);
    return it == kNamedKeys.end() ? std::nullopt : std::optional<int>(it->second);
}

std::u16string Utf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) cp = (cp << 6) | (text[i + k] & 0x3F);
        i += 1 + extra;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

}  // namespace

bool MacroScript::Fail(const std::string& what) {
    error_ = source_ + ":" + std::to_string(line_) + ": " + what;
    return false;
}

bool MacroScript::Parse(const std::string& source, const std::string& text) {
    source_ = source;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        ++line_;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!ParseLine(line)) return false;
    }
    if (!FinishMacro()) return false;
    return model_ ? true : Fail("no model line");
}

bool MacroScript::FinishMacro() {
    if (!inMacro_) return true;
    inMacro_ = false;
    file_->Add({macroName_, EncodeMacro(*model_, steps_, loop_)});
    return true;
}

bool MacroScript::AddKey(bool press, const std::string& key) {
    const DeviceModel model = *model_;
    const bool keyboard = EncodingOf(model) == MacroEncoding::Keyboard;
    if (const auto mod = kModifiers.find(key); mod != kModifiers.end()) {
        if (keyboard) {
            const int code = mod->second == 0x80 ? 0x98 : 0x80 + mod->second;
            steps_.push_back(MakeStep(model, press ? 0x81 : 0x01, code, StepNames::FilePage()));
        } else {
            steps_.push_back(MakeStep(model, press ? 0x81 : 0x01, mod->second, StepNames::FilePage()));
        }
        return true;
    }
    const auto code = KeyCode(key);
    if (!code) return Fail("unknown key \"" + key + "\"");
    const int tag = keyboard ? (press ? 0x81 : 0x01) : (press ? 0x82 : 0x02);
    steps_.push_back(MakeStep(model, tag, *code, StepNames::FilePage()));
    return true;
}

bool MacroScript::AddButton(bool press, const std::string& button) {
    const auto it = kButtons.find(button);
    if (it == kButtons.end()) return Fail("unknown button \"" + button + "\"");
    const DeviceModel model = *model_;
    if (EncodingOf(model) == MacroEncoding::Keyboard) {
        steps_.push_back(MakeStep(model, press ? 0x82 : 0x02, it->second.second, StepNames::FilePage()));
    } else {
        const int tag = press ? it->second.first : it->second.first & 0x7F;
        steps_.push_back(MakeStep(model, tag, tag, StepNames::FilePage()));
    }
    return true;
}

bool MacroScript::AddDelay(long ms) {
    if (ms < 0) return Fail("negative delay");
    for (auto& step : MakeDelaySteps(*model_, ms, StepNames::FilePage())) steps_.push_back(std::move(step));
    return true;
}

bool MacroScript::ParseLine(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "model") {
        std::string name;
        words >> name;
        const auto it = kModels.find(name);
        if (it == kModels.end() || model_) return Fail("bad or repeated model \"" + name + "\"");
        model_ = it->second;
        return true;
    }
    if (!model_) return Fail("the model comes first");
    const MacroFileFormat& format = FileFormat(*model_);
    if (command == "file") {
        std::string path;
        words >> path;
        const std::string folder = format.folderName ? std::string(format.folderName) + "/" : std::string();
        const bool isFile = path == format.fileName;
        const bool inFolder = !folder.empty() && path.rfind(folder, 0) == 0 &&
                              path.size() > folder.size() + 4 &&
                              path.find('/', folder.size()) == std::string::npos &&
                              path.compare(path.size() - 4, 4, ".bin") == 0;
        if (!isFile && !inFolder)
            return Fail("\"" + path + "\" is neither the model's file nor in its folder");
        if (!FinishMacro()) return false;
        file_ = &files_[path];
        return true;
    }
    if (command == "macro") {
        if (!file_) return Fail("a macro needs a file line first");
        if (!FinishMacro()) return false;
        const size_t open = line.find('"');
        const size_t close = line.rfind('"');
        if (open == std::string::npos || close <= open + 1)
            return Fail("macro names are quoted and not empty");
        macroName_ = Utf16(line.substr(open + 1, close - open - 1));
        if (macroName_.size() > format.nameChars()) return Fail("name longer than the model's name field");
        for (const auto& entry : *file_)
            if (entry->name == macroName_) return Fail("duplicate macro name");
        steps_.clear();
        loop_ = {};
        inMacro_ = true;
        return true;
    }
    if (!inMacro_) return Fail("steps belong to a macro");
    std::string a, b;
    words >> a >> b;
    if (command == "loop") {
        const std::map<std::string, LoopMode> modes = {{"count", LoopMode::Count},
                                                       {"continuous", LoopMode::Continuous},
                                                       {"stop-any-key", LoopMode::StopOnAnyKey},
                                                       {"stop", LoopMode::Stop},
                                                       {"continue", LoopMode::Continue}};
        const auto it = modes.find(a);
        if (it == modes.end() || !EncodingFor(*model_).hasMode(it->second))
            return Fail("loop mode \"" + a + "\"");
        loop_.mode = it->second;
        if (it->second == LoopMode::Count) {
            loop_.count = std::atoi(b.c_str());
            if (loop_.count < 1 || loop_.count > EncodingFor(*model_).maxLoopCount) return Fail("loop count");
        }
        return true;
    }
    if (command == "end") {
        if (!EncodingFor(*model_).hasEndMode() || (a != "stop" && a != "continue")) return Fail("end mode");
        loop_.end = a == "stop" ? EndMode::Stop : EndMode::Continue;
        return true;
    }
    if (command == "press" || command == "release") return AddKey(command == "press", a);
    if (command == "tap")
        return AddKey(true, a) && AddDelay(b.empty() ? 24 : std::atol(b.c_str())) && AddKey(false, a);
    if (command == "down" || command == "up") return AddButton(command == "down", a);
    if (command == "click") {
        const MacroEncoding encoding = EncodingOf(*model_);
        const bool heron = encoding == MacroEncoding::Counted || encoding == MacroEncoding::Counted16;
        const long ms = b.empty() ? (heron ? 80 : 50) : std::atol(b.c_str());
        return AddButton(true, a) && AddDelay(ms) && AddButton(false, a);
    }
    if (command == "delay") return AddDelay(std::atol(a.c_str()));
    if (command == "move") {
        const int x = std::atoi(a.c_str());
        const int y = std::atoi(b.c_str());
        if (x < -128 || x > 127 || y < -128 || y > 127) return Fail("movement outside -128..127");
        const DeviceModel model = *model_;
        const auto add = [&](int tag, int value, MoveAxis axis = MoveAxis::X) {
            steps_.push_back(MakeStep(model, tag, value, StepNames::FilePage(), axis));
        };
        switch (EncodingOf(model)) {
            case MacroEncoding::Keyboard:
                add(0x03, x, MoveAxis::X), add(0x03, y, MoveAxis::Y);
                break;
            case MacroEncoding::Counted:
            case MacroEncoding::Counted16:
                add(0xFB, x), add(0xFA, y);
                break;
            default:
                add(0x04, PackMove(x, y));
                break;
        }
        return true;
    }
    return Fail("unknown command \"" + command + "\"");
}

// devsim: drives the simulated Lumenor devices from a shell or a script. It loads the device
// libraries from the program folder and talks to their OakSim_ control surface; the device state
// lives in the device folder (OAKRIDGE_DEVICE_DIR), so a running Oakridge sees every change.
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/StateFile.h"
#include "devsim/SimLibrary.h"
#include "platform/MessageEndpoint.h"

namespace {

constexpr const char* kHelp = R"(usage: devsim [--folder DIR] COMMAND [ARGS]

Drives the simulated Lumenor devices. MODEL is plover, heron, heron-driver, egret, ibis or crane;
"all" works where noted. Device state lives in $OAKRIDGE_DEVICE_DIR (default
~/.local/state/oakridge/devices/); the libraries are loaded from the program folder (devsim's own
folder unless --folder is given).

commands:
  list                          every device with its state
  plug MODEL|all                attach; a running Oakridge is told the devices changed
  unplug MODEL|all              detach; opening the device fails until it is plugged again
  press MODEL BUTTON            press a device button: profile, stage-up, stage-down
  variant egret KIND            set the Egret variant (0 plain lighting, other values UART LEDs)
  reset MODEL|all               restore the factory settings
  latency MODEL|all MS          delay every transfer by MS milliseconds (0 to 10000)
  fail MODEL ENTRY [CALL [STATUS]]
                                make call number CALL (from now, 1-based; 0 = every call) of entry
                                point ENTRY return STATUS (default: every call, status 1)
  clear-failures MODEL|all      remove injected failures
  dump MODEL                    print the device's settings
  export-defaults DIR           write the default configuration files into DIR
  --help                        this text

exit status: 0 done, 1 the device refused or a library is missing, 2 bad usage
)";

constexpr int32_t kDeviceChange = 0x0219;
constexpr int32_t kDeviceArrivalOrRemoval = 0x0007;

std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "./";
    path[n] = 0;
    std::string folder(path);
    return folder.substr(0, folder.rfind('/') + 1);
}

int Usage(const char* problem) {
    std::fprintf(stderr, "devsim: %s\n(devsim --help for usage)\n", problem);
    return 2;
}

bool ParseInt(const char* text, int32_t& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 0);
    if (!*text || *end || value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<int32_t>(value);
    return true;
}

class Devsim {
  public:
    explicit Devsim(std::string folder) : folder_(std::move(folder)) {}

    // The libraries named by `model` ("all" for every one); empty after printing an error.
    std::vector<std::unique_ptr<SimLibrary>> Open(const std::string& model, bool allowAll) {
        std::vector<std::unique_ptr<SimLibrary>> libraries;
        for (const ModelInfo& info : Models()) {
            if (!(allowAll && model == "all") && strcasecmp(model.c_str(), info.key) != 0) continue;
            auto library = std::make_unique<SimLibrary>(folder_, info);
            if (!library->Ok()) {
                std::fprintf(stderr, "devsim: %s\n", library->Error().c_str());
                return {};
            }
            libraries.push_back(std::move(library));
        }
        if (libraries.empty() && !model.empty())
            std::fprintf(stderr, "devsim: unknown model \"%s\"\n", model.c_str());
        return libraries;
    }

    int Run(const std::vector<std::string>& args) {
        const std::string& command = args[0];
        auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::string(); };
        if (command == "list") return List();
        if (command == "plug" || command == "unplug") return Plug(arg(1), command == "plug");
        if (command == "press") return Press(arg(1), arg(2));
        if (command == "variant")
            return ForEach(arg(1), false, [&](const SimLibrary& l) {
                int32_t kind;
                if (!ParseInt(arg(2).c_str(), kind)) return -2;
                return l.SetVariant(kind);
            });
        if (command == "reset") return ForEach(arg(1), true, [](const SimLibrary& l) { return l.Reset(); });
        if (command == "latency")
            return ForEach(arg(1), true, [&](const SimLibrary& l) {
                int32_t ms;
                if (!ParseInt(arg(2).c_str(), ms)) return -2;
                return l.SetLatency(ms);
            });
        if (command == "fail") return Fail(args);
        if (command == "clear-failures")
            return ForEach(arg(1), true, [](const SimLibrary& l) { return l.ClearFailures(); });
        if (command == "dump")
            return ForEach(arg(1), false, [](const SimLibrary& l) {
                std::fputs(l.Describe().c_str(), stdout);
                return 0;
            });
        if (command == "export-defaults") return ExportDefaults(arg(1));
        return Usage(("unknown command \"" + command + "\"").c_str());
    }

  private:
    // Runs `action` on the named libraries; -2 from an action means bad usage.
    template <class Action>
    int ForEach(const std::string& model, bool allowAll, Action&& action) {
        if (model.empty()) return Usage("missing model");
        auto libraries = Open(model, allowAll);
        if (libraries.empty()) return 1;
        int result = 0;
        for (const auto& library : libraries) {
            const int32_t status = action(*library);
            if (status == -2) return Usage("bad number");
            if (status != 0) {
                std::fprintf(stderr, "devsim: %s refused (status %d)\n", library->Info().key, status);
                result = 1;
            }
        }
        return result;
    }

    int List() {
        auto libraries = Open("all", true);
        if (libraries.empty()) return 1;
        for (const auto& library : libraries) {
            const std::string text = library->Describe();
            // The header lines: name, attached, variant, latency, presses, failures.
            size_t end = 0;
            for (int line = 0; line < 5 && end != std::string::npos; ++line) end = text.find('\n', end + 1);
            while (end != std::string::npos && text.compare(end + 1, 10, "  failure:") == 0)
                end = text.find('\n', end + 1);
            std::fputs(text.substr(0, end == std::string::npos ? text.size() : end + 1).c_str(), stdout);
        }
        return 0;
    }

    int Plug(const std::string& model, bool attached) {
        const int result = ForEach(model, true, [&](const SimLibrary& l) { return l.SetAttached(attached); });
        if (result == 0) NotifyProgram();
        return result;
    }

    int Press(const std::string& model, const std::string& button) {
        static const char* const kButtons[] = {"profile", "stage-up", "stage-down"};
        for (int32_t i = 0; i < 3; ++i) {
            if (button == kButtons[i])
                return ForEach(model, false, [&](const SimLibrary& l) { return l.Press(i); });
        }
        return Usage("button must be profile, stage-up or stage-down");
    }

    int Fail(const std::vector<std::string>& args) {
        if (args.size() < 3) return Usage("fail needs a model and an entry point");
        int32_t call = 0, status = 1;
        if ((args.size() > 3 && !ParseInt(args[3].c_str(), call)) ||
            (args.size() > 4 && !ParseInt(args[4].c_str(), status)))
            return Usage("bad number");
        return ForEach(args[1], false,
                       [&](const SimLibrary& l) { return l.InjectFailure(args[2], call, status); });
    }

    int ExportDefaults(const std::string& target) {
        if (target.empty()) return Usage("missing folder");
        const std::string folder = target.back() == '/' ? target : target + "/";
        auto libraries = Open("all", true);
        if (libraries.empty()) return 1;
        for (const auto& library : libraries) {
            int32_t preset = 1;
            for (const char* file : library->Info().defaultFiles) {
                const std::vector<uint8_t> image = library->FactoryImage(preset++);
                if (image.empty() || !sim::WriteFileAtomic(folder + file, image, 0644)) {
                    std::fprintf(stderr, "devsim: cannot write %s%s\n", folder.c_str(), file);
                    return 1;
                }
            }
        }
        return 0;
    }

    // Tells a running Oakridge that devices came or went, as the system's device-change broadcast does.
    static void NotifyProgram() {
        platform::MessageEndpoint::Post("Oakridge", kDeviceChange, kDeviceArrivalOrRemoval, 0);
    }

    std::string folder_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string folder = ProgramFolder();
    if (args.size() >= 2 && args[0] == "--folder") {
        folder = args[1].back() == '/' ? args[1] : args[1] + "/";
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage("missing command");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    return Devsim(folder).Run(args);
}

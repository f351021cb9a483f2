// Macro encodings and the macro store: encode and decode throughput of each encoding over the
// macros shipped for its model, and loading the shipped macro files and folders as a first start
// (copying the folders into a new working folder) and as every later start (from the working copy).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "macro/MacroCodec.h"
#include "macro/MacroFileFormat.h"
#include "macro/MacroStore.h"

namespace {

std::string ProgramFolder() {
    const char* dir = std::getenv("OAKRIDGE_BIN_DIR");
    return std::string(dir ? dir : OAKRIDGE_BIN_DIR) + "/";
}

// Below one folder per process, which goes when the process ends.
std::filesystem::path ScratchFolder(const char* name) {
    struct Root {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("oakridge-macro-bench-" + std::to_string(getpid()));
        ~Root() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static Root root;
    auto path = root.path / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

struct Sample {
    std::vector<std::vector<uint8_t>> data;
    std::vector<DecodedMacro> decoded;
    size_t bytes = 0;
};

// Every macro of the model's shipped file, as the step lists a page edits and as the bytes they
// encode to (a stored field's zero padding is not part of the encoding, so it is not counted).
const Sample& Shipped(DeviceModel model) {
    static std::map<DeviceModel, Sample> samples;
    auto [it, added] = samples.try_emplace(model);
    if (added) {
        MacroStore store(ProgramFolder(), ScratchFolder("samples").string() + "/");
        store.LoadMacroFile(model);
        for (const auto& entry : store.List(model)) {
            DecodedMacro macro = DecodeMacro(model, entry->data, StepNames::FilePage());
            it->second.data.push_back(EncodeMacro(model, macro.steps, macro.loop));
            it->second.bytes += it->second.data.back().size();
            it->second.decoded.push_back(std::move(macro));
        }
    }
    return it->second;
}

void Report(benchmark::State& state, const Sample& sample) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * sample.data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample.bytes));
    state.counters["macros"] = static_cast<double>(sample.data.size());
}

void BM_Encode(benchmark::State& state, DeviceModel model) {
    const Sample& sample = Shipped(model);
    if (sample.data.empty()) return state.SkipWithError("no shipped macros for this model");
    for (auto _ : state) {
        for (const DecodedMacro& macro : sample.decoded) {
            auto bytes = EncodeMacro(model, macro.steps, macro.loop);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    Report(state, sample);
}

void BM_Decode(benchmark::State& state, DeviceModel model) {
    const Sample& sample = Shipped(model);
    if (sample.data.empty()) return state.SkipWithError("no shipped macros for this model");
    const StepNames names = StepNames::FilePage();
    for (auto _ : state) {
        for (const auto& data : sample.data) {
            DecodedMacro macro = DecodeMacro(model, data, names);
            benchmark::DoNotOptimize(macro.steps.data());
        }
    }
    Report(state, sample);
}

// One registration per encoding, named after it and the model whose shipped macros it runs over.
struct EncodingCase {
    const char* name;
    DeviceModel model;
};
constexpr EncodingCase kEncodings[] = {
    {"Terminated/Egret", DeviceModel::Egret}, {"TerminatedStop/Crane", DeviceModel::Crane},
    {"Counted/Heron", DeviceModel::Heron},    {"Counted16/HeronDriver", DeviceModel::HeronDriver},
    {"Keyboard/Plover", DeviceModel::Plover},
};

[[maybe_unused]] const bool kRegistered = [] {
    for (const EncodingCase& c : kEncodings) {
        benchmark::RegisterBenchmark((std::string("BM_MacroEncode/") + c.name).c_str(), BM_Encode, c.model);
        benchmark::RegisterBenchmark((std::string("BM_MacroDecode/") + c.name).c_str(), BM_Decode, c.model);
    }
    return true;
}();

constexpr DeviceModel kAllModels[] = {DeviceModel::Plover, DeviceModel::Heron, DeviceModel::HeronDriver,
                                      DeviceModel::Egret,  DeviceModel::Ibis,  DeviceModel::Crane};

// What the six pages ask of the store while the main window is built.
size_t LoadEverything(MacroStore& store) {
    size_t macros = 0;
    for (DeviceModel model : kAllModels) {
        store.LoadMacroFile(model);
        store.SyncMacroFolder(model);
        macros += store.List(model).size();
        for (const auto& [name, list] : store.FileSet(model)) macros += list.size();
    }
    return macros;
}

void BM_LoadShippedMacros_FirstStart(benchmark::State& state) {
    const auto working = ScratchFolder("first");
    size_t macros = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(working);
        std::filesystem::create_directories(working);
        MacroStore store(ProgramFolder(), working.string() + "/");
        state.ResumeTiming();
        macros = LoadEverything(store);
    }
    state.counters["macros"] = static_cast<double>(macros);
}
BENCHMARK(BM_LoadShippedMacros_FirstStart)->Unit(benchmark::kMicrosecond);

void BM_LoadShippedMacros_LaterStart(benchmark::State& state) {
    const auto working = ScratchFolder("later");
    MacroStore first(ProgramFolder(), working.string() + "/");
    LoadEverything(first);
    size_t macros = 0;
    for (auto _ : state) {
        MacroStore store(ProgramFolder(), working.string() + "/");
        macros = LoadEverything(store);
    }
    state.counters["macros"] = static_cast<double>(macros);
}
BENCHMARK(BM_LoadShippedMacros_LaterStart)->Unit(benchmark::kMicrosecond);

}  // namespace

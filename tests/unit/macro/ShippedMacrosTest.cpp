// The macro files and folders shipped in the program folder load and hold whole, valid encodings.
#include <gtest/gtest.h>

#include <cstdlib>

#include "MacroTestSupport.h"
#include "macro/MacroStore.h"

using macrotest::TempFolder;
using M = DeviceModel;

namespace {

std::string ProgramFolder() {
    const char* folder = std::getenv("OAKRIDGE_BIN_DIR");
    return folder ? folder : "";
}

// Decoding and encoding again gives the stored bytes, so nothing in them is malformed.
void ExpectWellFormed(DeviceModel model, const MacroEntry& entry) {
    SCOPED_TRACE(std::string(entry.name.begin(), entry.name.end()));
    const auto decoded = DecodeMacro(model, entry.data, StepNames::FilePage());
    EXPECT_FALSE(decoded.steps.empty());
    EXPECT_TRUE(decoded.hasLoopEntry || model == M::Crane);
    auto encoded = EncodeMacro(model, decoded.steps, decoded.loop);
    if (model == M::Plover || model == M::HeronDriver) encoded.resize(entry.data.size(), 0);  // kept whole
    EXPECT_EQ(encoded, entry.data);
    EXPECT_TRUE(FitsInMacro(model, decoded.steps, decoded.loop, 0));
}

TEST(ShippedMacros, EveryModelHasAValidFileAndFolder) {
    ASSERT_FALSE(ProgramFolder().empty());
    TempFolder working;
    MacroStore store(ProgramFolder(), working.Path());
    for (DeviceModel model : {M::Plover, M::Heron, M::HeronDriver, M::Egret, M::Ibis, M::Crane}) {
        SCOPED_TRACE(FileFormat(model).fileName);
        ASSERT_TRUE(store.LoadMacroFile(model));
        EXPECT_GE(store.List(model).size(), 3u);
        for (const auto& entry : store.List(model)) ExpectWellFormed(model, *entry);

        store.SyncMacroFolder(model);
        const MacroFileSet& set = store.FileSet(model);
        if (model == M::Plover) {
            EXPECT_TRUE(set.empty());
            continue;
        }
        EXPECT_GE(set.size(), 2u);
        EXPECT_LE(set.size(), 3u);
        for (const auto& [key, list] : set) {
            EXPECT_FALSE(list.empty()) << key;
            for (const auto& entry : list) ExpectWellFormed(model, *entry);
        }
    }
}

}  // namespace

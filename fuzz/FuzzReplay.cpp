// Replays a fuzz target's corpus as a unit test, so every build exercises the target's checks under
// the sanitizers even without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(FuzzReplay, CorpusRunsClean) {
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
}

TEST(FuzzReplay, EveryModelWithShortAndOddInputs) {
    for (int model = 0; model < 6; ++model) {
        for (size_t size = 0; size < 40; ++size) {
            std::vector<uint8_t> bytes(size + 1);
            bytes[0] = static_cast<uint8_t>(model);
            for (size_t i = 1; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + size * 11);
            EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
        }
    }
}

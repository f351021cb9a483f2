// The Heron's fire-macro pattern: what reading finds, and that writing changes exactly those bytes.
#include <gtest/gtest.h>

#include "assign/FirePattern.h"

namespace {

using assign::HeronFirePattern;
using B = HeronFirePattern::Bytes;

TEST(HeronFirePatternCode, ReadsAndWritesOnlyWhatItFound) {
    struct Case {
        const char* what;
        B data;
        std::optional<int> count, y, delayMs;
        bool stop;
        B written;  // after writing 9 shots, y -3, 100 ms and stop
    };
    const Case cases[] = {
        {"every field",
         {0, 0xFD, 4, 0xAA, 0xBB, 0xFA, 0xF6, 0xFE, 12, 0x21, 0xA1},
         5,
         -10,
         96,
         false,
         {1, 0xFD, 8, 0xAA, 0xBB, 0xFA, 0xFD, 0xFE, 12, 0x21, 0xA1}},
        // The bytes after FB and FC are carried, even when they look like a tag.
        {"carried pairs",
         {1, 0xFB, 0xFA, 0xFC, 0xFE, 0xFA, 0x05, 0x21},
         std::nullopt,
         5,
         std::nullopt,
         true,
         {1, 0xFB, 0xFA, 0xFC, 0xFE, 0xFA, 0xFD, 0x21}},
        // The two bytes after the count are skipped, a tag among them included.
        {"count skips two bytes",
         {0, 0xFD, 0, 0xFA, 0xFE, 0x21},
         1,
         std::nullopt,
         std::nullopt,
         false,
         {1, 0xFD, 8, 0xFA, 0xFE, 0x21}},
        {"nothing to find",
         {0, 0x21, 0xA1, 0x21},
         std::nullopt,
         std::nullopt,
         std::nullopt,
         false,
         {1, 0x21, 0xA1, 0x21}},
        // An entry cut off by the end is not read; the first byte is the stop flag, never a tag.
        {"cut off",
         {0xFA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFE},
         std::nullopt,
         std::nullopt,
         std::nullopt,
         false,
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HeronFirePattern p = HeronFirePattern::Read(c.data);
        const auto found = p.Found();
        EXPECT_EQ(found.count, c.count);
        EXPECT_EQ(found.y, c.y);
        EXPECT_EQ(found.delayMs, c.delayMs);
        EXPECT_EQ(found.stop, c.stop);
        B written = c.data;
        p.Write(written, {9, -3, 100, true});
        EXPECT_EQ(written, c.written);
    }
}

TEST(HeronFirePatternCode, TheLimitsRoundTripThroughTheirBytes) {
    const B data{0, 0xFD, 0, 0, 0, 0xFA, 0, 0xFE, 0};
    const HeronFirePattern p = HeronFirePattern::Read(data);
    B written = data;
    p.Write(written, {HeronFirePattern::kMaxCount, -128, HeronFirePattern::kMaxDelayMs, false});
    EXPECT_EQ(written[2], 0xFF);
    EXPECT_EQ(written[6], 0x80);
    EXPECT_EQ(written[8], 0xFF);
    const auto back = HeronFirePattern::Read(written).Found();
    EXPECT_EQ(back.count, 256);
    EXPECT_EQ(back.y, -128);
    EXPECT_EQ(back.delayMs, 2040);
}

}  // namespace

// Encoding and decoding of the five macro encodings, the space rule and delay splitting.
#include <gtest/gtest.h>

#include <numeric>

#include "MacroTestSupport.h"
#include "macro/MacroCodec.h"

using macrotest::Bytes;
using macrotest::Step;
using M = DeviceModel;

namespace {

struct EncodeCase {
    const char* what;
    DeviceModel model;
    std::vector<std::pair<int, int>> steps;  // tag, value
    LoopSettings loop;
    std::vector<uint8_t> expected;
};

// What a decode delivered, as (tag, value) pairs.
std::vector<std::pair<int, int>> TagValues(const DecodedMacro& decoded) {
    std::vector<std::pair<int, int>> pairs;
    for (const auto& step : decoded.steps) pairs.emplace_back(step.tag, step.value);
    return pairs;
}

std::vector<MacroStep> Steps(DeviceModel model, const std::vector<std::pair<int, int>>& tagValues) {
    std::vector<MacroStep> steps;
    for (auto [tag, value] : tagValues) steps.push_back(Step(model, tag, value));
    return steps;
}

LoopSettings Loop(LoopMode mode, int count = 1, EndMode end = EndMode::Continue) {
    return {mode, count, end};
}

TEST(MacroEncode, WritesEachEncodingsBytes) {
    const EncodeCase cases[] = {
        {"egret empty continuous", M::Egret, {}, Loop(LoopMode::Continuous), Bytes({0xFD, 0x00, 0xFC, 0x00})},
        {"egret movement 5,-3",
         M::Egret,
         {{0x04, PackMove(5, -3)}},
         Loop(LoopMode::Count, 2),
         Bytes({0xFD, 0x02, 0x04, 0x05, 0xFD, 0xFC, 0x00})},
        {"ibis buttons and modifier",
         M::Ibis,
         {{0xA1, 0xA1}, {0x81, 0x02}, {0x01, 0x02}, {0x21, 0x21}},
         Loop(LoopMode::Count, 254),
         Bytes({0xFD, 0xFE, 0xA1, 0x81, 0x02, 0x01, 0x02, 0x21, 0xFC, 0x00})},
        {"egret count clamped", M::Egret, {}, Loop(LoopMode::Count, 999), Bytes({0xFD, 0xFE, 0xFC, 0x00})},
        {"egret skips foreign tags",
         M::Egret,
         {{0xFB, 3}, {0x82, 0x04}},
         Loop(LoopMode::Count),
         Bytes({0xFD, 0x01, 0x82, 0x04, 0xFC, 0x00})},
        {"heron count 1 stop",
         M::Heron,
         {{0x82, 0x04}, {0x02, 0x04}},
         Loop(LoopMode::Count, 1, EndMode::Stop),
         Bytes({0x01, 0x08, 0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0xD7})},
        {"heron delay 100 ms",
         M::Heron,
         {{0xFE, 100}},
         Loop(LoopMode::Count),
         Bytes({0x00, 0x06, 0xFD, 0x00, 0xFE, 0x0C, 0xFC, 0x53})},
        {"heron continuous, axes",
         M::Heron,
         {{0xFB, -1}, {0xFA, 300}},
         Loop(LoopMode::Continuous),
         Bytes({0x00, 0x08, 0xFD, 0xFF, 0xFB, 0xFF, 0xFA, 0x7F, 0xFC,
                0x5A ^ ((0x08 + 0xFD + 0xFF + 0xFB + 0xFF + 0xFA + 0x7F + 0xFC) & 0xFF)})},
        {"heron driver 16-bit length",
         M::HeronDriver,
         {{0x82, 0x04}, {0x02, 0x04}},
         Loop(LoopMode::Count, 1, EndMode::Stop),
         Bytes({0x01, 0x00, 0x08, 0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0xD7})},
        {"crane continue has no loop entry",
         M::Crane,
         {{0x82, 0x04}},
         Loop(LoopMode::Continue),
         Bytes({0x82, 0x04, 0xFC, 0x00})},
        {"crane stop", M::Crane, {}, Loop(LoopMode::Stop), Bytes({0xFD, 0x80, 0xFC, 0x00})},
        {"crane stop on any key",
         M::Crane,
         {},
         Loop(LoopMode::StopOnAnyKey),
         Bytes({0xFD, 0x7F, 0xFC, 0x00})},
        {"crane count clamped to 126",
         M::Crane,
         {},
         Loop(LoopMode::Count, 200),
         Bytes({0xFD, 0x7E, 0xFC, 0x00})},
        {"keyboard stop", M::Plover, {}, Loop(LoopMode::Stop), Bytes({0x07, 0x05, 0xFF, 0x06})},
        {"keyboard continue", M::Plover, {}, Loop(LoopMode::Continue), Bytes({0x08, 0x05, 0xFF, 0x06})},
        {"keyboard count 5 and delay",
         M::Plover,
         {{0x81, 0x04}, {0x04, 300}, {0x01, 0x04}},
         Loop(LoopMode::Count, 5),
         Bytes({0x05, 0x04, 0x81, 0x04, 0x04, 0x01, 0x2C, 0x01, 0x04, 0x06})},
        {"keyboard movement rows",
         M::Plover,
         {{0x03, 3}, {0x03, -2}},
         Loop(LoopMode::Count),
         Bytes({0x05, 0x00, 0x03, 0x03, 0xFE, 0x06})},
        {"keyboard lone X row",
         M::Plover,
         {{0x03, 7}, {0x82, 0x01}},
         Loop(LoopMode::Count),
         Bytes({0x05, 0x00, 0x03, 0x07, 0x00, 0x82, 0x01, 0x06})},
        {"egret long delay split",
         M::Egret,
         {{0xFE, 70000}},
         Loop(LoopMode::Count),
         Bytes({0xFD, 0x01, 0xFE, 0xFF, 0xFF, 0xFE, 0x11, 0x71, 0xFC, 0x00})},
        {"keyboard long delay split",
         M::Plover,
         {{0x04, 70000}},
         Loop(LoopMode::Count),
         Bytes({0x05, 0x00, 0x04, 0xFF, 0xFF, 0x04, 0x11, 0x71, 0x06})},
        {"negative delay is zero",
         M::Egret,
         {{0xFE, -5}},
         Loop(LoopMode::Count),
         Bytes({0xFD, 0x01, 0xFE, 0x00, 0x00, 0xFC, 0x00})},
    };
    for (const auto& c : cases) {
        const auto steps = Steps(c.model, c.steps);
        EXPECT_EQ(EncodeMacro(c.model, steps, c.loop), c.expected) << c.what;
    }
}

TEST(MacroDecode, ReadsStepsAndLoopEntries) {
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> data;
        std::vector<std::pair<int, int>> steps;
        LoopSettings loop;  // expected; decoding starts from count 1, continue
    } cases[] = {
        {"egret movement",
         M::Egret,
         Bytes({0xFD, 0x00, 0x04, 0x05, 0xFD, 0xFC, 0x00}),
         {{0x04, 0x05FD}},
         Loop(LoopMode::Continuous)},
        {"egret stops at the terminator",
         M::Egret,
         Bytes({0x82, 0x04, 0x00, 0x82, 0x05}),
         {{0x82, 4}},
         Loop(LoopMode::Count)},
        {"egret unknown bytes advance one",
         M::Egret,
         Bytes({0xFD, 0x03, 0x77, 0x82, 0x04, 0xFC, 0x00}),
         {{0x82, 4}},
         Loop(LoopMode::Count, 3)},
        {"egret entry cut off at the end",
         M::Egret,
         Bytes({0xA1, 0xFE, 0x01}),
         {{0xA1, 0xA1}},
         Loop(LoopMode::Count)},
        {"heron delay shown in 8 ms steps",
         M::Heron,
         Bytes({0x00, 0x06, 0xFD, 0x00, 0xFE, 0x0C, 0xFC, 0x53}),
         {{0xFE, 96}},
         Loop(LoopMode::Count)},
        {"heron end stop, continuous",
         M::Heron,
         Bytes({0x01, 0x06, 0xFD, 0xFF, 0xFB, 0x80, 0xFC, 0x00}),
         {{0xFB, -128}},
         Loop(LoopMode::Continuous, 1, EndMode::Stop)},
        {"heron length limits the walk",
         M::Heron,
         Bytes({0x00, 0x03, 0xA1, 0x21, 0xA2, 0x22}),
         {{0xA1, 0xA1}, {0x21, 0x21}},
         Loop(LoopMode::Count)},
        {"heron length beyond the data",
         M::Heron,
         Bytes({0x00, 0xFF, 0xA1}),
         {{0xA1, 0xA1}},
         Loop(LoopMode::Count)},
        {"heron too short", M::Heron, Bytes({0x01}), {}, Loop(LoopMode::Count)},
        {"heron driver too short", M::HeronDriver, Bytes({0x01, 0x00}), {}, Loop(LoopMode::Count)},
        {"heron driver",
         M::HeronDriver,
         Bytes({0x00, 0x00, 0x06, 0xFD, 0x04, 0xFA, 0x02, 0xFC, 0x00}),
         {{0xFA, 2}},
         Loop(LoopMode::Count, 5)},
        {"crane without loop entry continues",
         M::Crane,
         Bytes({0xA4, 0x24, 0xFC, 0x00}),
         {{0xA4, 0xA4}, {0x24, 0x24}},
         Loop(LoopMode::Continue)},
        {"crane stop", M::Crane, Bytes({0xFD, 0x80, 0xFC, 0x00}), {}, Loop(LoopMode::Stop)},
        {"crane stop on any key",
         M::Crane,
         Bytes({0xFD, 0x7F, 0xFC, 0x00}),
         {},
         Loop(LoopMode::StopOnAnyKey)},
        {"keyboard stop is not a count",
         M::Plover,
         Bytes({0x07, 0x05, 0xFF, 0x81, 0x04, 0x06}),
         {{0x81, 4}},
         Loop(LoopMode::Stop)},
        {"keyboard continue", M::Plover, Bytes({0x08, 0x05, 0xFF, 0x06}), {}, Loop(LoopMode::Continue)},
        {"keyboard count, rows, filler",
         M::Plover,
         Bytes({0x05, 0x09, 0x03, 0x03, 0xFE, 0x06, 0x00, 0x00}),
         {{0x03, 3}, {0x03, -2}},
         Loop(LoopMode::Count, 10)},
        {"empty", M::Egret, {}, {}, Loop(LoopMode::Count)},
        {"single byte", M::Plover, Bytes({0x81}), {}, Loop(LoopMode::Count)},
    };
    for (const auto& c : cases) {
        const DecodedMacro decoded =
            DecodeMacro(c.model, c.data, StepNames::FilePage(), Loop(LoopMode::Count));
        EXPECT_EQ(TagValues(decoded), c.steps) << c.what;
        EXPECT_EQ(decoded.loop, c.loop) << c.what;
    }
}

// Data without a loop entry settles the mode only where the encoding gives the lack of one a meaning
// (the Crane: continue); elsewhere a page keeps the mode it showed.
TEST(MacroDecode, OnlyAnEncodingThatMeansSomethingByNoEntrySettlesTheLoopWithoutOne) {
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> data;
        bool settled;
    };
    const Case cases[] = {
        {"egret without entry", M::Egret, Bytes({0xA1, 0x21, 0xFC, 0x00}), false},
        {"egret with entry", M::Egret, Bytes({0xFD, 0x02, 0xA1, 0x21, 0xFC, 0x00}), true},
        {"crane without entry", M::Crane, Bytes({0xA1, 0x21, 0xFC, 0x00}), true},
        {"crane new macro", M::Crane, Bytes({0x00}), true},
        {"egret new macro", M::Egret, Bytes({0x00}), false},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeMacro(c.model, c.data, StepNames::FilePage(), Loop(LoopMode::Count, 5));
        EXPECT_EQ(decoded.loopSettled, c.settled) << c.what;
    }
    EXPECT_EQ(ModeWithoutLoopEntry(M::Crane), LoopMode::Continue);
    EXPECT_EQ(ModeWithoutLoopEntry(M::Ibis), std::nullopt);
}

// The end mode is the first byte of every Heron-family macro with a whole header, with or without a
// loop entry; a new macro (one 00 byte) or a cut header says nothing, so the page keeps its choice.
TEST(MacroDecode, TheHeaderSettlesTheEndModeLoopEntryOrNot) {
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> data;
        bool endSettled;
        bool loopSettled;
        EndMode end;
    };
    const Case cases[] = {
        {"heron stop without entry", M::Heron, Bytes({0x01, 0x03, 0xA1, 0xFC, 0x00}), true, false,
         EndMode::Stop},
        {"heron continue with entry", M::Heron, Bytes({0x00, 0x04, 0xFD, 0x00, 0xFC, 0x00}), true, true,
         EndMode::Continue},
        {"heron new macro", M::Heron, Bytes({0x00}), false, false, EndMode::Stop},
        {"driver stop", M::HeronDriver, Bytes({0x01, 0x00, 0x02, 0xFC, 0x00}), true, false, EndMode::Stop},
        {"driver header cut", M::HeronDriver, Bytes({0x00, 0x00}), false, false, EndMode::Stop},
        {"egret has no end mode", M::Egret, Bytes({0x00, 0x02, 0xFC, 0x00}), false, false, EndMode::Stop},
    };
    for (const auto& c : cases) {
        // Starting from stop shows which data changes it.
        const auto decoded =
            DecodeMacro(c.model, c.data, StepNames::FilePage(), Loop(LoopMode::Count, 1, EndMode::Stop));
        EXPECT_EQ(decoded.endSettled, c.endSettled) << c.what;
        EXPECT_EQ(decoded.loopSettled, c.loopSettled) << c.what;
        EXPECT_EQ(decoded.loop.end, c.end) << c.what;
    }
}

// Bytes an encoding has no entry for are skipped one at a time, so the steps after them survive
// and the next save keeps them. 03 and 83 are such bytes for the mouse decoders even though
// trimming steps over them as two; 07 and 08 start a loop entry only as "07 05 FF" and "08 05 FF".
TEST(MacroDecode, UnknownBytesNeverSwallowTheStepsAfterThem) {
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> data;
        std::vector<std::pair<int, int>> steps;
        LoopSettings loop;
        std::vector<uint8_t> saved;  // what encoding the decoded macro writes
    } cases[] = {
        {"egret 03 before a key press",
         M::Egret,
         Bytes({0xFD, 0x01, 0x03, 0x82, 0x04, 0xFC, 0x00}),
         {{0x82, 4}},
         Loop(LoopMode::Count, 1),
         Bytes({0xFD, 0x01, 0x82, 0x04, 0xFC, 0x00})},
        {"ibis 83 before a movement",
         M::Ibis,
         Bytes({0xFD, 0x00, 0x83, 0x04, 0x05, 0xFD, 0xFC, 0x00}),
         {{0x04, 0x05FD}},
         Loop(LoopMode::Continuous),
         Bytes({0xFD, 0x00, 0x04, 0x05, 0xFD, 0xFC, 0x00})},
        {"crane 83 before a button",
         M::Crane,
         Bytes({0x83, 0xA1, 0x21, 0xFC, 0x00}),
         {{0xA1, 0xA1}, {0x21, 0x21}},
         Loop(LoopMode::Continue),
         Bytes({0xA1, 0x21, 0xFC, 0x00})},
        {"egret 03 before the terminator",
         M::Egret,
         Bytes({0xFD, 0x02, 0xA2, 0x03, 0x00, 0x82, 0x04}),
         {{0xA2, 0xA2}},
         Loop(LoopMode::Count, 2),
         Bytes({0xFD, 0x02, 0xA2, 0xFC, 0x00})},
        {"keyboard 07 without 05 FF",
         M::Plover,
         Bytes({0x05, 0x02, 0x07, 0x81, 0x04, 0x06}),
         {{0x81, 4}},
         Loop(LoopMode::Count, 3),
         Bytes({0x05, 0x02, 0x81, 0x04, 0x06})},
        {"keyboard 08 without 05 FF",
         M::Plover,
         Bytes({0x05, 0x00, 0x08, 0x05, 0x01, 0x82, 0x01, 0x06}),
         {{0x82, 1}},
         Loop(LoopMode::Count, 2),
         Bytes({0x05, 0x01, 0x82, 0x01, 0x06})},
    };
    for (const auto& c : cases) {
        const DecodedMacro decoded =
            DecodeMacro(c.model, c.data, StepNames::FilePage(), Loop(LoopMode::Count));
        EXPECT_EQ(TagValues(decoded), c.steps) << c.what;
        EXPECT_EQ(decoded.loop, c.loop) << c.what;
        EXPECT_EQ(EncodeMacro(c.model, decoded.steps, decoded.loop), c.saved) << c.what;
    }
}

TEST(MacroDecode, MovementValuesAreSignedBytes) {
    const auto decoded = DecodeMacro(M::Egret, Bytes({0x04, 0x05, 0xFD, 0x00}), StepNames::FilePage());
    ASSERT_EQ(decoded.steps.size(), 1u);
    EXPECT_EQ(MoveX(decoded.steps[0].value), 5);
    EXPECT_EQ(MoveY(decoded.steps[0].value), -3);
}

TEST(MacroDecode, RoundTripsEveryEncoding) {
    const std::vector<std::pair<DeviceModel, std::vector<MacroStep>>> cases = {
        {M::Egret,
         {Step(M::Egret, 0x81, 0x01), Step(M::Egret, 0x82, 0x06), Step(M::Egret, 0xFE, 65535),
          Step(M::Egret, 0x02, 0x06), Step(M::Egret, 0x01, 0x01), Step(M::Egret, 0x04, PackMove(-128, 127)),
          Step(M::Egret, 0xB0, 0xB0), Step(M::Egret, 0x30, 0x30)}},
        {M::Crane, {Step(M::Crane, 0xA8, 0xA8), Step(M::Crane, 0xFE, 1), Step(M::Crane, 0x28, 0x28)}},
        {M::Heron,
         {Step(M::Heron, 0x81, 0x80), Step(M::Heron, 0xFE, 2040), Step(M::Heron, 0xFB, -7),
          Step(M::Heron, 0xFA, 9), Step(M::Heron, 0x01, 0x80)}},
        {M::HeronDriver,
         {Step(M::HeronDriver, 0xA2, 0xA2), Step(M::HeronDriver, 0xFE, 80),
          Step(M::HeronDriver, 0x22, 0x22)}},
        {M::Plover,
         {Step(M::Plover, 0x81, 0x81), Step(M::Plover, 0x82, 0x10), Step(M::Plover, 0x04, 12),
          Step(M::Plover, 0x03, -1, MoveAxis::X), Step(M::Plover, 0x03, 1, MoveAxis::Y),
          Step(M::Plover, 0x02, 0x10), Step(M::Plover, 0x01, 0x81)}},
    };
    const LoopSettings loops[] = {Loop(LoopMode::Count, 7, EndMode::Stop), Loop(LoopMode::Continuous),
                                  Loop(LoopMode::Stop), Loop(LoopMode::Continue),
                                  Loop(LoopMode::StopOnAnyKey)};
    for (const auto& [model, steps] : cases) {
        for (const LoopSettings& loop : loops) {
            const auto data = EncodeMacro(model, steps, loop);
            const auto decoded = DecodeMacro(model, data, StepNames::FilePage(), Loop(LoopMode::Count, 99));
            EXPECT_EQ(decoded.steps, steps) << static_cast<int>(model);
            EXPECT_TRUE(decoded.hasLoopEntry || model == M::Crane) << static_cast<int>(model);
            // Whatever the encoder wrote, the data says which mode it is.
            EXPECT_TRUE(decoded.loopSettled) << static_cast<int>(model);
            // Decoding the bytes again gives the same bytes.
            EXPECT_EQ(EncodeMacro(model, decoded.steps, decoded.loop), data) << static_cast<int>(model);
        }
    }
}

TEST(MacroEncode, NeverOverflowsTheDataArea) {
    for (DeviceModel model : {M::Egret, M::Crane, M::Heron, M::HeronDriver, M::Plover}) {
        const int keyTag = model == M::Plover ? 0x81 : 0x82;
        const std::vector<MacroStep> steps(1200, Step(model, keyTag, 0x04));
        const auto data = EncodeMacro(model, steps, Loop(LoopMode::Count));
        const size_t area = model == M::Plover ? 144 : model == M::HeronDriver ? 2016 : 224;
        EXPECT_LE(data.size(), area) << static_cast<int>(model);
        EXPECT_GE(data.size(), area - 2) << static_cast<int>(model);
        const auto decoded = DecodeMacro(model, data, StepNames::FilePage());
        EXPECT_EQ(EncodeMacro(model, decoded.steps, decoded.loop), data) << static_cast<int>(model);
    }
}

TEST(MacroSpace, FitsInMacroFollowsEachPagesRule) {
    struct Case {
        DeviceModel model;
        LoopMode mode;
        int keySteps;  // two bytes each
        int extra;
        bool fits;
    } cases[] = {
        {M::Egret, LoopMode::Count, 107, 3, true},       {M::Egret, LoopMode::Count, 108, 3, false},
        {M::Ibis, LoopMode::Continuous, 108, 3, false},  {M::Crane, LoopMode::Continue, 109, 3, true},
        {M::Crane, LoopMode::Continue, 110, 3, false},   {M::Crane, LoopMode::Stop, 109, 3, false},
        {M::Heron, LoopMode::Count, 105, 0, true},       {M::Heron, LoopMode::Count, 106, 0, false},
        {M::HeronDriver, LoopMode::Count, 109, 0, true}, {M::HeronDriver, LoopMode::Count, 110, 0, false},
        {M::Plover, LoopMode::Count, 67, 7, true},       {M::Plover, LoopMode::Count, 68, 7, false},
        {M::Plover, LoopMode::Continue, 66, 7, true},    {M::Plover, LoopMode::Continue, 67, 7, false},
        {M::Plover, LoopMode::Stop, 66, 7, true},        {M::Plover, LoopMode::Stop, 67, 7, false},
    };
    for (const auto& c : cases) {
        const std::vector<MacroStep> steps(c.keySteps, Step(c.model, c.model == M::Plover ? 0x81 : 0x82, 4));
        EXPECT_EQ(FitsInMacro(c.model, steps, Loop(c.mode), c.extra), c.fits)
            << static_cast<int>(c.model) << " " << c.keySteps;
    }
    // A keyboard movement's two rows count three bytes together; buttons count one on mouse pages.
    const std::vector<MacroStep> rows(94, Step(M::Plover, 0x03, 1));  // 47 movements, 141 bytes
    EXPECT_FALSE(FitsInMacro(M::Plover, rows, Loop(LoopMode::Count), 1));
    EXPECT_TRUE(FitsInMacro(M::Plover, rows, Loop(LoopMode::Count), 0));
    const std::vector<MacroStep> clicks(216, Step(M::Egret, 0xA1, 0xA1));
    EXPECT_TRUE(FitsInMacro(M::Egret, clicks, Loop(LoopMode::Count), 2));
    EXPECT_FALSE(FitsInMacro(M::Egret, clicks, Loop(LoopMode::Count), 3));
}

TEST(MacroDelays, LongPausesSplitAndHeronPausesAreLimited) {
    struct Case {
        DeviceModel model;
        int64_t ms;
        std::vector<int> values;
    } cases[] = {
        {M::Egret, 300, {300}},     {M::Egret, 200000, {65535, 65535, 65535, 3395}},
        {M::Crane, 65535, {65535}}, {M::Plover, 65536, {65535, 1}},
        {M::Heron, 5000, {2040}},   {M::Heron, 100, {96}},
        {M::HeronDriver, 7, {0}},   {M::Egret, -20, {0}},
    };
    for (const auto& c : cases) {
        const auto steps = MakeDelaySteps(c.model, c.ms, StepNames::FilePage());
        std::vector<int> values;
        for (const auto& step : steps) values.push_back(step.value);
        EXPECT_EQ(values, c.values) << static_cast<int>(c.model) << " " << c.ms;
        const int tag = c.model == M::Plover ? 0x04 : 0xFE;
        for (const auto& step : steps) EXPECT_EQ(step.tag, tag);
    }
}

TEST(MacroStepText, UsesTheIconMarkupAndWords) {
    StepNames names = StepNames::FilePage();
    names.keyName = [](int code) { return code == 0x04 ? std::string("A") : std::string(); };
    const StepNames folder = StepNames::FolderPage();
    const std::string mouse = "{x 4}{i Image\\macroicons.png 18 ";
    const std::string keyboard = "{x 4}{i macroicons.png 18 ";
    struct Case {
        DeviceModel model;
        int tag;
        int value;
        MoveAxis axis;
        const StepNames& names;
        std::string text;
    } cases[] = {
        {M::Egret, 0x82, 0x04, MoveAxis::X, names, mouse + "2}{x 4}A"},
        {M::Egret, 0x02, 0x05, MoveAxis::X, names, mouse + "1}{x 4}0x05"},
        {M::Egret, 0x81, 0x04, MoveAxis::X, names, mouse + "2}{x 4}Menu"},
        {M::Ibis, 0x01, 0x04, MoveAxis::X, folder, mouse + "1}{x 4}Alt"},
        {M::Crane, 0xFE, 300, MoveAxis::X, names, mouse + "0}{x 4}300 ms"},
        {M::Egret, 0x04, PackMove(5, -3), MoveAxis::X, names, mouse + "3}{x 4}X: 5  Y: -3"},
        {M::Heron, 0xFB, -4, MoveAxis::X, names, mouse + "3}{x 4}X: -4"},
        {M::HeronDriver, 0xFA, 6, MoveAxis::X, names, mouse + "3}{x 4}Y: 6"},
        {M::Egret, 0xA1, 0xA1, MoveAxis::X, names, mouse + "2}{x 4}%{054}"},
        {M::Heron, 0x24, 0x24, MoveAxis::X, names, mouse + "1}{x 4}%{056}"},
        {M::Egret, 0xA8, 0xA8, MoveAxis::X, names, mouse + "2}{x 4}%{079}"},
        {M::Egret, 0x30, 0x30, MoveAxis::X, names, mouse + "1}{x 4}%{078}"},
        {M::Plover, 0x81, 0x04, MoveAxis::X, names, keyboard + "2}{x 4}A"},
        {M::Plover, 0x82, 0x10, MoveAxis::X, names, keyboard + "2}{x 4}%{079}"},
        {M::Plover, 0x02, 0x08, MoveAxis::X, names, keyboard + "1}{x 4}%{078}"},
        {M::Plover, 0x03, 3, MoveAxis::X, names, keyboard + "3}{x 4}X 3"},
        {M::Plover, 0x03, -2, MoveAxis::Y, names, keyboard + "3}{x 4}Y -2"},
        {M::Plover, 0x04, 12, MoveAxis::X, names, keyboard + "0}{x 4}12 ms"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepText(c.model, c.tag, c.value, c.names, c.axis), c.text) << c.text;
    EXPECT_EQ(StepText(M::Egret, 0xFD, 1, names), "");  // a loop entry is no step
}

}  // namespace

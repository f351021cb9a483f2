// The Heron models' macro memory as the key editor lays it out, against the simulated Heron and
// Heron-driver libraries: ids from address 256, the keys following their macros, the capacity
// check, and the release of a macro no key plays any more.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "DeviceTestSupport.h"
#include "assign/HeronMacroMemory.h"
#include "device/DeviceIds.h"

namespace {

using assign::HeronMacroMemory;
using Code = std::array<uint8_t, 4>;

struct Model {
    const char* name;
    DeviceModel model;
    HeronMacroMemory::Constants constants;
    int lengthBytes;  // of the encoding's length field
    const char* setMacro;
    const char* setKey;
};

void PrintTo(const Model& m, std::ostream* out) {
    *out << m.name;
}

const Model kHeron{"Heron",
                   DeviceModel::Heron,
                   HeronMacroMemory::kHeron,
                   1,
                   "Device_Set_Marco_Buffer_Heron",
                   "Device_Set_Pro_File_Data_Heron"};
const Model kDriver{"HeronDriver",
                    DeviceModel::HeronDriver,
                    HeronMacroMemory::kHeronDriver,
                    2,
                    "Device_Set_Marco_Buffer_Heron_Driver",
                    "Device_Set_Pro_File_Data_Heron_Driver"};

Code MacroKey(uint8_t cls, int id) {
    return {cls, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id & 0xFF), 0};
}

class HeronMacros : public DeviceTest, public ::testing::WithParamInterface<Model> {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        auto& b = Binding();
        ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron, int32_t{kLumenorVid}, int32_t{kHeronPid}), 0);
        // The driver reaches the Heron mouse itself, with the Heron's ids.
        ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronPid}, 1,
                         2, 255, 4),
                  0);
        for (auto& keys : config_.keyLists) {
            keys.clear();
            for (int k = 0; k < 16; ++k) keys.push_back({{0, 0, 0, 0}, k});
            keys[0].code = {1, 1, 0, 0};
        }
        Cache().Clear();
    }
    void TearDown() override {
        Cache().Clear();
        DeviceTest::TearDown();
    }
    const Model& M() const { return GetParam(); }
    HeronMacroCache& Cache() { return *Binding().MacroCache(GetParam().model); }
    int Id(int address) const { return address + M().constants.idBias; }
    // An encoded macro of `length` bytes whose length field says so; `end` is its first byte.
    MacroEntry Macro(std::u16string name, size_t length, uint8_t end = 0) const {
        MacroEntry e{std::move(name), std::vector<uint8_t>(length, 0x21), 0};
        e.data[0] = end;
        if (M().lengthBytes == 1) {
            e.data[1] = static_cast<uint8_t>(length - 2);
        } else {
            e.data[1] = static_cast<uint8_t>((length - 3) >> 8);
            e.data[2] = static_cast<uint8_t>((length - 3) & 0xFF);
        }
        return e;
    }
    HeronMacroMemory Memory(int profile, int key) {
        return HeronMacroMemory(M().model, M().constants, config_, profile, key, Binding());
    }
    // The events the library's copy holds at `id`, cut to `length`; empty when it holds none.
    std::vector<uint8_t> Held(int id, size_t length) {
        std::vector<uint8_t> name(34), events(M().lengthBytes == 1 ? 256 : 2016);
        const EntryPoint get = M().model == DeviceModel::Heron
                                   ? EntryPoint::Device_Get_Marco_Buffer_Heron
                                   : EntryPoint::Device_Get_Marco_Buffer_Heron_Driver;
        if (Binding().Call(get, int32_t{id}, name.data(), events.data()) != 0) return {};
        return {events.begin(), events.begin() + static_cast<std::ptrdiff_t>(length)};
    }
    Code LibraryKey(int profile, int key) {
        Code c{};
        const EntryPoint get = M().model == DeviceModel::Heron
                                   ? EntryPoint::Device_Get_Pro_File_Data_Heron
                                   : EntryPoint::Device_Get_Pro_File_Data_Heron_Driver;
        Binding().Call(get, int32_t{profile}, int32_t{key}, &c[0], &c[1], &c[2]);
        return c;
    }
    std::vector<std::pair<int, MacroEntry>> CacheContents() {
        std::vector<std::pair<int, MacroEntry>> out;
        for (int id : Cache().Ids()) out.emplace_back(id, *Cache().Find(id));
        return out;
    }

    FamilyHConfig config_;
};

TEST_P(HeronMacros, MacrosArePackedFromAddress256AndTheirKeysFollow) {
    const MacroEntry late = Macro(u"Late", 40), early = Macro(u"Early", 30), paste = Macro(u"Paste", 20);
    Cache().Put(700, late);
    Cache().Put(500, early);
    config_.keyLists[0][3].code = MacroKey(6, 700);
    config_.keyLists[1][5].code = MacroKey(14, 500);
    config_.keyLists[0][6].code = {6, 0, 0xF0, 0};  // the double click, not a macro
    SimControl sim(M().model);
    sim.ResetCallCounts();

    HeronMacroMemory memory = Memory(0, 2);
    const auto code = memory.Assign(paste);
    // Ascending old ids: "Early" first; each macro takes its length plus a 32-byte name.
    const int earlyId = Id(256), lateId = Id(256 + 30 + 32), pasteId = Id(256 + 30 + 32 + 40 + 32);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, MacroKey(6, pasteId));
    EXPECT_EQ(config_.keyLists[0][3].code, MacroKey(6, lateId));
    EXPECT_EQ(config_.keyLists[1][5].code, MacroKey(14, earlyId));
    EXPECT_EQ(config_.keyLists[0][6].code, (Code{6, 0, 0xF0, 0}));
    EXPECT_EQ(config_.keyLists[0][2].code, (Code{0, 0, 0, 0}));  // the page's part, through Change
    EXPECT_EQ(LibraryKey(0, 3), config_.keyLists[0][3].code);
    EXPECT_EQ(LibraryKey(1, 5), config_.keyLists[1][5].code);
    EXPECT_EQ(sim.CallCount(M().setKey), 2);
    EXPECT_EQ(Cache().Ids(), (std::vector<int>{earlyId, lateId, pasteId}));
    EXPECT_EQ(Held(earlyId, 30), early.data);
    EXPECT_EQ(Held(lateId, 40), late.data);
    EXPECT_EQ(Held(pasteId, 20), paste.data);
    memory.Change(*code);
    EXPECT_EQ(config_.keyLists[0][2].code, *code);
    EXPECT_TRUE(memory.Changed());

    // A macro in stop mode (first byte 1) is played by class 14; one already laid out moves nothing.
    HeronMacroMemory again = Memory(1, 7);
    sim.ResetCallCounts();
    EXPECT_EQ(again.Assign(Macro(u"EARLY", 30)), MacroKey(6, earlyId));
    EXPECT_EQ(sim.CallCount(M().setMacro), 0);
    EXPECT_FALSE(again.Changed());
    HeronMacroMemory stops = Memory(1, 8);
    EXPECT_EQ(stops.Assign(Macro(u"Stops", 12, 1)), MacroKey(14, Id(256 + 30 + 32 + 40 + 32 + 20 + 32)));
}

// The chosen macro fits when its address + its length - 224 is at most the capacity.
TEST_P(HeronMacros, TheCapacityCheckAdmitsExactlyTheCapacityAndRefusesWithoutAChange) {
    struct Case {
        const char* what;
        std::vector<size_t> held;  // lengths of the macros on the device
        size_t chosen;
        bool fits;
    };
    const std::vector<Case> cases =
        M().model == DeviceModel::Heron
            ? std::vector<Case>{{"exactly the capacity", {200, 200, 200, 200}, 64, true},
                                {"one byte more", {200, 200, 200, 200}, 65, false},
                                // The used macros reach address 1100: 1100 + 100 - 224 = 976.
                                {"100 bytes at address 1100", {200, 200, 200, 116}, 100, true},
                                {"far beyond", {224, 224, 224, 224}, 224, false}}
            : std::vector<Case>{{"exactly the capacity", std::vector<size_t>(19, 2000), 1808, true},
                                {"one byte more", std::vector<size_t>(19, 2000), 1809, false},
                                {"what the Heron refuses", {224, 224, 224, 224}, 224, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Cache().Clear();
        for (KeySlot& key : config_.keyLists[1]) key.code = {0, 0, 0, 0};
        int address = 256;
        for (size_t i = 0; i < c.held.size(); ++i) {
            Cache().Put(Id(address),
                        Macro(u"Held " + std::u16string(1, static_cast<char16_t>(u'A' + i)), c.held[i]));
            if (i + 1 < config_.keyLists[1].size())
                config_.keyLists[1][i + 1].code = MacroKey(6, Id(address));
            address += static_cast<int>(c.held[i]) + 32;
        }
        config_.keyLists[0][2].code = {1, 4, 0, 0};
        const auto keysBefore = config_.keyLists;
        const auto cacheBefore = CacheContents();
        SimControl sim(M().model);
        sim.ResetCallCounts();

        HeronMacroMemory memory = Memory(0, 2);
        const auto code = memory.Assign(Macro(u"Chosen", c.chosen));
        EXPECT_EQ(code.has_value(), c.fits);
        if (c.fits) {
            EXPECT_EQ(*code, MacroKey(6, Id(address)));
            EXPECT_EQ(Held(Id(address), c.chosen), Macro(u"Chosen", c.chosen).data);
            continue;
        }
        EXPECT_STREQ(memory.Refusal(), "%{80}");
        EXPECT_EQ(config_.keyLists, keysBefore);
        EXPECT_EQ(CacheContents(), cacheBefore);
        EXPECT_EQ(sim.CallCount(M().setMacro), 0);
        EXPECT_EQ(sim.CallCount(M().setKey), 0);
        EXPECT_FALSE(memory.Changed());
    }
}

// A key that alone plays its macro lets it go, so a new choice reuses its room; a macro another key
// still plays stays where it is.
TEST_P(HeronMacros, TheOldMacroGoesOnlyWithItsLastKey) {
    struct Case {
        bool sharedWithAnotherKey;
        bool chooseAMacro;
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(std::string(c.sharedWithAnotherKey ? "shared" : "alone") +
                     (c.chooseAMacro ? ", new macro" : ", mouse button"));
        Cache().Clear();
        const int oldId = Id(256), otherId = Id(256 + 50 + 32);
        Cache().Put(oldId, Macro(u"Old", 50));
        Cache().Put(otherId, Macro(u"Other", 20));
        config_.keyLists[0][2].code = MacroKey(6, oldId);
        config_.keyLists[0][3].code = MacroKey(6, otherId);
        config_.keyLists[1][4].code = c.sharedWithAnotherKey ? MacroKey(14, oldId) : Code{1, 2, 0, 0};
        SimControl sim(M().model);
        sim.ResetCallCounts();

        HeronMacroMemory memory = Memory(0, 2);
        Code code{1, 4, 0, 0};
        if (c.chooseAMacro) {
            const auto assigned = memory.Assign(Macro(u"New", 10));
            ASSERT_TRUE(assigned);
            code = *assigned;
        }
        memory.Change(code);
        EXPECT_EQ(config_.keyLists[0][2].code, code);
        bool oldCached = false;
        for (int id : Cache().Ids()) oldCached = oldCached || Cache().Find(id)->name == u"Old";
        EXPECT_EQ(oldCached, c.sharedWithAnotherKey);
        if (!c.chooseAMacro) {
            // The macros that stay are sent again; the ids do not move.
            EXPECT_EQ(Cache().Ids().size(), c.sharedWithAnotherKey ? 2u : 1u);
            EXPECT_EQ(sim.CallCount(M().setMacro), c.sharedWithAnotherKey ? 0 : 1);
            EXPECT_EQ(config_.keyLists[0][3].code, MacroKey(6, otherId));
        } else if (!c.sharedWithAnotherKey) {
            // "Other" moves into the old macro's room, "New" follows it.
            EXPECT_EQ(config_.keyLists[0][3].code, MacroKey(6, Id(256)));
            EXPECT_EQ(code, MacroKey(6, Id(256 + 20 + 32)));
        } else {
            EXPECT_EQ(config_.keyLists[1][4].code, MacroKey(14, oldId));
            EXPECT_EQ(code, MacroKey(6, Id(256 + 50 + 32 + 20 + 32)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, HeronMacros, ::testing::Values(kHeron, kDriver),
                         [](const ::testing::TestParamInfo<Model>& p) { return std::string(p.param.name); });

}  // namespace

// MacroStore against temporary program and working folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "MacroTestSupport.h"
#include "macro/MacroStore.h"
#include "platform/Paths.h"

using macrotest::Bytes;
using macrotest::TempFolder;
using M = DeviceModel;
namespace fs = std::filesystem;

namespace {

class MacroStoreTest : public ::testing::Test {
  protected:
    MacroStoreTest() : store_(program_.Path(), working_ / "Lumenor_MacroBin") {}

    static MacroList Macros(std::initializer_list<std::u16string> names) {
        MacroList list;
        for (const auto& name : names) list.Add({name, Bytes({0xFD, 0x01, 0xFC, 0x00})});
        return list;
    }
    static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
        fs::create_directories(fs::path(path).parent_path());
        ASSERT_TRUE(platform::WriteFileAtomic(path, bytes.data(), bytes.size()));
    }
    static void WriteMacros(DeviceModel model, const std::string& path,
                            std::initializer_list<std::u16string> names) {
        Write(path, SerializeMacroRecords(model, Macros(names)));
    }
    static std::vector<std::u16string> Names(const MacroList& list) {
        std::vector<std::u16string> names;
        for (const auto& entry : list) names.push_back(entry->name);
        return names;
    }
    std::string Working(const std::string& name) const { return working_ / ("Lumenor_MacroBin/" + name); }
    std::string Shipped(const std::string& name) const { return program_ / name; }

    TempFolder program_;
    TempFolder working_;
    MacroStore store_;
};

TEST_F(MacroStoreTest, LoadsTheShippedFileUntilAWorkingCopyExists) {
    WriteMacros(M::Egret, Shipped("MacroMouseEgretData.bin"), {u"shipped"});
    ASSERT_TRUE(store_.LoadMacroFile(M::Egret));
    EXPECT_EQ(Names(store_.List(M::Egret)), std::vector<std::u16string>{u"shipped"});

    WriteMacros(M::Egret, Working("MacroMouseEgretData.bin"), {u"mine", u"too"});
    ASSERT_TRUE(store_.LoadMacroFile(M::Egret));
    EXPECT_EQ(Names(store_.List(M::Egret)), (std::vector<std::u16string>{u"mine", u"too"}));
}

TEST_F(MacroStoreTest, EachLoadFillsOnlyItsModel) {
    WriteMacros(M::Heron, Shipped("MacroMouseHeronData.bin"), {u"heron"});
    WriteMacros(M::HeronDriver, Shipped("MacroMouseHeronDriverData.bin"), {u"driver"});
    ASSERT_TRUE(store_.LoadMacroFile(M::Heron));
    ASSERT_TRUE(store_.LoadMacroFile(M::HeronDriver));
    EXPECT_EQ(Names(store_.List(M::Heron)), std::vector<std::u16string>{u"heron"});
    EXPECT_EQ(Names(store_.List(M::HeronDriver)), std::vector<std::u16string>{u"driver"});
}

TEST_F(MacroStoreTest, ImportReplacesTheListAndAFailedImportChangesNothing) {
    store_.List(M::Crane) = Macros({u"old1", u"old2"});
    const std::string imported = working_ / "picked.bin";
    WriteMacros(M::Crane, imported, {u"new"});

    EXPECT_FALSE(store_.LoadMacroFile(M::Crane, working_ / "missing.bin", true));
    EXPECT_FALSE(store_.LoadMacroFile(M::Crane, working_.Path(), true));  // a folder does not read
    EXPECT_FALSE(store_.LoadMacroFile(M::Crane));                         // no file anywhere
    EXPECT_EQ(Names(store_.List(M::Crane)), (std::vector<std::u16string>{u"old1", u"old2"}));

    EXPECT_TRUE(store_.LoadMacroFile(M::Crane, imported, true));
    EXPECT_EQ(Names(store_.List(M::Crane)), std::vector<std::u16string>{u"new"});
}

TEST_F(MacroStoreTest, ReadsAtMostTheReadLimit) {
    // 854 Egret records are 204960 bytes; only the 853 whole records within 204800 bytes load.
    MacroList many;
    for (int i = 0; i < 854; ++i)
        many.Add({u"m" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), {0x00}});
    Write(Shipped("MacroMouseEgretData.bin"), SerializeMacroRecords(M::Egret, many));
    ASSERT_TRUE(store_.LoadMacroFile(M::Egret));
    EXPECT_EQ(store_.List(M::Egret).size(), 853u);
}

TEST_F(MacroStoreTest, SavesIntoTheWorkingFolderAndExports) {
    store_.List(M::Plover) = Macros({u"kb"});
    ASSERT_TRUE(store_.SaveMacroFile(M::Plover));
    EXPECT_EQ(fs::file_size(Working("MacroKeyBoardData_Heron.bin")), 176u);
    EXPECT_FALSE(fs::exists(Shipped("MacroKeyBoardData_Heron.bin")));

    const std::string exported = working_ / "export.bin";
    ASSERT_TRUE(store_.SaveMacroFile(M::Plover, store_.List(M::Plover), exported, false));
    EXPECT_EQ(platform::ReadFileBytes(exported),
              platform::ReadFileBytes(Working("MacroKeyBoardData_Heron.bin")));

    // A save that cannot replace its target reports it and leaves no temporary file behind.
    fs::create_directories(working_ / "blocked.bin");
    EXPECT_FALSE(store_.SaveMacroFile(M::Plover, store_.List(M::Plover), working_ / "blocked.bin", false));
    for (const auto& entry : fs::directory_iterator(working_.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(MacroStoreTest, WithoutFoldersNothingIsReadOrWritten) {
    MacroStore unset;
    const auto before = fs::current_path();
    unset.List(M::Egret) = Macros({u"x"});
    EXPECT_FALSE(unset.SaveMacroFile(M::Egret));
    EXPECT_FALSE(unset.LoadMacroFile(M::Egret));
    unset.SyncMacroFolder(M::Egret);
    EXPECT_TRUE(unset.FileSet(M::Egret).empty());
    EXPECT_FALSE(fs::exists(before / "MacroMouseEgretData.bin"));
    EXPECT_FALSE(fs::exists(before / "MacroMouseEgretData"));
}

TEST_F(MacroStoreTest, FirstSyncCopiesTheShippedFolderAndLaterSyncsDoNot) {
    WriteMacros(M::Ibis, Shipped("MacroMouseIbisData/Work.bin"), {u"copy", u"paste"});
    WriteMacros(M::Ibis, Shipped("MacroMouseIbisData/Games.BIN"), {u"burst"});
    Write(Shipped("MacroMouseIbisData/readme.txt"), Bytes({1, 2, 3}));

    store_.SyncMacroFolder(M::Ibis);
    const MacroFileSet& set = store_.FileSet(M::Ibis);
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set.begin()->first, "Games.BIN");
    EXPECT_EQ(Names(set.at("Work.bin")), (std::vector<std::u16string>{u"copy", u"paste"}));
    EXPECT_TRUE(fs::exists(Working("MacroMouseIbisData/Work.bin")));
    EXPECT_FALSE(fs::exists(Working("MacroMouseIbisData/readme.txt")));

    // The user deletes a file; the next start reads the working folder only.
    ASSERT_TRUE(store_.DeleteFolderFile(M::Ibis, "Work.bin"));
    EXPECT_FALSE(fs::exists(Working("MacroMouseIbisData/Work.bin")));
    MacroStore nextStart(program_.Path(), working_ / "Lumenor_MacroBin");
    nextStart.SyncMacroFolder(M::Ibis);
    ASSERT_EQ(nextStart.FileSet(M::Ibis).size(), 1u);
    EXPECT_EQ(nextStart.FileSet(M::Ibis).begin()->first, "Games.BIN");
}

TEST_F(MacroStoreTest, MissingShippedFolderStillCreatesTheWorkingFolder) {
    store_.FileSet(M::Crane)["stale.bin"] = Macros({u"x"});
    store_.SyncMacroFolder(M::Crane);
    EXPECT_TRUE(store_.FileSet(M::Crane).empty());
    EXPECT_TRUE(fs::is_directory(Working("MacroMouseCraneData")));
    store_.SyncMacroFolder(M::Plover);  // the keyboard has no folder
    EXPECT_TRUE(store_.FileSet(M::Plover).empty());
}

TEST_F(MacroStoreTest, FolderFilesLoadSaveAndExport) {
    const std::string path = working_ / "outside.bin";
    WriteMacros(M::Heron, path, {u"one"});
    store_.LoadFolderFile(M::Heron, path, "Mine.bin");
    store_.LoadFolderFile(M::Heron, path, "Mine.bin");  // joins the existing list
    store_.LoadFolderFile(M::Heron, working_ / "nothing.bin", "Empty.bin");
    MacroFileSet& set = store_.FileSet(M::Heron);
    EXPECT_EQ(Names(set.at("Mine.bin")), (std::vector<std::u16string>{u"one", u"one"}));
    ASSERT_TRUE(set.count("Empty.bin"));
    EXPECT_TRUE(set.at("Empty.bin").empty());

    ASSERT_TRUE(store_.SaveFolderFile(M::Heron, "Mine.bin", "", true));
    EXPECT_EQ(fs::file_size(Working("MacroMouseHeronData/Mine.bin")), 512u);
    const std::string exported = working_ / "exported.bin";
    ASSERT_TRUE(store_.SaveFolderFile(M::Heron, "Mine.bin", exported, false));
    EXPECT_EQ(fs::file_size(exported), 512u);
    EXPECT_FALSE(store_.SaveFolderFile(M::Heron, "Unknown.bin", "", true));
}

// Every record written must come back at the next start: a list longer than loading reads is not
// written at all (the file on disk keeps its last whole state), and a folder import that would make
// one is refused.
TEST_F(MacroStoreTest, NeverWritesAFileLongerThanLoadingReads) {
    auto many = [](size_t count) {
        MacroList list;
        for (size_t i = 0; i < count; ++i)
            list.Add({u"m" + std::u16string(1, static_cast<char16_t>(0x4E00 + i)), Bytes({0x00})});
        return list;
    };
    for (DeviceModel model : {M::Egret, M::Heron, M::HeronDriver, M::Plover}) {
        SCOPED_TRACE(FileFormat(model).fileName);
        const size_t max = kMacroFileReadLimit / FileFormat(model).recordSize;
        store_.List(model) = many(max);
        ASSERT_TRUE(store_.SaveMacroFile(model));
        ASSERT_TRUE(store_.LoadMacroFile(model));
        EXPECT_EQ(store_.List(model).size(), max);

        store_.List(model) = many(max + 1);
        EXPECT_FALSE(store_.SaveMacroFile(model));
        EXPECT_FALSE(store_.SaveMacroFile(model, store_.List(model), working_ / "export.bin", false));
        EXPECT_FALSE(fs::exists(working_ / "export.bin"));
        ASSERT_TRUE(store_.LoadMacroFile(model));
        EXPECT_EQ(store_.List(model).size(), max);  // the last file that fitted
    }

    const size_t max = kMacroFileReadLimit / FileFormat(M::Egret).recordSize;
    const std::string two = working_ / "two.bin";
    Write(two, SerializeMacroRecords(M::Egret, many(2)));
    MacroFileSet& set = store_.FileSet(M::Egret);
    set["Full.bin"] = many(max - 1);
    store_.LoadFolderFile(M::Egret, two, "Full.bin");
    EXPECT_EQ(set.at("Full.bin").size(), max - 1);
    set["Full.bin"].Add({u"last", Bytes({0x00})});
    EXPECT_TRUE(store_.SaveFolderFile(M::Egret, "Full.bin", "", true));
    set["Full.bin"].Add({u"over", Bytes({0x00})});
    EXPECT_FALSE(store_.SaveFolderFile(M::Egret, "Full.bin", "", true));
    EXPECT_EQ(fs::file_size(Working("MacroMouseEgretData/Full.bin")), max * 240);
}

TEST_F(MacroStoreTest, RenameWorksForAnyNameButNeverLeavesTheFolder) {
    MacroFileSet& set = store_.FileSet(M::Egret);
    set["a.bin"] = Macros({u"x"});
    set["b.bin"] = Macros({u"y"});
    ASSERT_TRUE(store_.SaveFolderFile(M::Egret, "a.bin", "", true));
    ASSERT_TRUE(store_.SaveFolderFile(M::Egret, "b.bin", "", true));

    EXPECT_TRUE(store_.RenameFolderFile(M::Egret, "a.bin", "Déjà vu 宏.bin"));
    EXPECT_TRUE(fs::exists(Working("MacroMouseEgretData/Déjà vu 宏.bin")));
    EXPECT_FALSE(fs::exists(Working("MacroMouseEgretData/a.bin")));
    EXPECT_EQ(Names(set.at("Déjà vu 宏.bin")), std::vector<std::u16string>{u"x"});

    const char* refused[] = {"b.bin", "../escape.bin", "sub/x.bin", "..", ""};
    for (const char* name : refused)
        EXPECT_FALSE(store_.RenameFolderFile(M::Egret, "Déjà vu 宏.bin", name)) << name;
    EXPECT_FALSE(fs::exists(working_ / "Lumenor_MacroBin/escape.bin"));
    EXPECT_EQ(Names(set.at("b.bin")), std::vector<std::u16string>{u"y"});

    // A file that is on disk but not in the set is not replaced either.
    WriteMacros(M::Egret, Working("MacroMouseEgretData/c.bin"), {u"z"});
    EXPECT_FALSE(store_.RenameFolderFile(M::Egret, "b.bin", "c.bin"));
    EXPECT_EQ(
        Names(ParseMacroRecords(M::Egret, *platform::ReadFileBytes(Working("MacroMouseEgretData/c.bin")))),
        std::vector<std::u16string>{u"z"});

    EXPECT_FALSE(store_.DeleteFolderFile(M::Egret, "../MacroMouseEgretData.bin"));
    store_.LoadFolderFile(M::Egret, Working("MacroMouseEgretData/c.bin"), "../c.bin");
    EXPECT_FALSE(set.count("../c.bin"));
}

TEST_F(MacroStoreTest, DriverTempDataFallsBackToItsDefault) {
    EXPECT_EQ(store_.LoadDriverTempData(), MacroStore::kDriverTempDefault);
    Write(Shipped("DriverTempCPIAndLedData.bin"), Bytes({9, 8, 7, 6, 5}));
    EXPECT_EQ(store_.LoadDriverTempData(), (std::array<uint8_t, 4>{9, 8, 7, 6}));
    Write(Working("DriverTempCPIAndLedData.bin"), Bytes({1}));  // too short to use
    EXPECT_EQ(store_.LoadDriverTempData(), MacroStore::kDriverTempDefault);
    ASSERT_TRUE(store_.SaveDriverTempData({4, 3, 2, 1}));
    EXPECT_EQ(store_.LoadDriverTempData(), (std::array<uint8_t, 4>{4, 3, 2, 1}));
}

}  // namespace

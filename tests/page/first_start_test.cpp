// A start as a user meets it: the language the desktop speaks unless the user picked one, the page
// of a device the user has, device entries that say what is attached, and file dialogs that open
// where the user last went and speak the page's language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "AppFixture.h"
#include "SimControl.h"
#include "app/Language.h"
#include "device/ModelTable.h"
#include "platform/Paths.h"
#include "ui/controls/Combo.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"
#include "ui/layout/TabLayout.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";

class FirstStart : public oaktest::AppFixture {
  protected:
    fs::path SettingsFile() const { return TempDir() / "config/oakridge/settings.ini"; }
    void WriteSettings(const std::string& bytes) const {
        fs::create_directories(SettingsFile().parent_path());
        std::ofstream(SettingsFile(), std::ios::binary) << bytes;
    }
    std::string Settings() const {
        std::ifstream in(SettingsFile(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    // Closes the program and starts it again, as a user would.
    void Restart() {
        WaitForDeviceTasks();
        frame_.reset();
        app::Languages() = {};
        StartApp();
        WaitForDeviceTasks();
    }
    int ShownPage() { return Ui().Find<ui::TabLayout>("tab_switch", kMain).GetCurSel(); }
    // The device combo entry of `page`, as its text stands (its state mark first).
    std::string Entry(int page) {
        return Ui().Find<ui::Combo>("device_combo", kMain).GetItemAt(page)->GetText();
    }
    static bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
    // Sent, not posted: the reconnect has started when this returns, so a wait cannot miss it.
    void DeviceChange() { Frame().SendMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0); }
    // Only the devices of `attached` answer.
    static void AttachOnly(std::initializer_list<DeviceModel> attached) {
        for (const ModelRow& row : Models())
            SimControl(row.model).SetAttached(std::find(attached.begin(), attached.end(), row.model) !=
                                              attached.end());
    }
    void TearDown() override {
        for (const ModelRow& row : Models()) {
            SimControl(row.model).SetAttached(true);
            SimControl(row.model).SetLatency(0);
        }
        oaktest::AppFixture::TearDown();
    }
};

// A case's description as a test name.
std::string CaseName(std::string name) {
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

// --- the start language ---------------------------------------------------------------------

struct LanguageCase {
    const char* what;
    const char* languageVar;  // LANGUAGE, unset when null
    const char* lcAll;        // LC_ALL
    const char* lang;         // LANG
    const char* settings;     // the settings file's bytes; none when null
    const char* shown;        // what the language chooser shows
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.what;
}

class StartLanguage : public FirstStart, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(StartLanguage, IsAppliedAsAClickOnItsOption) {
    const LanguageCase& c = GetParam();
    if (c.languageVar) setenv("LANGUAGE", c.languageVar, 1);
    if (c.lcAll) setenv("LC_ALL", c.lcAll, 1);
    setenv("LANG", c.lang, 1);
    if (c.settings) WriteSettings(c.settings);
    const std::string before = c.settings ? Settings() : std::string();
    StartApp();
    WaitForDeviceTasks();
    EXPECT_EQ(Ui().Text("language_combo", kMain), c.shown);
    EXPECT_EQ(app::CurrentLanguageName(), c.shown);
    // Its option is chosen and its font is the window's: what a click on it does.
    const int options = Ui().Find<ui::Container>("language_option", kMain).GetCount();
    int chosen = 0;
    for (int i = 1; i <= options; ++i) {
        const std::string name = "language_" + std::to_string(i);
        if (Ui().IsSelected(name, kMain)) {
            ++chosen;
            EXPECT_EQ(Ui().Text(name, kMain), c.shown);
            ui::PaintManager& m = Frame().GetManager();
            EXPECT_EQ(m.GetDefaultFont().face, m.GetFont(Ui().Find(name, kMain).GetFont()).face);
            EXPECT_EQ(m.GetFont(1).face, m.GetFont(Ui().Find(name, kMain).GetFont()).face);
        }
    }
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(Frame().GetTitle(), ui::TextTable::Instance().Resolve("%{088}"));
    // A start remembers nothing of its own accord: the desktop's language is not the user's pick.
    EXPECT_EQ(c.settings ? Settings() : std::string(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, StartLanguage,
    ::testing::Values(
        LanguageCase{"German desktop", nullptr, nullptr, "de_DE.UTF-8", nullptr, "German"},
        LanguageCase{"unknown locale", nullptr, nullptr, "tlh_QO.UTF-8", nullptr, "English"},
        LanguageCase{"C locale", nullptr, nullptr, "C", nullptr, "English"},
        LanguageCase{"Canadian French", nullptr, nullptr, "fr_CA.UTF-8", nullptr, "CA-French"},
        LanguageCase{"Swedish in Finland", nullptr, nullptr, "sv_FI.UTF-8", nullptr, "Swedish (Finland)"},
        LanguageCase{"Traditional Chinese", nullptr, nullptr, "zh_TW.UTF-8", nullptr, "繁體中文"},
        LanguageCase{"LC_ALL before LANG", nullptr, "pl_PL.UTF-8", "de_DE.UTF-8", nullptr, "Polish"},
        LanguageCase{"LANGUAGE before all", "nb_NO:de", "pl_PL.UTF-8", "de_DE.UTF-8", nullptr, "Norwegian"},
        LanguageCase{"remembered Thai wins", nullptr, nullptr, "de_DE.UTF-8", "language=Thailand.xml\n",
                     "Thai"},
        LanguageCase{"remembered by display name", nullptr, nullptr, "de_DE.UTF-8", "language = thai\n",
                     "Thai"},
        LanguageCase{"remembered without .xml", nullptr, nullptr, "de_DE.UTF-8", "language=Poland\n",
                     "Polish"},
        LanguageCase{"corrupt settings", nullptr, nullptr, "ru_RU.UTF-8",
                     "\x7f"
                     "ELF\x02\x01\x01\x00language",
                     "Russian"},
        LanguageCase{"a language the skin lacks", nullptr, nullptr, "es_ES.UTF-8", "language=Klingon.xml\n",
                     "Spanish"},
        LanguageCase{"settings of another program", nullptr, nullptr, "da_DK.UTF-8",
                     "[General]\ntheme=dark\nlanguage\n", "Denmark"}),
    [](const auto& test) { return CaseName(test.param.what); });

TEST_F(FirstStart, ThePickedLanguageIsTheNextStartsLanguage) {
    setenv("LANG", "en_US.UTF-8", 1);
    StartApp();
    Ui().Click("language_10", kMain);  // Russian
    Restart();
    EXPECT_EQ(Ui().Text("language_combo", kMain), "Russian");
    EXPECT_TRUE(Ui().IsSelected("language_10", kMain));

    // The combo is a pick too; the next start applies it with its option's font.
    Ui().SelectComboItem("language_combo", 14, kMain);  // Thai
    Restart();
    EXPECT_EQ(app::CurrentLanguageName(), "Thai");
    EXPECT_EQ(Frame().GetManager().GetDefaultFont().face, "Loma");
    EXPECT_NE(Settings().find("language=Thailand.xml"), std::string::npos) << Settings();
}

// --- the start page -------------------------------------------------------------------------

class OnlyOneAttached : public FirstStart, public ::testing::WithParamInterface<DeviceModel> {};

TEST_P(OnlyOneAttached, ItsPageIsShownAndTheEntriesSaySo) {
    AttachOnly({GetParam()});
    StartApp();
    WaitForDeviceTasks();
    const int page = RowOf(GetParam()).page;
    EXPECT_EQ(ShownPage(), page);
    EXPECT_EQ(Ui().CurSel("device_combo", kMain), page);
    for (const ModelRow& row : Models())
        EXPECT_TRUE(StartsWith(Entry(row.page), row.page == page ? app::MainFrame::kDeviceAttachedMark
                                                                 : app::MainFrame::kDeviceAbsentMark))
            << Entry(row.page);
    // What the user sees is the dot beside the model's name, in the closed combo too.
    EXPECT_EQ(Ui().ResolvedText("device_combo", kMain).find("%{"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Models, OnlyOneAttached,
                         ::testing::Values(DeviceModel::Plover, DeviceModel::Heron, DeviceModel::HeronDriver,
                                           DeviceModel::Egret, DeviceModel::Ibis, DeviceModel::Crane),
                         [](const auto& test) { return std::string(RowOf(test.param).suffix); });

struct PageCase {
    const char* what;
    const char* settings;
    std::vector<DeviceModel> attached;
    DeviceModel shown;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.what;
}

class StartPage : public FirstStart, public ::testing::WithParamInterface<PageCase> {};

TEST_P(StartPage, FollowsTheRememberedPageWhileItsDeviceIsThere) {
    const PageCase& c = GetParam();
    for (const ModelRow& row : Models())
        SimControl(row.model).SetAttached(std::find(c.attached.begin(), c.attached.end(), row.model) !=
                                          c.attached.end());
    WriteSettings(c.settings);
    StartApp();
    WaitForDeviceTasks();
    EXPECT_EQ(ShownPage(), RowOf(c.shown).page);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StartPage,
    ::testing::Values(PageCase{"remembered and attached",
                               "page=MousePageIbis\n",
                               {DeviceModel::Plover, DeviceModel::Egret, DeviceModel::Ibis},
                               DeviceModel::Ibis},
                      PageCase{"remembered but absent",
                               "page=MousePageIbis\n",
                               {DeviceModel::Heron, DeviceModel::Crane},
                               DeviceModel::Heron},
                      PageCase{"remembered by model name",
                               "page=crane\n",
                               {DeviceModel::Plover, DeviceModel::Crane},
                               DeviceModel::Crane},
                      PageCase{"nothing attached", "page=MousePageCrane\n", {}, DeviceModel::Plover},
                      PageCase{"a page the skin lacks",
                               "page=MousePageOsprey\n",
                               {DeviceModel::Egret},
                               DeviceModel::Egret}),
    [](const auto& test) { return CaseName(test.param.what); });

TEST_F(FirstStart, APagePickedDuringTheStartUpReadStays) {
    WriteSettings("page=MousePageCrane\n");
    SimControl(DeviceModel::Heron).SetLatency(80);  // a slow mouse keeps the read busy
    OpenApp();
    Ui().RunUntilIdle();
    ASSERT_TRUE(Frame().IsDeviceTaskRunning());
    Ui().SelectComboItem("device_combo", RowOf(DeviceModel::Ibis).page, kMain);
    ASSERT_TRUE(Frame().IsDeviceTaskRunning()) << "the read ended before the pick; the test shows nothing";
    WaitForDeviceTasks();
    EXPECT_EQ(ShownPage(), RowOf(DeviceModel::Ibis).page);
    // And it is the page the next start opens on.
    SimControl(DeviceModel::Heron).SetLatency(0);
    Restart();
    EXPECT_EQ(ShownPage(), RowOf(DeviceModel::Ibis).page);
}

TEST_F(FirstStart, EntriesFollowPlugAndUnplugWithoutMovingThePage) {
    StartApp();
    WaitForDeviceTasks();
    const int crane = RowOf(DeviceModel::Crane).page;
    Ui().SelectComboItem("device_combo", RowOf(DeviceModel::Egret).page, kMain);
    EXPECT_TRUE(StartsWith(Entry(crane), app::MainFrame::kDeviceAttachedMark));

    SimControl(DeviceModel::Crane).SetAttached(false);
    DeviceChange();
    WaitForDeviceTasks();
    EXPECT_TRUE(StartsWith(Entry(crane), app::MainFrame::kDeviceAbsentMark)) << Entry(crane);
    EXPECT_TRUE(StartsWith(Entry(RowOf(DeviceModel::Egret).page), app::MainFrame::kDeviceAttachedMark));
    EXPECT_EQ(ShownPage(), RowOf(DeviceModel::Egret).page);
    Ui().Click("device_combo", kMain);
    Ui().Snapshot(::testing::TempDir() + "device_combo_crane_absent.png", "ComboWnd");
    Ui().PressKey(ui::kVkEscape);

    SimControl(DeviceModel::Crane).SetAttached(true);
    DeviceChange();
    WaitForDeviceTasks();
    EXPECT_TRUE(StartsWith(Entry(crane), app::MainFrame::kDeviceAttachedMark)) << Entry(crane);
    EXPECT_EQ(ShownPage(), RowOf(DeviceModel::Egret).page);
}

// --- file dialogs ---------------------------------------------------------------------------

TEST_F(FirstStart, FileDialogsSpeakThePagesLanguageAndOpenWhereTheUserLastWent) {
    setenv("LANG", "de_DE.UTF-8", 1);
    ShowDevice(RowOf(DeviceModel::Egret).page);
    const auto& shown = Ui().Backend().FileDialogsShown();
    const fs::path profiles = TempDir() / "Profile";
    fs::create_directories(profiles);

    Ui().AnswerFileDialog((profiles / "mine").string());
    Ui().Click("save_data_Egret", kMain);
    WaitForDeviceTasks();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Profil speichern");
    EXPECT_EQ(shown[0].filterName, "Profildateien");
    EXPECT_EQ(shown[0].initialName, "Egret-profile.bin");
    EXPECT_EQ(shown[0].initialFolder, platform::UserDocumentsFolder());
    EXPECT_TRUE(fs::exists(profiles / "mine.bin"));

    Ui().AnswerFileDialog(std::nullopt);
    Ui().Click("import_data_Egret", kMain);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, "Profil laden");
    EXPECT_EQ(shown[1].initialFolder, profiles.string());

    // The macro dialogs share the folder, and the next start still knows it.
    Restart();
    Ui().SelectComboItem("device_combo", RowOf(DeviceModel::Egret).page, kMain);
    Ui().Click("marco_manager_Egret", kMain);
    Ui().AnswerFileDialog(std::nullopt);
    Ui().RightClick("Marco_Info_list_Egret", kMain);
    Ui().Click("menu_Name_Export", "CMenuWnd");
    const auto& again = Ui().Backend().FileDialogsShown();
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again.back().title, "Makros exportieren");
    EXPECT_EQ(again.back().filterName, "Makrodateien");
    EXPECT_EQ(again.back().initialName, "Egret-macros.bin");
    EXPECT_EQ(again.back().initialFolder, profiles.string());

    // A folder that has gone is not offered.
    fs::remove_all(profiles);
    Ui().AnswerFileDialog(std::nullopt);
    Ui().RightClick("Marco_Info_list_Egret", kMain);
    Ui().Click("menu_Name_Import", "CMenuWnd");
    EXPECT_EQ(again.back().title, "Makros importieren");
    EXPECT_EQ(again.back().initialFolder, platform::UserDocumentsFolder());
}

}  // namespace

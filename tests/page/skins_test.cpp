// Every skin document we ship builds without a single reported problem, and a main skin that
// cannot be built ends the program with a dialog that says where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "AppFixture.h"
#include "TextFit.h"
#include "UiDriver.h"
#include "app/Application.h"
#include "macro/MarcoListUI.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/builder/Builder.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"
#include "ui/layout/TabLayout.h"

namespace {

std::vector<std::string> FilesIn(const char* folder) {
    std::vector<std::string> files;
    for (auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ui::Toolkit::GetResourcePath()) / folder))
        if (entry.path().extension() == ".xml")
            files.push_back(std::string(folder) + "/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Every skin document and language file we ship, found by listing their folders, builds without a
// single reported problem. A document that other documents include (a shared part, possibly with
// parameters) is checked through them. Custom classes stand in as plain containers here; what
// the real pages build into them is checked below.
TEST(ShippedSkins, BuildWithoutProblems) {
    oaktest::UiDriver ui;
    auto skins = FilesIn("XML");
    auto languages = FilesIn("Languages");
    ASSERT_FALSE(skins.empty());
    ASSERT_EQ(languages.size(), 15u);
    std::map<std::string, ui::BuildResult> built;
    std::set<std::string> included;
    for (const auto& file : skins) {
        ui::PaintManager manager;
        ui::Builder builder;
        auto result = builder.Build(file, manager, [](std::string_view cls) -> std::unique_ptr<ui::Control> {
            if (cls == "MarcoList") return std::make_unique<MarcoListUI>();
            for (const char* known :
                 {"KeyboardPage", "MousePage", "MacroSetting", "FireMacroSettingPage", "UartLedSettingPage"})
                if (std::string_view(cls).starts_with(known)) return std::make_unique<ui::Container>();
            return nullptr;
        });
        included.insert(result.includes.begin(), result.includes.end());
        built.emplace(file, std::move(result));
    }
    for (const auto& [file, result] : built) {
        if (included.contains(file)) continue;
        EXPECT_TRUE(result.ok) << file;
        EXPECT_TRUE(result.report.Empty()) << result.report.ToString();
    }
    for (const auto& file : languages) {
        ui::PaintManager manager;
        ui::Builder builder;
        auto result = builder.Build(file, manager);
        EXPECT_TRUE(result.ok) << file;
        EXPECT_TRUE(result.report.Empty()) << result.report.ToString();
        EXPECT_EQ(result.root, nullptr) << file << " builds controls";
    }
}

// Expands "%d" in `pattern` to first..last, or gives the name itself.
std::vector<std::string> Names(const std::string& pattern, int first = 0, int last = 0) {
    auto at = pattern.find("%d");
    if (at == std::string::npos) return {pattern};
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i)
        out.push_back(pattern.substr(0, at) + std::to_string(i) + pattern.substr(at + 2));
    return out;
}

struct BuiltSkin {
    ui::PaintManager manager;
    ui::BuildResult result;
    std::vector<std::string> customClasses;
    std::multimap<std::string, ui::Control*> byName;  // lower-case name → control
};

std::unique_ptr<BuiltSkin> BuildSkin(const std::string& file) {
    auto built = std::make_unique<BuiltSkin>();
    ui::Builder builder;
    built->result =
        builder.Build(file, built->manager, [&](std::string_view cls) -> std::unique_ptr<ui::Control> {
            if (cls == "MarcoList") return std::make_unique<MarcoListUI>();
            for (const char* known : {"MacroSetting", "FireMacroSettingPage", "UartLedSettingPage"})
                if (std::string_view(cls).starts_with(known)) {
                    built->customClasses.emplace_back(cls);
                    return std::make_unique<ui::Container>();
                }
            return nullptr;
        });
    std::vector<ui::Control*> stack{built->result.first};
    while (!stack.empty()) {
        ui::Control* c = stack.back();
        stack.pop_back();
        if (!c) continue;
        if (!c->GetName().empty()) built->byName.emplace(ui::ToLower(c->GetName()), c);
        if (auto* container = dynamic_cast<ui::Container*>(c))
            for (int i = 0; i < container->GetCount(); ++i) stack.push_back(container->GetItemAt(i));
    }
    return built;
}

struct Want {
    std::string pattern;
    int first = 0;
    int last = 0;
};
struct SkinNames {
    const char* skin;
    std::vector<Want> names;
};

// Each skin builds without a problem and holds every wanted name once; every other name it holds
// carries the model's suffix, except the key editor's few plain ones.
void ExpectSkinsHold(const std::vector<SkinNames>& skins, const std::string& suffix) {
    // The family-E key editors' current value and profile labels; the Heron fire-key panel's unused
    // buttons.
    const std::set<std::string> plainNames = {
        "current_value", "key_office_mode_element", "key_game_mode_element", "btn_ok", "btn_cancel",
        "closebtn"};
    const std::string own = "_" + ui::ToLower(suffix);
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin.skin);
        auto built = BuildSkin(skin.skin);
        ASSERT_TRUE(built->result.ok);
        EXPECT_TRUE(built->result.report.Empty()) << built->result.report.ToString();
        for (const auto& want : skin.names)
            for (const auto& name : Names(want.pattern, want.first, want.last))
                EXPECT_EQ(built->byName.count(ui::ToLower(name)), 1u) << name;
        for (const auto& [name, control] : built->byName)
            EXPECT_TRUE(name.find(own) != std::string::npos || plainNames.contains(control->GetName()))
                << control->GetName();
    }
}

// What the page of either Heron model looks up in its skin, by the model's suffix.
std::vector<Want> FamilyHPageNames(const std::string& s) {
    return {{"status_" + s},
            {"hint_" + s},
            {"web_data_" + s},
            {"device_Mouse_" + s + "_page"},
            {"profile%d_" + s, 1, 2},
            {"marco_manager_" + s},
            {"advanced_Settings_" + s},
            {"led_Settings_" + s},
            {"write_data_" + s},
            {"reset_data_" + s},
            {"save_data_" + s},
            {"import_data_" + s},
            {"Setting_switch_" + s},
            {"profile_page_" + s},
            {"profile_key_" + s + "_%d", 1, 8},
            {"result_DPI_count_setting_" + s},
            {"result_DPI%d_check_" + s, 1, 7},
            {"result_DPI%d_slider_" + s, 1, 7},
            {"result_DPI%d_edit_" + s, 1, 7},
            {"result_DPI%d_color_" + s, 1, 7},
            {"result_fire_count_" + s},
            {"result_fire_time_" + s},
            {"result_fire_continue_" + s},
            {"press_types_pro%d_" + s, 1, 2},
            {"result_middle_key_switch_pro%d_" + s, 1, 2},
            {"result_cpi_key_switch_pro%d_" + s, 1, 2},
            {"result_gun_key_switch_pro2_" + s},
            {"mouse_system_speed_" + s},
            {"mouse_system_double_speed_" + s},
            {"mouse_system_screen_speed_" + s},
            {"result_mouse_system_iscontrol_" + s},
            {"result_mouse_system_isscreen_" + s},
            {"result_LED_mode_rainbow_" + s},
            {"result_LED_mode_random_leisure_" + s},
            {"result_LED_mode_random_sleep_" + s},
            {"result_LED_mode_random_sport_" + s},
            {"result_LED_mode_DPI_color_breath_" + s},
            {"result_LED_mode_DPI_light_on_" + s},
            {"result_LED_mode_off_" + s},
            {"result_LED_status_on_" + s},
            {"result_LED_status_off_" + s}};
}

// The Heron page's skin holds every control its page looks up, once each (both views of each
// press type the page edits, the gun's on profile 2), and no name of another model.
TEST(HeronSkins, HoldEveryControlThePageLooksUp) {
    oaktest::UiDriver ui;
    std::vector<Want> names = FamilyHPageNames("Heron");
    names.insert(names.end(), {{"fire_macro_Settings_Heron"},
                               {"result_LED_light_all_Heron"},
                               {"result_LED_light_half_Heron"},
                               {"result_mode_speed_Heron"}});
    ExpectSkinsHold({{"XML/MousePage_Heron.xml", names}}, "Heron");
}

// The driver's page has the Heron's controls but no fire keys, no extent and no lighting speed.
TEST(HeronDriverSkins, HoldEveryControlThePageLooksUpAndNoneItLacks) {
    oaktest::UiDriver ui;
    ExpectSkinsHold({{"XML/MousePage_Heron_Driver.xml", FamilyHPageNames("Heron_Driver")}}, "Heron_Driver");
    auto built = BuildSkin("XML/MousePage_Heron_Driver.xml");
    for (const char* absent :
         {"fire_macro_Settings_Heron_Driver", "fire_page_Heron_Driver", "result_LED_light_all_Heron_Driver",
          "result_LED_light_half_Heron_Driver", "result_mode_speed_Heron_Driver"})
        EXPECT_EQ(built->byName.count(ui::ToLower(absent)), 0u) << absent;
    EXPECT_TRUE(built->customClasses == (std::vector<std::string>{"MacroSettingFilePage_Heron_Driver",
                                                                  "MacroSettingFolderPage_Heron_Driver"}));
}

// The Ibis skins hold every control its page, key editor, fire-key panel, macro pages and entry
// dialog look up, once each, and no name of another model.
TEST(IbisSkins, HoldEveryControlTheirWindowsLookUp) {
    oaktest::UiDriver ui;
    const std::vector<Want> macroPage = {
        {"marco_edit_container_Ibis"}, {"Marco_Info_list_Ibis"}, {"AddMarcoButton_Ibis"},
        {"DeleteMarcoButton_Ibis"},    {"recordButton_Ibis"},    {"Marco_Content_list_Ibis"},
        {"macro_edit_layout_Ibis"},    {"delay_record_Ibis"},    {"delay_setting_Ibis"},
        {"delay_edit_Ibis"},           {"delay_no_Ibis"},        {"circle_setting_Ibis"},
        {"circle_edit_Ibis"},          {"circle_all_Ibis"},      {"macro_insert_combo_Ibis"},
    };
    const std::vector<SkinNames> skins = {
        {"XML/MousePage_Ibis.xml",
         {{"status_Ibis"},
          {"hint_Ibis"},
          {"web_data_Ibis"},
          {"device_Mouse_Ibis_page"},
          {"profile%d_Ibis", 1, 3},
          {"marco_manager_Ibis"},
          {"advanced_Settings_Ibis"},
          {"led_Settings_Ibis"},
          {"fire_macro_Settings_Ibis"},
          {"reset_data%d_Ibis", 1, 3},
          {"save_data_Ibis"},
          {"import_data_Ibis"},
          {"Setting_switch_Ibis"},
          {"profile_page_Ibis"},
          {"profile_key_Ibis_%d", 1, 8},
          {"result_DPI_count_setting_Ibis"},
          {"result_DPI%d_check_Ibis", 1, 7},
          {"result_DPI%d_slider_Ibis", 1, 7},
          {"result_DPI%d_edit_Ibis", 1, 7},
          {"result_DPI%d_color_Ibis", 1, 7},
          {"result_report_rate%d_Ibis", 1, 4},
          {"result_fire_count%d_Ibis", 1, 3},
          {"result_fire_time%d_Ibis", 1, 3},
          {"result_fire_continue%d_Ibis", 1, 3},
          {"mouse_system_speed_Ibis"},
          {"mouse_system_double_speed_Ibis"},
          {"mouse_system_screen_speed_Ibis"},
          {"result_mouse_system_iscontrol_Ibis"},
          {"result_mouse_system_isscreen_Ibis"},
          {"result_LED_mode_off_Ibis"},
          {"result_LED_mode_Random_Ibis"},
          {"result_LED_mode_Breath_in_turn_Ibis"},
          {"result_LED_mode_Fixed_Color_Ibis"},
          {"result_LED_mode_Mixed_Color_Ibis"},
          {"result_LED_mode_DPI_Color_Ibis"},
          {"result_LED_light_all_Ibis"},
          {"result_LED_light_half_Ibis"},
          {"result_mode_speed_Ibis"}}},
        {"XML/KeyEdit_Ibis.xml",
         {{"btn_colse_Ibis"},
          {"btn_ok_Ibis"},
          {"btn_cancel_Ibis"},
          {"btn_reset_Ibis"},
          {"current_value"},
          {"key_office_mode_element"},
          {"key_game_mode_element"},
          {"standard_mouse_keys_setting_Ibis"},
          {"special_keys_setting_Ibis"},
          {"multimedia_setting_Ibis"},
          {"web_setting_Ibis"},
          {"pc_setting_Ibis"},
          {"user_defined_setting_Ibis"},
          {"base_macro_setting_Ibis"},
          {"fire_macro_setting_Ibis"},
          {"result_standard_mouse_keys_value_Ibis"},
          {"result_special_keys_value_Ibis"},
          {"result_multimedia_value_Ibis"},
          {"result_web_value_Ibis"},
          {"result_pc_value_Ibis"},
          {"result_key_value_Ibis"},
          {"check_layout_Ibis"},
          {"ctrl_check_Ibis"},
          {"alt_check_Ibis"},
          {"shift_check_Ibis"},
          {"win_check_Ibis"},
          {"result_marco_file_value_Ibis"},
          {"result_marco_folder_value_Ibis"},
          {"result_fire_macro_value_Ibis"},
          {"Gun6_Num_Ibis"},
          {"Gun7_Num_Ibis"}}},
        {"XML/FireKeyEdit_Ibis.xml",
         {{"keep_left_check_Ibis"},
          {"gun_AKM_Ibis"},
          {"gun_M16_Ibis"},
          {"gun_M4_Ibis"},
          {"gun_UMP9_Ibis"},
          {"gun_SCAR-L_Ibis"},
          {"gun_556mm_Fire_Ibis"},
          {"gun_762mm_Fire_Ibis"},
          {"result_fire_gun_count%d_Ibis", 1, 3},
          {"result_fire_X_Value%d_Ibis", 1, 3},
          {"result_fire_X_Adjustment_Value%d_Ibis", 1, 3},
          {"result_fire_Y_Value%d_Ibis", 1, 3},
          {"result_fire_Y_Adjustment_Value%d_Ibis", 1, 3},
          {"result_fire_shoot_time_Value%d_Ibis", 1, 3},
          {"result_fire_color%d_Ibis", 1, 3},
          {"btn_ok_Ibis"},
          {"btn_cancel_Ibis"},
          {"closebtn_Ibis"}}},
        {"XML/MarcoManagerFile_Ibis.xml", macroPage},
        {"XML/MarcoManagerFolder_Ibis.xml", macroPage},
        {"XML/MarcoEdit_Ibis.xml",
         {{"dialog_title_Ibis"},
          {"result_value_Ibis"},
          {"result_value2_Ibis"},
          {"waring_messgae_Ibis"},
          {"x_value_message_Ibis"},
          {"y_value_message_Ibis"},
          {"btn_ok_Ibis"},
          {"btn_cancel_Ibis"},
          {"btn_colse_Ibis"}}},
    };
    ExpectSkinsHold(skins, "Ibis");
}

ui::Control* FindIn(const BuiltSkin& built, const char* name) {
    auto it = built.byName.find(ui::ToLower(name));
    return it == built.byName.end() ? nullptr : it->second;
}

// The Crane skins: two profiles, key buttons in "profile1_page_Crane", the key switch boxes, its
// lighting options and reset buttons, a fire-key panel of one unnumbered segment, the four loop
// options and, on the folder page only, the random time.
TEST(CraneSkins, HoldEveryControlTheirWindowsLookUp) {
    oaktest::UiDriver ui;
    std::vector<Want> macroPage = {
        {"marco_edit_container_Crane"},
        {"Marco_Info_list_Crane"},
        {"AddMarcoButton_Crane"},
        {"DeleteMarcoButton_Crane"},
        {"recordButton_Crane"},
        {"Marco_Content_list_Crane"},
        {"macro_edit_layout_Crane"},
        {"delay_record_Crane"},
        {"delay_setting_Crane"},
        {"delay_edit_Crane"},
        {"delay_no_Crane"},
        {"circle_setting_Crane"},
        {"circle_edit_Crane"},
        {"circle_stop_any_key_Crane"},
        {"circle_stop_Crane"},
        {"circle_continue_Crane"},
        {"macro_insert_combo_Crane"},
    };
    std::vector<Want> folderPage = macroPage;
    folderPage.push_back({"random_time_check_Crane"});
    folderPage.push_back({"random_time_edit_Crane"});
    const std::vector<SkinNames> skins = {
        {"XML/MousePage_Crane.xml",
         {{"status_Crane"},
          {"hint_Crane"},
          {"web_data_Crane"},
          {"device_Mouse_Crane_page"},
          {"profile%d_Crane", 1, 2},
          {"marco_manager_Crane"},
          {"advanced_Settings_Crane"},
          {"led_Settings_Crane"},
          {"fire_macro_Settings_Crane"},
          {"reset_data_Crane_%d", 1, 3},
          {"save_data_Crane"},
          {"import_data_Crane"},
          {"Setting_switch_Crane"},
          {"profile1_page_Crane"},
          {"profile1_key_Crane_%d", 1, 8},
          {"result_back_key_switch_led_Crane"},
          {"result_middle_key_switch_mode_Crane"},
          {"result_cpi_key_switch_mode_Crane"},
          {"result_cpi+_key_switch_mode_Crane"},
          {"result_cpi-_key_switch_mode_Crane"},
          {"result_back_key_switch_mode_Crane"},
          {"result_forward_key_switch_mode_Crane"},
          {"result_gun_key_switch_mode_Crane"},
          {"result_DPI_count_setting_Crane"},
          {"result_DPI%d_slider_Crane", 1, 7},
          {"result_DPI%d_color_Crane", 1, 7},
          {"result_report_rate%d_Crane", 1, 4},
          {"result_fire_count%d_Crane", 1, 3},
          {"result_mouse_system_iscontrol_Crane"},
          {"result_mouse_system_isscreen_Crane"},
          {"result_LED_mode_%d_Crane", 0, 6},
          {"result_LED_light_all_Crane"},
          {"result_LED_light_half_Crane"},
          {"result_mode_speed_Crane"}}},
        {"XML/KeyEdit_Crane.xml",
         {{"btn_ok_Crane"},
          {"btn_reset_Crane"},
          {"current_value"},
          {"special_keys_setting_Crane"},
          {"fire_macro_setting_Crane"},
          {"result_special_keys_value_Crane"},
          {"result_fire_macro_value_Crane"},
          {"result_marco_file_value_Crane"},
          {"result_marco_folder_value_Crane"}}},
        {"XML/FireKeyEdit_Crane.xml",
         {{"keep_left_check_Crane"},
          {"gun_762mm_Fire_Crane"},
          {"fire_segment_Crane"},
          {"result_fire_count_Crane"},
          {"result_fire_X_Value_Crane"},
          {"result_fire_X_Adjustment_Value_Crane"},
          {"result_fire_Y_Value_Crane"},
          {"result_fire_Y_Adjustment_Value_Crane"},
          {"result_fire_shoot_time_Value_Crane"},
          {"result_fire_color_Crane"}}},
        {"XML/MarcoManagerFile_Crane.xml", macroPage},
        {"XML/MarcoManagerFolder_Crane.xml", folderPage},
        {"XML/MarcoEdit_Crane.xml", {{"result_value_Crane"}, {"btn_ok_Crane"}}},
    };
    ExpectSkinsHold(skins, "Crane");

    auto page = BuildSkin("XML/MousePage_Crane.xml");
    EXPECT_EQ(FindIn(*page, "profile3_Crane"), nullptr);
    EXPECT_EQ(FindIn(*page, "result_mode_speed_Crane")->GetUserData(), "RGB");
    for (int mode = 0; mode <= 6; ++mode)
        EXPECT_EQ(
            FindIn(*page, ("result_LED_mode_" + std::to_string(mode) + "_Crane").c_str())->GetUserData(),
            std::to_string(mode));
    EXPECT_EQ(FindIn(*BuildSkin("XML/MarcoManagerFile_Crane.xml"), "random_time_check_Crane"), nullptr);
    auto editor = BuildSkin("XML/KeyEdit_Crane.xml");
    auto* special = dynamic_cast<ui::Container*>(FindIn(*editor, "result_special_keys_value_Crane"));
    ASSERT_NE(special, nullptr);
    std::set<std::string> codes;
    for (int i = 0; i < special->GetCount(); ++i) codes.insert(special->GetItemAt(i)->GetUserData());
    EXPECT_TRUE(codes.contains(std::to_string(0x100130FF)));
}

// The macro skins of the Heron and the Heron driver hold every control their pages and entry
// dialog look up, the end-mode options among them, and only names with their own suffix.
TEST(HeronMacroSkins, HoldEveryControlTheirPagesLookUp) {
    oaktest::UiDriver ui;
    for (const char* suffix : {"Heron", "Heron_Driver"}) {
        const std::string s = suffix;
        std::vector<std::string> owned;
        for (const char* base :
             {"marco_edit_container", "Marco_Info_list", "AddMarcoButton", "DeleteMarcoButton",
              "recordButton", "Marco_Content_list", "macro_edit_layout", "delay_record", "delay_setting",
              "delay_edit", "delay_no", "circle_setting", "circle_edit", "circle_all", "circle_stop",
              "circle_continue", "macro_insert_combo"})
            owned.push_back(std::string(base) + "_" + s);
        std::vector<Want> page;
        for (const auto& name : owned) page.push_back({name.c_str()});
        std::vector<std::string> dialogNames;
        for (const char* base : {"dialog_title", "result_value", "result_value2", "waring_messgae",
                                 "x_value_message", "y_value_message", "btn_ok", "btn_cancel", "btn_colse"})
            dialogNames.push_back(std::string(base) + "_" + s);
        std::vector<Want> dialog;
        for (const auto& name : dialogNames) dialog.push_back({name.c_str()});
        const std::string file = "XML/MarcoManagerFile_" + s + ".xml";
        const std::string folder = "XML/MarcoManagerFolder_" + s + ".xml";
        const std::string edit = "XML/MarcoEdit_" + s + ".xml";
        ExpectSkinsHold({{file.c_str(), page}, {folder.c_str(), page}, {edit.c_str(), dialog}}, s);
    }
    // Every driver name also holds "_heron": the Heron's skins must hold none of them.
    for (const char* skin :
         {"XML/MarcoManagerFile_Heron.xml", "XML/MarcoManagerFolder_Heron.xml", "XML/MarcoEdit_Heron.xml"}) {
        const auto built = BuildSkin(skin);
        for (const auto& [name, control] : built->byName)
            EXPECT_EQ(name.find("_heron_driver"), std::string::npos) << skin << ": " << control->GetName();
    }
}

// The Heron key editors and fire-key panel hold every control their code looks up, once each, and no
// name of another model; the editors' lists carry three-byte codes.
TEST(HeronSkins, HoldEveryControlTheirWindowsLookUp) {
    oaktest::UiDriver ui;
    for (const std::string suffix : {"Heron", "Heron_Driver"}) {
        auto n = [&suffix](const std::string& base) { return base + "_" + suffix; };
        std::vector<std::string> names = {"current_value",
                                          "btn_ok",
                                          "btn_cancel",
                                          "btn_colse",
                                          "btn_reset",
                                          "standard_mouse_keys_setting",
                                          "special_keys_setting",
                                          "multimedia_setting",
                                          "web_setting",
                                          "pc_setting",
                                          "user_defined_setting",
                                          "base_macro_setting",
                                          "fire_macro_setting",
                                          "result_standard_mouse_keys_value",
                                          "result_special_keys_value",
                                          "result_multimedia_value",
                                          "result_web_value",
                                          "result_pc_value",
                                          "result_key_value",
                                          "check_layout",
                                          "ctrl_check",
                                          "alt_check",
                                          "shift_check",
                                          "win_check",
                                          "result_marco_file_value",
                                          "result_marco_folder_value",
                                          "result_fire_macro_value"};
        std::vector<std::string> wanted;
        for (const auto& base : names) wanted.push_back(n(base));
        std::vector<Want> wants;
        for (const auto& name : wanted) wants.push_back({name.c_str()});
        ExpectSkinsHold({{("XML/KeyEdit_" + suffix + ".xml").c_str(), wants}}, suffix);
        auto editor = BuildSkin("XML/KeyEdit_" + suffix + ".xml");
        EXPECT_EQ(FindIn(*editor, "current_value"), nullptr);
        EXPECT_EQ(FindIn(*editor, "key_office_mode_element"), nullptr);
        EXPECT_EQ(FindIn(*editor, n("led_switch_setting").c_str()), nullptr);
        auto* special = dynamic_cast<ui::Container*>(FindIn(*editor, n("result_special_keys_value").c_str()));
        ASSERT_NE(special, nullptr);
        for (int i = 0; i < special->GetCount(); ++i)
            EXPECT_LT(std::stol(special->GetItemAt(i)->GetUserData()), 1 << 24) << i;
    }
    ExpectSkinsHold({{"XML/FireKeyEdit_Heron.xml",
                      {{"gun_AKM_Heron"},
                       {"gun_M16_Heron"},
                       {"gun_M4_Heron"},
                       {"gun_UMP9_Heron"},
                       {"gun_SCAR-L_Heron"},
                       {"gun_556mm_Fire_Heron"},
                       {"gun_762mm_Fire_Heron"},
                       {"fire_segment%d_Heron", 1, 3},
                       {"result_fire_count%d_Heron", 1, 3},
                       {"result_fire_Y-Axis%d_Heron", 1, 3},
                       {"result_fire_Y-Axis_offset%d_Heron", 1, 3},
                       {"result_fire_delay_times%d_Heron", 1, 3},
                       {"result_fire_color%d_Heron", 1, 3},
                       {"fire_stop_check_%d_Heron", 1, 3},
                       {"btn_ok"},
                       {"btn_cancel"},
                       {"closebtn"}}}},
                    "Heron");
    EXPECT_EQ(FindIn(*BuildSkin("XML/FireKeyEdit_Heron.xml"), "keep_left_check_Heron"), nullptr);
}

// What the Ibis windows read from their skins besides names: the page's key count, level texts,
// sections in their order and sub-pages (no UART LED editor); the key editor's codes.
TEST(IbisSkins, HoldTheValuesTheirCodeReads) {
    oaktest::UiDriver ui;
    auto built = BuildSkin("XML/MousePage_Ibis.xml");
    auto find = [&](const char* name) { return FindIn(*built, name); };
    auto* keys = dynamic_cast<ui::Container*>(find("profile_page_Ibis"));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->GetCount(), 8);
    ASSERT_NE(find("result_DPI1_edit_Ibis"), nullptr);
    EXPECT_TRUE(find("result_DPI1_edit_Ibis")->GetUserData().starts_with("100,200,"));
    EXPECT_FALSE(find("web_data_Ibis")->GetUserData().empty());
    EXPECT_EQ(built->customClasses,
              (std::vector<std::string>{"MacroSettingFilePage_Ibis", "MacroSettingFolderPage_Ibis",
                                        "FireMacroSettingPage_Ibis"}));
    auto* tabs = dynamic_cast<ui::Container*>(find("Setting_switch_Ibis"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->GetCount(), 5);
    const char* sections[] = {"key_page_Ibis", "macro_page_Ibis", "advanced_page_Ibis", "light_page_Ibis",
                              "fire_page_Ibis"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->GetItemAt(i)->GetName(), sections[i]) << i;
    auto* picture = find("device_picture_Ibis");
    ASSERT_NE(picture, nullptr);
    EXPECT_NE(picture->GetBkImage().find("device_ibis.png"), std::string::npos);

    auto editor = BuildSkin("XML/KeyEdit_Ibis.xml");
    EXPECT_EQ(FindIn(*editor, "Gun6_Num_Ibis")->GetUserData(), "2");
    EXPECT_EQ(FindIn(*editor, "Gun7_Num_Ibis")->GetUserData(), "3");
    EXPECT_EQ(FindIn(*editor, "led_switch_setting_Ibis"), nullptr);
    auto* special = dynamic_cast<ui::Container*>(FindIn(*editor, "result_special_keys_value_Ibis"));
    ASSERT_NE(special, nullptr);
    std::set<std::string> codes;
    for (int i = 0; i < special->GetCount(); ++i) codes.insert(special->GetItemAt(i)->GetUserData());
    EXPECT_TRUE(codes.contains(std::to_string(0x1006A0FF)));
    EXPECT_FALSE(codes.contains(std::to_string(0x100710FF)));  // the Egret's
}

// A window showing one skin document, for the windows whose classes the test builds alone.
class SkinWindow : public ui::WindowImplBase {
  public:
    explicit SkinWindow(std::string skin) : skin_(std::move(skin)) {}
    std::string GetWindowClassName() const override { return "SkinWindow"; }
    std::string GetSkinFile() const override { return skin_; }
    std::unique_ptr<ui::Control> CreateControl(std::string_view cls) override {
        if (cls == "MarcoList") return std::make_unique<MarcoListUI>();
        return nullptr;
    }

  private:
    std::string skin_;
};

// Where the pictures of a model's windows go: OAKRIDGE_SNAPSHOT_DIR when set, for a person to look
// at, else the test's own folder.
std::string SnapshotPath(const std::string& name) {
    const char* dir = std::getenv("OAKRIDGE_SNAPSHOT_DIR");
    return (dir && *dir ? std::string(dir) + "/" : ::testing::TempDir()) + name + ".png";
}

struct LookModel {
    const char* suffix;
    int device;           // "device_combo" position
    bool windows = true;  // the model's editor and macro windows are measured too
};

void PrintTo(const LookModel& m, std::ostream* out) {
    *out << m.suffix;
}

class ModelLook : public oaktest::AppFixture, public ::testing::WithParamInterface<LookModel> {};

// Every text of every section and window of a model fits its control in every language; English,
// German and Russian pictures are kept for a person to look at.
TEST_P(ModelLook, TextsFitInEveryLanguage) {
    const std::string suffix = GetParam().suffix;
    const std::string lower = ui::ToLower(suffix);
    ShowDevice(GetParam().device);
    auto& sections = Ui().Find<ui::TabLayout>("Setting_switch_" + suffix, "Oakridge");
    const int languages = Ui().Find<ui::Container>("language_option", "Oakridge").GetCount();
    ASSERT_EQ(languages, 15);
    auto pictured = [](const std::string& language) {
        return language == "English" || language == "German" || language == "Russian" || language == "Thai";
    };
    for (int section = 0; section < sections.GetCount(); ++section) {
        sections.SelectItem(section, ui::Notify::No);
        for (int i = 1; i <= languages; ++i) {
            std::string option = "language_" + std::to_string(i);
            Ui().Click(option, "Oakridge");
            Ui().RunUntilIdle();
            for (const auto& problem : oaktest::TextFitProblems(Frame()))
                ADD_FAILURE() << "section " << section << " " << Ui().Text(option, "Oakridge") << ": "
                              << problem;
            std::string language = Ui().Text(option, "Oakridge");
            if (pictured(language))
                Ui().Snapshot(SnapshotPath(lower + "_page_" + std::to_string(section) + "_" + language),
                              "Oakridge");
        }
    }
    const struct {
        std::string skin;
        ui::Rect rect;
    } windows[] = {
        {"XML/KeyEdit_" + suffix + ".xml", {0, 0, 820, 600}},
        {"XML/MarcoEdit_" + suffix + ".xml", {0, 0, 420, 200}},
        {"XML/FireKeyEdit_" + suffix + ".xml", {0, 0, 1000, 560}},
        {"XML/MarcoManagerFile_" + suffix + ".xml", {0, 0, 1000, 560}},
        {"XML/MarcoManagerFolder_" + suffix + ".xml", {0, 0, 1000, 560}},
    };
    for (const auto& w : windows) {
        if (!GetParam().windows) break;
        SkinWindow window(w.skin);
        ASSERT_TRUE(window.Create(&Frame(), "", {}, w.rect)) << w.skin;
        window.ShowWindow(true, false);
        for (int i = 1; i <= languages; ++i) {
            std::string option = "language_" + std::to_string(i);
            Ui().Click(option, "Oakridge");
            Ui().RunUntilIdle();
            for (const auto& problem : oaktest::TextFitProblems(window))
                ADD_FAILURE() << w.skin << " " << Ui().Text(option, "Oakridge") << ": " << problem;
            std::string language = Ui().Text(option, "Oakridge");
            std::string name = std::filesystem::path(w.skin).stem().string();
            if (pictured(language)) Ui().Snapshot(SnapshotPath(name + "_" + language), "SkinWindow");
        }
        window.Close(0);
        Ui().RunUntilIdle();
    }
}

INSTANTIATE_TEST_SUITE_P(Models, ModelLook,
                         ::testing::Values(LookModel{"Ibis", 4}, LookModel{"Crane", 5},
                                           LookModel{"Heron", 1, false}, LookModel{"Heron_Driver", 2, false}),
                         [](const auto& model) { return std::string(model.param.suffix); });

using ShippedPages = oaktest::AppFixture;

// The running program builds every page and panel into one window with the real sub-pages; each
// of those builds reports nothing either (a name repeated in two sub-pages of one page shows here).
TEST_F(ShippedPages, BuildWithoutProblemsInTheRunningProgram) {
    StartApp();
    int pages = 0;
    for (auto* window : ui::Toolkit::Windows()) {
        std::vector<ui::Control*> stack{window->GetManager().GetRoot()};
        while (!stack.empty()) {
            ui::Control* c = stack.back();
            stack.pop_back();
            if (!c) continue;
            if (auto* page = dynamic_cast<ui::SkinPage*>(c)) {
                ++pages;
                EXPECT_TRUE(page->GetSkinReport().Empty()) << c->GetName() << ":\n"
                                                           << page->GetSkinReport().ToString();
            }
            if (auto* container = dynamic_cast<ui::Container*>(c))
                for (int i = 0; i < container->GetCount(); ++i) stack.push_back(container->GetItemAt(i));
        }
    }
    EXPECT_GT(pages, 0);
}

using BrokenMainSkin = oaktest::AppFixture;

// Started from the desktop there is no terminal to read a report on: the user gets a plain dialog
// naming the file and line, and the program ends without a window.
TEST_F(BrokenMainSkin, EndsWithADialogNamingFileAndLine) {
    auto skin = TempDir() / "Skin";
    std::filesystem::copy(ui::Toolkit::GetResourcePath(), skin, std::filesystem::copy_options::recursive);
    ui::Toolkit::SetResourcePath(skin.string());
    auto mainSkin = skin / "XML/main_frame.xml";
    std::stringstream original;
    original << std::ifstream(mainSkin).rdbuf();

    struct Case {
        const char* what;
        std::string contents;  // empty: the file is missing
        std::string expected;
    };
    std::string text = original.str();
    size_t secondLine = text.find('\n') + 1;
    const Case cases[] = {
        {"malformed", text.substr(0, secondLine) + "<Label text=unquoted/>\n" + text.substr(secondLine),
         "XML/main_frame.xml:2: malformed XML"},
        {"missing", "", "XML/main_frame.xml:0: cannot open skin file"},
    };
    auto& shown = Ui().Backend().FatalErrorsShown();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.contents.empty())
            std::filesystem::remove(mainSkin);
        else
            std::ofstream(mainSkin, std::ios::trunc) << c.contents;
        size_t before = shown.size();
        EXPECT_EQ(app::RunMainWindow(), 0);
        ASSERT_EQ(shown.size(), before + 1);
        EXPECT_EQ(shown.back().title, "Oakridge");
        EXPECT_NE(shown.back().text.find(c.expected), std::string::npos) << shown.back().text;
        EXPECT_NE(shown.back().text.find(skin.string()), std::string::npos) << shown.back().text;
        for (auto* window : ui::Toolkit::Windows())
            EXPECT_FALSE(window->HasNativeWindow()) << window->GetWindowClassName();
    }
}

}  // namespace

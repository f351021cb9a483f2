// The main window with the keyboard and the pointer at rest: focus, Space, Tab and tooltips on the
// real skins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Language.h"
#include "ui/controls/Option.h"
#include "ui/controls/ToolTipWindow.h"
#include "ui/core/Container.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";

class KeyboardUse : public oaktest::AppFixture {
  protected:
    // The language option whose file is `file`.
    std::string OptionOf(const std::string& file) {
        const int count = Ui().Find<ui::Container>("language_option", kMain).GetCount();
        for (int i = 1; i <= count; ++i) {
            const std::string name = "language_" + std::to_string(i);
            if (Ui().Find(name, kMain).GetUserData() == file) return name;
        }
        ADD_FAILURE() << "no language option for " << file;
        return {};
    }
    ui::Control* Focused() { return Frame().GetManager().GetFocus(); }
    // Tabs until `name` has the focus; false when a whole round never reaches it.
    bool TabTo(const std::string& name) {
        for (int i = 0; i < 400; ++i) {
            Ui().Tab();
            if (Focused() && Focused()->NameIs(name)) return true;
        }
        return false;
    }
    const ui::ToolTipWindow* Tip() {
        return dynamic_cast<ui::ToolTipWindow*>(
            ui::Toolkit::FindWindowByClass(ui::ToolTipWindow::kClassName));
    }
};

TEST_F(KeyboardUse, SpacePressesOnlyTheFocusedLanguageOption) {
    StartApp();
    const std::string english = OptionOf("English.xml"), russian = OptionOf("Russian.xml"),
                      german = OptionOf("Germany.xml");
    Ui().Click(english, kMain);
    ASSERT_EQ(app::CurrentLanguageName(), "English");

    // Resting on an option is not focusing it.
    Ui().Hover(russian, kMain);
    Ui().PressKey(ui::kVkSpace);
    EXPECT_EQ(app::CurrentLanguageName(), "English");

    // An option chosen with the pointer keeps no focus: after the combo chose again, a stray
    // Space must not bring the clicked language back.
    Ui().Click(russian, kMain);
    ASSERT_TRUE(Ui().IsSelected(russian, kMain));
    auto& combo = Ui().Find<ui::Container>("language_combo", kMain);
    int englishRow = -1;
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetItemAt(i)->GetUserData() == "English.xml") englishRow = i;
    ASSERT_GE(englishRow, 0);
    Ui().SelectComboItem("language_combo", englishRow, kMain);
    ASSERT_EQ(app::CurrentLanguageName(), "English");
    Ui().ClickAt({5, 700}, kMain);  // beside the navigation: the combo gives up the focus
    for (uint32_t key : {ui::kVkSpace, ui::kVkReturn}) Ui().PressKey(key);
    EXPECT_EQ(app::CurrentLanguageName(), "English");

    // The option that has the focus is the one Space presses.
    ASSERT_TRUE(TabTo(german));
    Ui().PressKey(ui::kVkSpace);
    EXPECT_EQ(app::CurrentLanguageName(), "German");
    EXPECT_TRUE(Ui().IsSelected(german, kMain));
}

TEST_F(KeyboardUse, TabVisitsTheMainWindowInReadingOrder) {
    ShowDevice(3);  // the Egret's page, with its mouse
    std::vector<ui::Control*> order;
    for (int i = 0; i < 400; ++i) {
        Ui().Tab();
        if (!order.empty() && Focused() == order.front()) break;
        order.push_back(Focused());
    }
    ASSERT_GT(order.size(), 10u);
    // The caption bar comes first, left to right, and then the page, from the top down.
    auto pos = [](const ui::Control* c) { return c->GetPos(); };
    const int captionBottom = Frame().GetManager().GetCaptionRect().bottom;
    size_t i = 0;
    for (; i < order.size() && pos(order[i]).top < captionBottom; ++i) {
        if (i > 0) {
            EXPECT_GT(pos(order[i]).left, pos(order[i - 1]).left) << order[i]->GetName();
        }
    }
    EXPECT_GT(i, 2u) << "the caption bar's controls come first";
    for (size_t j = i; j < order.size(); ++j) {
        EXPECT_GE(pos(order[j]).top, captionBottom) << order[j]->GetName();
    }
    // Shift+Tab walks the same way back.
    for (size_t k = order.size(); k-- > 0;) {
        Ui().Tab(false);
        ASSERT_EQ(Focused(), order[k]) << k;
    }
    ASSERT_TRUE(TabTo("advanced_Settings_Egret"));
    Ui().Snapshot(::testing::TempDir() + "tab_focus.png", kMain);
}

TEST_F(KeyboardUse, NavigationButtonsExplainThemselvesInTheCurrentLanguage) {
    ShowDevice(3);
    const std::string russian = OptionOf("Russian.xml");
    for (const std::string& language : {OptionOf("English.xml"), russian}) {
        SCOPED_TRACE(language);
        Ui().Click(language, kMain);
        for (const char* button : {"profile1_Egret", "marco_manager_Egret", "led_Settings_Egret"}) {
            Ui().Hover(button, kMain);
            Ui().AdvanceClock(Ui().Backend().ToolTipDelayMs());
            ASSERT_NE(Tip(), nullptr) << button;
            EXPECT_EQ(Tip()->GetTipText(),
                      ui::TextTable::Instance().Resolve(Ui().Find(button, kMain).GetToolTip()));
            EXPECT_NE(Tip()->GetTipText().find(' '), std::string::npos) << "a resolved sentence";
            Ui().Hover("status_Egret", kMain);
            EXPECT_EQ(Tip(), nullptr);
        }
    }
    Ui().Hover("advanced_Settings_Egret", kMain);
    Ui().AdvanceClock(Ui().Backend().ToolTipDelayMs());
    ASSERT_NE(Tip(), nullptr);
    Ui().Snapshot(::testing::TempDir() + "tooltip_ru.png", ui::ToolTipWindow::kClassName);
}

}  // namespace

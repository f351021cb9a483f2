// The macro manager of each mouse model as its user meets it: recording through the input hooks with the
// test's clock, the entry dialog, the insert chooser, the menus and what lands in the working file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "AppFixture.h"
#include "MacroModels.h"
#include "TextFit.h"
#include "macro/CMenuWnd.h"
#include "macro/MacroCodec.h"
#include "macro/MacroEncoding.h"
#include "macro/MacroFileFormat.h"
#include "macro/MacroManagerPage.h"
#include "macro/MacroStore.h"
#include "macro/MarcoListUI.h"
#include "macro/StepText.h"
#include "platform/Paths.h"
#include "ui/controls/List.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMenu = "CMenuWnd";
constexpr uint32_t kVkAlt = 0xA4;

struct Step {
    int tag;
    int value;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& s) {
    return out << "{0x" << std::hex << s.tag << std::dec << ", " << s.value << "}";
}

class MacroManager : public oaktest::OverMacroModels<oaktest::AppFixture> {
  protected:
    void OpenMacros() { ShowMacroPages(false); }
    MacroManagerPage& Page() { return Ui().Find<MacroManagerPage>(N("macro_file_page"), Win()); }
    // Replaces an edit's text the way a user does: select all, then type.
    void Replace(const std::string& edit, const std::string& text, const std::string& cls) {
        Ui().Click(edit, cls);
        Ui().PressKey(ui::kVkA, ui::kModCtrl);
        Ui().TypeText(text);
    }
    MarcoListUI& StepList() { return Ui().Find<MarcoListUI>(N("Marco_Content_list"), Win()); }
    ui::List& NameList() { return Ui().Find<ui::List>(N("Marco_Info_list"), Win()); }
    ::MacroList& Macros() { return MacroStore::Instance().List(Model()); }
    void ClickRow(ui::List& list, int index) {
        const std::string cls = Win();
        Ui().Window(cls).GetManager().LayoutIfNeeded();
        list.EnsureVisible(index);
        Ui().Window(cls).GetManager().LayoutIfNeeded();
        Ui().ClickAt(list.GetItemAt(index)->GetPos().Center(), cls);
    }
    void SelectMacro(int index) { ClickRow(NameList(), index); }
    std::vector<Step> Rows() {
        std::vector<Step> rows;
        for (int i = 0; i < StepList().RowCount(); ++i)
            rows.push_back({StepList().RowAt(i)->tag, StepList().RowAt(i)->value});
        return rows;
    }
    // The macros of the working macro file, as the next start would read them.
    ::MacroList OnDisk() {
        std::ifstream in(MacroStore::Instance().WorkingFolder() + "/" + Format().fileName, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return ParseMacroRecords(Model(), bytes);
    }
    std::vector<Step> Decoded(const std::vector<uint8_t>& data) {
        std::vector<Step> steps;
        for (const auto& s : DecodeMacro(Model(), data, StepNames::FilePage()).steps)
            steps.push_back({s.tag, s.value});
        return steps;
    }
    // Whether a data field read back is `encoded`, then only the zero filler a field keeps when its
    // model's loading does not trim it (the Heron driver).
    static bool Holds(const std::vector<uint8_t>& field, const std::vector<uint8_t>& encoded) {
        return field.size() >= encoded.size() && std::equal(encoded.begin(), encoded.end(), field.begin()) &&
               std::all_of(field.begin() + static_cast<std::ptrdiff_t>(encoded.size()), field.end(),
                           [](uint8_t b) { return b == 0; });
    }
    // A pause as the model's delay steps hold it (the Heron family counts in 8 ms).
    int Stored(int ms) const { return ms / EncodingFor(Model()).delayUnit * EncodingFor(Model()).delayUnit; }
    void Record(const std::function<void()>& actions) {
        Ui().Click(N("recordButton"), Win());
        // Away from the record button, so its own clicks are the only ones left out.
        Ui().Hover(N("Marco_Content_list"), Win());
        actions();
        Ui().Click(N("recordButton"), Win());
    }
    // Answers the next entry dialog: fills the fields that are given, then OK.
    void AnswerDialog(std::string value, std::string value2 = {}) {
        Ui().AnswerModal(Dialog(), [this, value, value2](ui::WindowImplBase&) {
            if (!value.empty()) Replace(N("result_value"), value, Dialog());
            if (!value2.empty()) Replace(N("result_value2"), value2, Dialog());
            Ui().Click(N("btn_ok"), Dialog());
        });
    }
    void NewMacro(const std::string& name) {
        AnswerDialog(name);
        Ui().Click(N("AddMarcoButton"), Win());
    }
};

TEST_P(MacroManager, RecordsKeysWithThePausesBetweenThem) {
    OpenMacros();
    SelectMacro(0);
    Ui().AdvanceClock(5000);  // a long wait before the first key never becomes a delay
    Record([&] {
        Ui().KeyDown(ui::kVkA);
        Ui().AdvanceClock(300);
        Ui().KeyUp(ui::kVkA);
    });
    const std::vector<Step> want{{0x82, 0x04}, {0xFE, Stored(300)}, {0x02, 0x04}};
    EXPECT_EQ(Rows(), want);
    EXPECT_EQ(Decoded(OnDisk()[0].data), want);
    EXPECT_EQ(Decoded(Macros()[0].data), want);
    EXPECT_EQ(Page().Recorder().State(), RecordState::Idle);
    EXPECT_EQ(Ui().ResolvedText(N("recordButton"), Win()), ui::TextTable::Instance().Resolve("%{042}"));
    EXPECT_TRUE(Ui().IsEnabled(N("macro_edit_layout"), Win()));
    Ui().Snapshot(::testing::TempDir() + "macro_file_page.png", Win());
}

TEST_P(MacroManager, DelayModesDecideThePausesRecorded) {
    OpenMacros();
    auto pressA = [&] {
        Ui().KeyDown(ui::kVkA);
        Ui().AdvanceClock(300);
        Ui().KeyUp(ui::kVkA);
    };
    Ui().Click(N("delay_no"), Win());
    EXPECT_FALSE(Ui().IsEnabled(N("delay_edit"), Win()));
    SelectMacro(1);
    Record(pressA);
    EXPECT_EQ(Rows(), (std::vector<Step>{{0x82, 0x04}, {0x02, 0x04}}));

    Ui().Click(N("delay_setting"), Win());
    EXPECT_TRUE(Ui().IsEnabled(N("delay_edit"), Win()));
    Replace(N("delay_edit"), "99999", Win());
    EXPECT_EQ(Ui().Text(N("delay_edit"), Win()), std::to_string(Spec().delayFieldMax));
    Replace(N("delay_edit"), "25", Win());
    SelectMacro(2);
    Record(pressA);
    // The field counts in the page's delay unit (8 ms on the Heron family).
    EXPECT_EQ(Rows(), (std::vector<Step>{{0x82, 0x04}, {0xFE, 25 * Spec().delayFieldUnit}, {0x02, 0x04}}));
}

TEST_P(MacroManager, RecordButtonClicksAreNotCapturedButOtherClicksAre) {
    OpenMacros();
    SelectMacro(0);
    Record([&] { Ui().Click(N("Marco_Content_list"), Win()); });
    // Press and release of the left button on the list; nothing from the record button.
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xA1, 0xA1}, {0xFE, 0}, {0x21, 0x21}}));
}

TEST_P(MacroManager, StoppingDropsThePressesOfKeysStillHeld) {
    OpenMacros();
    SelectMacro(0);
    Ui().KeyDown('C');  // held before recording: its release stays
    Record([&] {
        Ui().KeyUp('C');
        Ui().KeyDown(kVkAlt);  // Alt's bit 0x04 equals the key code of A
        Ui().KeyDown(ui::kVkA);
        Ui().KeyUp(ui::kVkA);
        Ui().KeyDown('B');
    });
    // The presses of Alt and B go; the pauses before them stay.
    EXPECT_EQ(Rows(),
              (std::vector<Step>{
                  {0x02, 0x06}, {0xFE, 0}, {0xFE, 0}, {0x82, 0x04}, {0xFE, 0}, {0x02, 0x04}, {0xFE, 0}}));
    EXPECT_EQ(Decoded(OnDisk()[0].data), Rows());
}

TEST_P(MacroManager, AFullMacroTakesNoMoreKeys) {
    OpenMacros();
    SelectMacro(0);
    Ui().Click(N("delay_no"), Win());
    Record([&] {
        for (int i = 0; i < 150; ++i) Ui().PressKey(ui::kVkA + static_cast<uint32_t>(i % 26));
    });
    const int rows = StepList().RowCount();
    EXPECT_GT(rows, 100);
    EXPECT_LT(rows, 112);  // 224 bytes, two per key step
    EXPECT_EQ(Decoded(OnDisk()[0].data).size(), static_cast<size_t>(rows));
    EXPECT_LE(Macros()[0].data.size(), EncodingFor(Model()).dataArea);
}

TEST_P(MacroManager, ALongPauseNearTheLimitIsRecordedWholeOrNotAtAll) {
    if (EncodingFor(Model()).delayUnit != 1) GTEST_SKIP() << "one delay step holds every pause it keeps";
    OpenMacros();
    SelectMacro(0);
    Record([&] {
        // 42 events, each after the first with a pause: 207 bytes of steps, room for one more event.
        for (int i = 0; i < 21; ++i) {
            Ui().KeyDown(ui::kVkA);
            Ui().AdvanceClock(10);
            Ui().KeyUp(ui::kVkA);
            Ui().AdvanceClock(10);
        }
        // A pause of four delay entries: with the event after it, more than the macro holds.
        Ui().AdvanceClock(200000);
        Ui().KeyUp('B');
    });
    EXPECT_EQ(StepList().RowCount(), 83);  // one key step, then a pause and a key step each
    EXPECT_EQ(Rows().back(), (Step{0x02, 0x04}));
    EXPECT_EQ(Decoded(OnDisk()[0].data), Rows());
    EXPECT_EQ(Decoded(Macros()[0].data), Rows());
}

TEST_P(MacroManager, NewMacrosNeedANewNameAndStartEmpty) {
    OpenMacros();
    const size_t before = Macros().size();
    NewMacro(MacroManagerPage::ToUtf8(Macros()[0].name));
    EXPECT_EQ(Macros().size(), before);
    EXPECT_EQ(NameList().GetCount(), static_cast<int>(before));

    NewMacro("Fresh");
    ASSERT_EQ(Macros().size(), before + 1);
    EXPECT_EQ(Macros()[before].data, (std::vector<uint8_t>{0x00}));
    EXPECT_EQ(OnDisk().size(), before + 1);
    EXPECT_EQ(NameList().GetCurSel(), static_cast<int>(before));
    EXPECT_EQ(StepList().RowCount(), 0);

    // The first change writes a whole macro: loop entry, the click, end marker.
    Ui().SelectComboItem(N("macro_insert_combo"), 3, Win());
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xA1, 0xA1}, {0xFE, Spec().clickDelayMs}, {0x21, 0x21}}));
    EXPECT_TRUE(Holds(OnDisk()[before].data, GetParam().newMacroClick));
    EXPECT_EQ(Ui().CurSel(N("macro_insert_combo"), Win()), -1);
}

TEST_P(MacroManager, AFullMacroFileRefusesANewMacroAndSaysSo) {
    OpenMacros();
    // As many macros as loading reads from one file.
    const size_t max = kMacroFileReadLimit / FileFormat(Model()).recordSize;
    for (size_t i = Macros().size(); i < max; ++i)
        Macros().Add(MacroEntry{u"n" + std::u16string(1, static_cast<char16_t>(0x4E00 + i)), {0x00}, 0});
    ASSERT_TRUE(MacroStore::Instance().SaveMacroFile(Model()));
    Page().Reload();

    std::string shown;
    Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase&) {
        shown = Ui().Text("label_display", "MessageBox");
        Ui().Click("btn_ok", "MessageBox");
    });
    Ui().Click(N("AddMarcoButton"), Win());
    EXPECT_EQ(shown, ui::TextTable::Instance().Resolve("%{525}"));
    EXPECT_EQ(Macros().size(), max);
    EXPECT_EQ(OnDisk().size(), max);
    EXPECT_EQ(NameList().GetCount(), static_cast<int>(max));

    // Room again after a delete.
    SelectMacro(0);
    Ui().PressInNextModal(Dialog(), N("btn_ok"));
    Ui().Click(N("DeleteMarcoButton"), Win());
    NewMacro("Again");
    EXPECT_EQ(OnDisk().size(), max);
    EXPECT_EQ(MacroManagerPage::ToUtf8(OnDisk()[max - 1].name), "Again");
}

TEST_P(MacroManager, LoopOptionsTakeEffectWithTheNextChange) {
    OpenMacros();
    NewMacro("Loops");
    const size_t index = Macros().size() - 1;
    Ui().SelectComboItem(N("macro_insert_combo"), 5, Win());
    const auto saved = OnDisk()[index].data;
    auto startsWith = [at = GetParam().loopAt](const std::vector<uint8_t>& data,
                                               const std::vector<uint8_t>& loop) {
        return data.size() >= at + loop.size() &&
               std::equal(loop.begin(), loop.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    };
    EXPECT_TRUE(startsWith(saved, GetParam().newMacroLoop));

    // The option after the count (continuous; on the Crane stop on any key).
    Ui().Click(N(Spec().loopOptions[1].control), Win());
    EXPECT_FALSE(Ui().IsEnabled(N("circle_edit"), Win()));
    EXPECT_EQ(OnDisk()[index].data, saved);

    Ui().SelectComboItem(N("macro_insert_combo"), 4, Win());
    EXPECT_TRUE(startsWith(OnDisk()[index].data, GetParam().secondOptionLoop));
    Ui().Click(N("circle_setting"), Win());
    Replace(N("circle_edit"), "999", Win());
    EXPECT_EQ(Ui().Text(N("circle_edit"), Win()), std::to_string(Spec().countMax));
}

TEST_P(MacroManager, EntryDialogKeepsNumbersInRange) {
    OpenMacros();
    NewMacro("Fields");
    std::string movedX, movedY, delay;
    Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
        Replace(N("result_value"), "300", Dialog());
        Replace(N("result_value2"), "-300", Dialog());
        movedX = Ui().Text(N("result_value"), Dialog());
        movedY = Ui().Text(N("result_value2"), Dialog());
        Ui().Click(N("btn_ok"), Dialog());
    });
    Ui().SelectComboItem(N("macro_insert_combo"), 6, Win());
    EXPECT_EQ(movedX, "127");
    EXPECT_EQ(movedY, "-128");
    // One packed step, or an X step and a Y step (Heron family).
    const std::vector<Step> moved = Spec().moveRows
                                        ? std::vector<Step>{{Spec().moveTag, 127}, {Spec().moveYTag, -128}}
                                        : std::vector<Step>{{Spec().moveTag, PackMove(127, -128)}};
    ASSERT_EQ(Rows(), moved);
    if (Spec().moveRows) {
        EXPECT_TRUE(StepList().RowAt(0)->text.ends_with("X: 127")) << StepList().RowAt(0)->text;
        EXPECT_TRUE(StepList().RowAt(1)->text.ends_with("Y: -128")) << StepList().RowAt(1)->text;
    } else {
        EXPECT_TRUE(StepList().RowAt(0)->text.ends_with("X: 127  Y: -128")) << StepList().RowAt(0)->text;
    }

    Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
        Replace(N("result_value"), "70000", Dialog());
        delay = Ui().Text(N("result_value"), Dialog());
        Ui().Snapshot(::testing::TempDir() + "macro_delay_dialog.png", Dialog());
        Ui().Click(N("btn_ok"), Dialog());
    });
    Ui().SelectComboItem(N("macro_insert_combo"), 2, Win());
    EXPECT_EQ(delay, std::to_string(Spec().edit.delayMax));
    std::vector<Step> rows = moved;
    rows.push_back({0xFE, Stored(Spec().edit.delayMax)});
    EXPECT_EQ(Rows(), rows);

    // A key is taken on its release; cancelling changes nothing.
    Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
        Ui().PressKey('Q');
        EXPECT_EQ(Ui().Text(N("result_value"), Dialog()), "Q");
        Ui().Click(N("btn_ok"), Dialog());
    });
    Ui().SelectComboItem(N("macro_insert_combo"), 1, Win());
    EXPECT_EQ(Rows().back(), (Step{0x02, 0x14}));
    Ui().PressInNextModal(Dialog(), N("btn_cancel"));
    Ui().SelectComboItem(N("macro_insert_combo"), 0, Win());
    EXPECT_EQ(StepList().RowCount(), static_cast<int>(moved.size()) + 2);
}

TEST_P(MacroManager, MenuOpensOnScreenAndSendsOneCommand) {
    OpenMacros();
    NewMacro("Menu");
    Ui().SelectComboItem(N("macro_insert_combo"), 3, Win());
    // Put the step list's centre near the bottom-right corner of the work area.
    auto& frame = Ui().Window(Win());
    frame.GetManager().LayoutIfNeeded();
    ui::Rect r = frame.GetWindowRect();
    ui::Point centre = StepList().GetPos().Center();
    ui::Rect work = ui::Toolkit::GetBackend().WorkArea();
    int left = work.right - 6 - centre.x, top = work.bottom - 6 - centre.y;
    frame.SetWindowRect({left, top, left + r.Width(), top + r.Height()});
    oaktest::NotificationRecorder seen(frame.GetManager());

    ClickRow(StepList(), 1);
    Ui().RightClick(N("Marco_Content_list"), Win());
    auto* menu = dynamic_cast<CMenuWnd*>(&Ui().Window(kMenu));
    ASSERT_NE(menu, nullptr);
    ui::Rect full = menu->FullRect();
    EXPECT_GE(full.left, work.left);
    EXPECT_GE(full.top, work.top);
    EXPECT_LE(full.right, work.right);
    EXPECT_LE(full.bottom, work.bottom);
    EXPECT_LT(menu->GetWindowRect().left, left + centre.x);  // shifted left to fit
    EXPECT_EQ(menu->Shadow()->GetWindowRect(), full);
    Ui().Snapshot(::testing::TempDir() + "macro_content_menu.png", kMenu);
    Ui().PressKey(ui::kVkEscape);
    EXPECT_EQ(ui::Toolkit::FindWindowByClass(kMenu), nullptr);
    EXPECT_EQ(seen.Count("menu_Content_Delete") + seen.Count("menu_Content_Edit"), 0u);

    Ui().RightClick(N("Marco_Content_list"), Win());
    Ui().PressInNextModal(Dialog(), N("btn_ok"));
    Ui().Click("menu_Content_Delete", kMenu);
    EXPECT_EQ(seen.Count("menu_Content_Delete"), 1u);
    EXPECT_EQ(seen.Entries().back().type, "menu_Content_Delete");
    EXPECT_EQ(seen.Entries().back().sender, N("Marco_Content_list"));
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xA1, 0xA1}, {0x21, 0x21}}));
    EXPECT_EQ(ui::Toolkit::FindWindowByClass(kMenu), nullptr);
}

TEST_P(MacroManager, EditingAStepReplacesItInPlace) {
    OpenMacros();
    NewMacro("Edit");
    Ui().SelectComboItem(N("macro_insert_combo"), 3, Win());
    ClickRow(StepList(), 1);
    AnswerDialog("120");
    Ui().RightClick(N("Marco_Content_list"), Win());
    Ui().Click("menu_Content_Edit", kMenu);
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xA1, 0xA1}, {0xFE, 120}, {0x21, 0x21}}));
    EXPECT_EQ(Ui().CurSel(N("Marco_Content_list"), Win()), 1);
    EXPECT_EQ(Decoded(OnDisk()[OnDisk().size() - 1].data), Rows());
}

TEST_P(MacroManager, RenameDeleteExportAndImportKeepTheFileInStep) {
    OpenMacros();
    const size_t before = Macros().size();
    SelectMacro(0);
    AnswerDialog("Renamed");
    Ui().RightClick(N("Marco_Info_list"), Win());
    EXPECT_FALSE(Ui().Exists("menu_Name_New_File", kMenu) && Ui().IsVisible("menu_Name_New_File", kMenu));
    Ui().Click("menu_Name_ChangeName", kMenu);
    EXPECT_EQ(MacroManagerPage::ToUtf8(OnDisk()[0].name), "Renamed");
    EXPECT_EQ(NameList().GetItemAt(0)->GetText(), "Renamed");

    const std::string exported = (TempDir() / "all.bin").string();
    Ui().AnswerFileDialog(exported);
    Ui().RightClick(N("Marco_Info_list"), Win());
    Ui().Click("menu_Name_Export", kMenu);

    Ui().PressInNextModal(Dialog(), N("btn_ok"));
    Ui().Click(N("DeleteMarcoButton"), Win());
    EXPECT_EQ(Macros().size(), before - 1);
    EXPECT_EQ(OnDisk().size(), before - 1);
    EXPECT_EQ(StepList().RowCount(), 0);

    Ui().AnswerFileDialog(exported);
    Ui().RightClick(N("Marco_Info_list"), Win());
    Ui().Click("menu_Name_Import", kMenu);
    EXPECT_EQ(Macros().size(), before);
    EXPECT_EQ(NameList().GetCount(), static_cast<int>(before));
    EXPECT_EQ(MacroManagerPage::ToUtf8(OnDisk()[0].name), "Renamed");
}

TEST_P(MacroManager, GarbageRecordsAreNotShownAndStayOnDiskUntilAnEdit) {
    // A working file with a record between two macros whose name is no text: a lone surrogate and
    // control characters, as random bytes give.
    MacroList macros;
    for (const char16_t* name : {u"Alpha", u"Beta"})
        macros.Add(MacroEntry{
            name, EncodeMacro(Model(), std::vector<MacroStep>{{0xA1, 0xA1, {}}, {0x21, 0x21, {}}}, {}), 0});
    std::vector<uint8_t> bytes = SerializeMacroRecords(Model(), macros);
    const auto record = static_cast<std::ptrdiff_t>(Format().recordSize);
    std::vector<uint8_t> garbage(Format().recordSize, 0x00);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(0xD8 + i * 37);
    bytes.insert(bytes.begin() + record, garbage.begin(), garbage.end());
    const std::string file = platform::UserStateFolder() + "Lumenor_MacroBin/" + Format().fileName;
    ASSERT_TRUE(platform::CreateFolderTree(platform::UserStateFolder() + "Lumenor_MacroBin"));
    ASSERT_TRUE(platform::WriteFileAtomic(file, bytes.data(), bytes.size()));

    OpenMacros();
    ASSERT_EQ(NameList().GetCount(), 2);
    EXPECT_EQ(NameList().GetItemAt(0)->GetText(), "Alpha");
    EXPECT_EQ(NameList().GetItemAt(1)->GetText(), "Beta");
    SelectMacro(1);
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xA1, 0xA1}, {0x21, 0x21}}));
    EXPECT_EQ(platform::ReadFileBytes(file), bytes);  // looking changes nothing

    NewMacro("Gamma");
    std::vector<std::string> names;
    for (const auto& entry : OnDisk()) names.push_back(MacroManagerPage::ToUtf8(entry->name));
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
}

TEST_P(MacroManager, TextsFitInEveryLanguage) {
    OpenMacros();
    SelectMacro(0);
    for (int i = 1; i <= 15; ++i) {
        std::string option = "language_" + std::to_string(i);
        Ui().Click(option, "Oakridge");
        const std::string language = Ui().Text(option, "Oakridge");
        const std::string picture = std::string(GetParam().suffix) + "_" + language;
        for (const auto& problem : oaktest::TextFitProblems(Ui().Window(Win())))
            // Step rows are measured with their markup as plain text, far wider than drawn.
            if (problem.find("{i Image") == std::string::npos)
                ADD_FAILURE() << Ui().Text(option, "Oakridge") << ": " << problem;
        if (oaktest::PicturedLanguage(language))
            Ui().Snapshot(oaktest::MacroSnapshotPath("macro_file_page_" + picture), Win());
        for (int mode : {MarcoEditDialog::kConfirm, MarcoEditDialog::kMove, MarcoEditDialog::kDelay,
                         MarcoEditDialog::kMoveX, MarcoEditDialog::kMoveY}) {
            Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase& dialog) {
                for (const auto& problem : oaktest::TextFitProblems(dialog))
                    ADD_FAILURE() << Ui().Text(option, "Oakridge") << " dialog " << mode << ": " << problem;
                if (oaktest::PicturedLanguage(language))
                    Ui().Snapshot(
                        oaktest::MacroSnapshotPath("macro_dialog_" + picture + "_" + std::to_string(mode)),
                        Dialog());
                Ui().Click(N("btn_cancel"), Dialog());
            });
            MarcoEditDialog(Spec().edit, mode).Run(Ui().Window(Win()));
        }
        Ui().RightClick(N("Marco_Info_list"), Win());
        for (const auto& problem : oaktest::TextFitProblems(Ui().Window(kMenu)))
            ADD_FAILURE() << Ui().Text(option, "Oakridge") << " menu: " << problem;
        Ui().PressKey(ui::kVkEscape);
    }
}

// A window holding one step list, for the list's own behaviour.
class ListWindow : public ui::WindowImplBase {
  public:
    std::string GetWindowClassName() const override { return "ListWindow"; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<ui::Control> CreateRootInCode() override {
        auto list = std::make_unique<MarcoListUI>();
        list->SetName("steps");
        list_ = list.get();
        return list;
    }
    MarcoListUI* list_ = nullptr;
};

TEST(MarcoListUITest, RowsFormATreeUnderTheRoot) {
    oaktest::UiDriver ui;
    ListWindow window;
    window.Create(nullptr, "", {}, {0, 0, 300, 200});
    MarcoListUI& list = *window.list_;
    auto* a = list.AddRow("a");
    auto* c = list.AddRow("c");
    auto* a1 = list.AddRow("a1", a);  // shown below its parent, before "c"
    auto* b = list.InsertRow("b", 2);
    ASSERT_TRUE(a && c && a1 && b);
    EXPECT_EQ(list.RowAt(1), a1);
    EXPECT_EQ(list.RowAt(2), b);
    EXPECT_EQ(a1->level, 1);
    EXPECT_EQ(MarcoListUI::DisplayText(*a1), "{x 6}{x 24}a1");
    EXPECT_EQ(list.GetItemAt(1)->GetText(), "{x 6}{x 24}a1");
    list.SelectItem(3, ui::Notify::No);  // "c"
    EXPECT_TRUE(list.RemoveRow(0));      // "a" with its child
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.RowAt(1), c);
    list.RemoveAllRows();
    auto* only = list.AddRow("only");
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(only->level, 0);
    EXPECT_EQ(list.Root().children.size(), 1u);
    EXPECT_FALSE(list.RemoveRow(5));
}

TEST(MarcoListUITest, WheelScrollsSmoothlyAndStops) {
    oaktest::UiDriver ui;
    ListWindow window;
    window.Create(nullptr, "", {}, {0, 0, 300, 200});
    window.ShowWindow();
    MarcoListUI& list = *window.list_;
    for (int i = 0; i < 40; ++i) list.AddRow("row " + std::to_string(i));
    ui.RunUntilIdle();
    ui.Wheel("steps", -120, "ListWindow");
    EXPECT_EQ(list.ScrollSpeed(), -8);
    EXPECT_EQ(list.ScrollStepsLeft(), 14);  // 5 * sqrt(8)
    ui.Wheel("steps", -120, "ListWindow");
    EXPECT_LT(list.ScrollSpeed(), -8);  // a second notch adds to what is left
    ui.AdvanceClock(2000);
    EXPECT_GT(list.GetScrollPos(), 0);
    EXPECT_EQ(list.ScrollStepsLeft(), 0);
    const int down = list.GetScrollPos();
    // Scrolling up past the top stops at the first row.
    for (int i = 0; i < 15; ++i) ui.Wheel("steps", 120, "ListWindow");
    EXPECT_EQ(list.ScrollSpeed(), 100);
    ui.AdvanceClock(5000);
    EXPECT_EQ(list.GetScrollPos(), 0);
    EXPECT_EQ(list.ScrollSpeed(), 0);
    EXPECT_GT(down, 0);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Models, MacroManager, ::testing::ValuesIn(oaktest::kMacroModels),
                         oaktest::MacroModelName);

namespace {

// The Heron family's own rows: the end mode, movements as one-axis steps, delays in 8 ms and the
// limits that differ between the Heron and its driver.
class HeronMacros : public MacroManager {
  protected:
    bool Selected(const std::string& base) { return Ui().IsSelected(N(base), Win()); }
    void EditRow(int index) {
        ClickRow(StepList(), index);
        Ui().RightClick(N("Marco_Content_list"), Win());
        Ui().Click("menu_Content_Edit", kMenu);
    }
    // Which parts of the entry dialog show: the first field's row, the second's, the X and Y labels.
    std::vector<bool> Shown() {
        std::vector<bool> shown;
        for (const char* base : {"value_row", "value2_row", "x_value_message", "y_value_message"})
            shown.push_back(Ui().IsVisible(N(base), Dialog()));
        return shown;
    }
};

TEST_P(HeronMacros, StopEndModeRoundTripsThroughRecordSaveAndReload) {
    OpenMacros();
    NewMacro("Held");
    const size_t index = Macros().size() - 1;
    EXPECT_TRUE(Selected("circle_continue"));  // a new macro says nothing; the page starts at continue
    Ui().Click(N("circle_stop"), Win());
    Record([&] {
        Ui().KeyDown(ui::kVkA);
        Ui().AdvanceClock(100);
        Ui().KeyUp(ui::kVkA);
    });
    const std::vector<Step> want{{0x82, 0x04}, {0xFE, 96}, {0x02, 0x04}};
    ASSERT_EQ(Rows(), want);
    // The first byte is what the key editor reads to assign the macro as one that stops.
    EXPECT_EQ(Macros()[index].data.front(), 0x01);
    EXPECT_EQ(OnDisk()[index].data.front(), 0x01);
    EXPECT_EQ(Decoded(OnDisk()[index].data), want);

    // Choosing continue without a change leaves the file as it was; reloading shows it as saved.
    Ui().Click(N("circle_continue"), Win());
    EXPECT_EQ(OnDisk()[index].data.front(), 0x01);
    ASSERT_TRUE(MacroStore::Instance().LoadMacroFile(Model()));
    Page().Reload();
    SelectMacro(static_cast<int>(index));
    EXPECT_EQ(Rows(), want);
    EXPECT_TRUE(Selected("circle_stop"));
    EXPECT_FALSE(Selected("circle_continue"));

    // Continue is written with the next change.
    Ui().Click(N("circle_continue"), Win());
    Ui().SelectComboItem(N("macro_insert_combo"), 3, Win());
    EXPECT_EQ(OnDisk()[index].data.front(), 0x00);
    Ui().Snapshot(::testing::TempDir() + "heron_end_mode_" + GetParam().suffix + ".png", Win());
}

TEST_P(HeronMacros, MovementsInsertAndEditAsSeparateXAndYSteps) {
    OpenMacros();
    NewMacro("Moves");
    std::vector<bool> shown;
    Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
        shown = Shown();
        Replace(N("result_value"), "5", Dialog());
        Replace(N("result_value2"), "-3", Dialog());
        Ui().Click(N("btn_ok"), Dialog());
    });
    Ui().SelectComboItem(N("macro_insert_combo"), 6, Win());
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, true}));  // mode 5: both fields
    ASSERT_EQ(Rows(), (std::vector<Step>{{0xFB, 5}, {0xFA, -3}}));
    const auto data = OnDisk()[OnDisk().size() - 1].data;
    const std::vector<uint8_t> moves{0xFB, 0x05, 0xFA, 0xFD};
    EXPECT_NE(std::search(data.begin(), data.end(), moves.begin(), moves.end()), data.end());

    // Each step is edited alone: mode 7 asks for X in the first field, mode 8 for Y in the second,
    // each starting from the step's value and kept between -128 and 127.
    struct Edit {
        int row;
        const char* field;
        const char* typed;
        std::vector<bool> shown;
        std::string startsWith;
        std::string kept;
        std::vector<Step> after;
        const char* text;
    };
    const Edit edits[] = {
        {0,
         "result_value",
         "300",
         {true, false, true, false},
         "5",
         "127",
         {{0xFB, 127}, {0xFA, -3}},
         "X: 127"},
        {1,
         "result_value2",
         "-200",
         {false, true, false, true},
         "-3",
         "-128",
         {{0xFB, 127}, {0xFA, -128}},
         "Y: -128"},
    };
    for (const auto& e : edits) {
        std::string started, kept;
        Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
            shown = Shown();
            started = Ui().Text(N(e.field), Dialog());
            Replace(N(e.field), e.typed, Dialog());
            kept = Ui().Text(N(e.field), Dialog());
            if (e.row == 1)
                Ui().Snapshot(::testing::TempDir() + "heron_edit_y_" + GetParam().suffix + ".png", Dialog());
            Ui().Click(N("btn_ok"), Dialog());
        });
        EditRow(e.row);
        EXPECT_EQ(shown, e.shown) << e.field;
        EXPECT_EQ(started, e.startsWith) << e.field;
        EXPECT_EQ(kept, e.kept) << e.field;
        EXPECT_EQ(Rows(), e.after) << e.field;
        EXPECT_EQ(Ui().CurSel(N("Marco_Content_list"), Win()), e.row);
        EXPECT_TRUE(StepList().RowAt(e.row)->text.ends_with(e.text)) << StepList().RowAt(e.row)->text;
        EXPECT_EQ(Decoded(OnDisk()[OnDisk().size() - 1].data), e.after) << e.field;
    }
    Ui().PressInNextModal(Dialog(), N("btn_cancel"));
    EditRow(0);
    EXPECT_EQ(Rows(), edits[1].after);
}

// The insert combo asks only when three more bytes fit: the Heron counts 13 bytes besides the
// steps, the driver 5, and the total must stay below 224. A delay takes two bytes, so the last
// macro that takes one is one the three-byte check still lets through.
TEST_P(HeronMacros, InsertingNeedsThreeBytesOfRoomAtTheLimit) {
    OpenMacros();
    struct Case {
        DeviceModel model;
        int keySteps;  // two bytes each
        int buttons;   // one byte each
        bool inserted;
    };
    const Case cases[] = {
        {DeviceModel::Heron, 103, 0, true},         // 13 + 206 + 3 = 222
        {DeviceModel::Heron, 103, 1, true},         // 223
        {DeviceModel::Heron, 104, 0, false},        // 224
        {DeviceModel::HeronDriver, 107, 0, true},   // 5 + 214 + 3 = 222
        {DeviceModel::HeronDriver, 107, 1, true},   // 223
        {DeviceModel::HeronDriver, 108, 0, false},  // 224
    };
    for (const auto& c : cases) {
        if (c.model != Model()) continue;
        std::vector<MacroStep> steps;
        for (int i = 0; i < c.keySteps; ++i) steps.push_back({i % 2 ? 0x02 : 0x82, 0x04, {}});
        for (int i = 0; i < c.buttons; ++i) steps.push_back({0xA1, 0xA1, {}});
        Macros()[0].data = EncodeMacro(Model(), steps, {});
        ASSERT_TRUE(MacroStore::Instance().SaveMacroFile(Model()));
        Page().Reload();
        SelectMacro(0);
        const int before = StepList().RowCount();
        ASSERT_EQ(before, c.keySteps + c.buttons);
        // Without room the dialog never opens: an unanswered one would fail the test.
        if (c.inserted) AnswerDialog("16");
        Ui().SelectComboItem(N("macro_insert_combo"), 2, Win());
        const int rows = c.keySteps + c.buttons;
        EXPECT_EQ(StepList().RowCount(), c.inserted ? rows + 1 : rows) << rows;
        EXPECT_EQ(Decoded(OnDisk()[0].data).size(), static_cast<size_t>(StepList().RowCount())) << rows;
        if (c.inserted) {
            EXPECT_EQ(Rows().back(), (Step{0xFE, 16})) << rows;
        }
    }
}

// A recorded pause is kept in 8 ms steps up to 2040 ms; the fixed delay field counts in 8 ms.
TEST_P(HeronMacros, RecordedPausesAreRoundedTo8MsAndLimited) {
    OpenMacros();
    SelectMacro(0);
    const struct {
        uint64_t pause;
        int stored;
    } pauses[] = {{5000, 2040}, {2047, 2040}, {100, 96}, {7, 0}};
    for (const auto& p : pauses) {
        Record([&] {
            Ui().KeyDown(ui::kVkA);
            Ui().AdvanceClock(p.pause);
            Ui().KeyUp(ui::kVkA);
        });
        EXPECT_EQ(Rows(), (std::vector<Step>{{0x82, 0x04}, {0xFE, p.stored}, {0x02, 0x04}})) << p.pause;
        EXPECT_EQ(Decoded(OnDisk()[0].data), Rows()) << p.pause;
    }
    Ui().Click(N("delay_setting"), Win());
    Replace(N("delay_edit"), "300", Win());
    EXPECT_EQ(Ui().Text(N("delay_edit"), Win()), "255");
    Record([&] { Ui().PressKey(ui::kVkA); });
    EXPECT_EQ(Rows(), (std::vector<Step>{{0x82, 0x04}, {0xFE, 2040}, {0x02, 0x04}}));
}

// The driver keeps more: a delay of up to 2040 ms typed in the entry dialog (the Heron 255 ms,
// written in 8 ms steps), and four more key steps in a full macro, its fixed part counting 5 bytes
// where the Heron's counts 13.
TEST_P(HeronMacros, TheDriverHasLargerLimits) {
    struct Limits {
        DeviceModel model;
        const char* typedDelayKept;
        int delayShown;
        int fullMacroSteps;
    };
    const Limits limits[] = {{DeviceModel::Heron, "255", 248, 106},
                             {DeviceModel::HeronDriver, "2040", 2040, 110}};
    const Limits& l = *std::find_if(std::begin(limits), std::end(limits),
                                    [&](const Limits& x) { return x.model == Model(); });
    OpenMacros();
    NewMacro("Limits");
    std::string kept;
    Ui().AnswerModal(Dialog(), [&](ui::WindowImplBase&) {
        Replace(N("result_value"), "9999", Dialog());
        kept = Ui().Text(N("result_value"), Dialog());
        Ui().Click(N("btn_ok"), Dialog());
    });
    Ui().SelectComboItem(N("macro_insert_combo"), 2, Win());
    EXPECT_EQ(kept, l.typedDelayKept);
    EXPECT_EQ(Rows(), (std::vector<Step>{{0xFE, l.delayShown}}));  // as the file holds it

    Ui().Click(N("delay_no"), Win());
    Record([&] {
        for (int i = 0; i < 80; ++i) Ui().PressKey(ui::kVkA + static_cast<uint32_t>(i % 26));
    });
    EXPECT_EQ(StepList().RowCount(), l.fullMacroSteps);
    EXPECT_EQ(Decoded(OnDisk()[OnDisk().size() - 1].data).size(), static_cast<size_t>(l.fullMacroSteps));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(HeronFamily, HeronMacros, ::testing::ValuesIn(oaktest::HeronMacroModels()),
                         oaktest::MacroModelName);

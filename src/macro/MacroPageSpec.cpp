#include "macro/MacroPageSpec.h"

namespace {

const std::vector<LoopOption> kCountOrContinuous{{"circle_setting", LoopMode::Count},
                                                 {"circle_all", LoopMode::Continuous}};
const std::vector<LoopOption> kCountOrStops{{"circle_setting", LoopMode::Count},
                                            {"circle_stop_any_key", LoopMode::StopOnAnyKey},
                                            {"circle_stop", LoopMode::Stop},
                                            {"circle_continue", LoopMode::Continue}};

// The terminated pages (Egret, Ibis, Crane) differ only in names, the folder page's modifier words
// and the loop options with their largest count.
MacroPageSpec TerminatedPages(DeviceModel model, const char* suffix, const char* fileSkin,
                              const char* folderSkin, ModifierWords folderWords, const MarcoEditSpec& edit,
                              const std::vector<LoopOption>& loops = kCountOrContinuous, int countMax = 254) {
    return MacroPageSpec{
        model,
        suffix,
        fileSkin,
        folderSkin,
        65534,
        1,
        countMax,
        3,
        50,
        loops,
        ModifierWords::FilePage,
        folderWords,
        0x82,
        0x02,
        0x81,
        0x01,
        0x04,
        {{{0xA1, 0x21}, {0xA2, 0x22}, {0xA4, 0x24}, {0xA8, 0x28}, {0xB0, 0x30}}},
        edit,
    };
}

// The Heron family's pages: a delay field in 8 ms units, no room kept for a recorded event, 80 ms
// inside an inserted click, a movement as separate X and Y steps, and the end mode.
MacroPageSpec CountedPages(DeviceModel model, const char* suffix, const char* fileSkin,
                           const char* folderSkin, const MarcoEditSpec& edit) {
    MacroPageSpec s{
        model,
        suffix,
        fileSkin,
        folderSkin,
        255,
        8,
        254,
        0,
        80,
        kCountOrContinuous,
        ModifierWords::FilePage,
        ModifierWords::FolderPage,
        0x82,
        0x02,
        0x81,
        0x01,
        0xFB,
        {{{0xA1, 0x21}, {0xA2, 0x22}, {0xA4, 0x24}, {0xA8, 0x28}, {0xB0, 0x30}}},
        edit,
    };
    s.moveRows = true;
    s.moveYTag = 0xFA;
    s.endOptions = {{"circle_stop", EndMode::Stop}, {"circle_continue", EndMode::Continue}};
    return s;
}

}  // namespace

const MarcoEditSpec& EgretEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Egret", "XML/MarcoEdit_Egret.xml", "Egret", 8, 65534};
    return spec;
}

const MarcoEditSpec& IbisEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Ibis", "XML/MarcoEdit_Ibis.xml", "Ibis", 8, 65534};
    return spec;
}

const MacroPageSpec& EgretPageSpec() {
    static const MacroPageSpec spec =
        TerminatedPages(DeviceModel::Egret, "Egret", "XML/MarcoManagerFile_Egret.xml",
                        "XML/MarcoManagerFolder_Egret.xml", ModifierWords::Language, EgretEditSpec());
    return spec;
}

const MacroPageSpec& IbisPageSpec() {
    static const MacroPageSpec spec =
        TerminatedPages(DeviceModel::Ibis, "Ibis", "XML/MarcoManagerFile_Ibis.xml",
                        "XML/MarcoManagerFolder_Ibis.xml", ModifierWords::FolderPage, IbisEditSpec());
    return spec;
}

const MarcoEditSpec& CraneEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Crane", "XML/MarcoEdit_Crane.xml", "Crane", 8, 65534};
    return spec;
}

const MacroPageSpec& CranePageSpec() {
    static const MacroPageSpec spec = TerminatedPages(
        DeviceModel::Crane, "Crane", "XML/MarcoManagerFile_Crane.xml", "XML/MarcoManagerFolder_Crane.xml",
        ModifierWords::FolderPage, CraneEditSpec(), kCountOrStops, 126);
    return spec;
}

const MarcoEditSpec& HeronEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Heron", "XML/MarcoEdit_Heron.xml", "Heron", 16, 255};
    return spec;
}

const MacroPageSpec& HeronPageSpec() {
    static const MacroPageSpec spec =
        CountedPages(DeviceModel::Heron, "Heron", "XML/MarcoManagerFile_Heron.xml",
                     "XML/MarcoManagerFolder_Heron.xml", HeronEditSpec());
    return spec;
}

const MarcoEditSpec& HeronDriverEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Heron_Driver", "XML/MarcoEdit_Heron_Driver.xml",
                                    "Heron_Driver", 16, 2040};
    return spec;
}

const MacroPageSpec& HeronDriverPageSpec() {
    static const MacroPageSpec spec =
        CountedPages(DeviceModel::HeronDriver, "Heron_Driver", "XML/MarcoManagerFile_Heron_Driver.xml",
                     "XML/MarcoManagerFolder_Heron_Driver.xml", HeronDriverEditSpec());
    return spec;
}

const MarcoEditSpec& KeyboardEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit", "XML/MarcoEdit.xml", "", 16, 65535};
    return spec;
}

const MacroPageSpec& KeyboardPageSpec() {
    static const MacroPageSpec spec = [] {
        MacroPageSpec s{
            DeviceModel::Plover,
            "",
            "XML/MarcoManagerKeyboardBody.xml",
            "",
            65535,
            1,
            254,
            7,
            50,
            {{"circle_setting", LoopMode::Count},
             {"circle_stop", LoopMode::Stop},
             {"circle_continue", LoopMode::Continue}},
            ModifierWords::FilePage,
            ModifierWords::FilePage,
            0x81,
            0x01,
            0x81,
            0x01,
            0x03,
            {{{0x82, 0x02}, {0x82, 0x02}, {0x82, 0x02}, {0x82, 0x02}, {0x82, 0x02}}},
            KeyboardEditSpec(),
        };
        s.macroListName = "listex";
        s.stepListName = "listex1";
        s.recordedDelayDivisor = 8;
        s.modifiersAsKeys = true;
        // Left, right, middle, then the first extra button 0x10 and the second 0x08.
        s.buttonValues = {0x01, 0x02, 0x04, 0x10, 0x08};
        s.moveRows = true;
        s.moveYTag = 0x03;
        return s;
    }();
    return spec;
}

#include "macro/MacroPageSpec.h"

namespace {

// The Egret and the Ibis pages differ only in names and in the folder page's modifier words.
MacroPageSpec TerminatedPages(DeviceModel model, const char* suffix, const char* fileSkin,
                              const char* folderSkin, ModifierWords folderWords, const MarcoEditSpec& edit) {
    return MacroPageSpec{
        model,
        suffix,
        fileSkin,
        folderSkin,
        65534,
        1,
        254,
        3,
        50,
        {{"circle_setting", LoopMode::Count}, {"circle_all", LoopMode::Continuous}},
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
        return s;
    }();
    return spec;
}

#include "macro/MacroPageSpec.h"

const MarcoEditSpec& EgretEditSpec() {
    static const MarcoEditSpec spec{"MarcoEdit_Egret", "XML/MarcoEdit_Egret.xml", "Egret", 8, 65534};
    return spec;
}

const MacroPageSpec& EgretPageSpec() {
    static const MacroPageSpec spec{
        DeviceModel::Egret,
        "Egret",
        "XML/MarcoManagerFile_Egret.xml",
        "XML/MarcoManagerFolder_Egret.xml",
        65534,
        1,
        254,
        3,
        50,
        {{"circle_setting", LoopMode::Count}, {"circle_all", LoopMode::Continuous}},
        ModifierWords::FilePage,
        ModifierWords::Language,
        0x82,
        0x02,
        0x81,
        0x01,
        0x04,
        {{{0xA1, 0x21}, {0xA2, 0x22}, {0xA4, 0x24}, {0xA8, 0x28}, {0xB0, 0x30}}},
        EgretEditSpec(),
    };
    return spec;
}

#include "assign/KeyEdit_Ibis.h"

namespace assign {

const KeyEditSpec KeyEdit_Ibis::kSpec{
    IbisConfig::kModel,
    "Ibis",
    0x1006A0FFu,
    {0x10, 0x06, 0xA0},
    1,
    {0, 1, 2, 3, 4, 5, 7},
    true,
    {{{}, {}, {}, {}, {}, {"Gun6_Num", 2}, {"Gun7_Num", 3}}},
};

KeyEdit_Ibis::KeyEdit_Ibis(ui::WindowImplBase* owner, IbisConfig& config, const KeySlot& slot)
    : KeyEdit(owner, kSpec, config, slot, std::make_unique<RecordKeyEditDevice<IbisConfig>>(config)) {}

}  // namespace assign

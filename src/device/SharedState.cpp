#include "device/SharedState.h"

#include <cctype>

#include "device/ModelTable.h"

namespace {

struct Globals {
    std::string appFolder;
    std::string macroTempFolder;
    SkinDeviceIds ids;
};

Globals& G() {
    static Globals globals;
    return globals;
}

}  // namespace

const std::string& AppFolder() {
    return G().appFolder;
}
const std::string& MacroTempFolder() {
    return G().macroTempFolder;
}
SkinDeviceIds& SkinIds() {
    return G().ids;
}
DeviceId IdsOf(DeviceModel model) {
    const DeviceIdSource& source = RowOf(model).ids;
    if (source.vidLabel) return SkinIds()[model];
    return {source.vid, source.pid};
}
void SetAppFolder(std::string folder) {
    G().appFolder = std::move(folder);
}
void SetMacroTempFolder(std::string folder) {
    G().macroTempFolder = std::move(folder);
}

int32_t ParseSkinId(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    int64_t value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return INT32_MAX;  // a longer run of digits cannot name a device
        ++i;
    }
    return static_cast<int32_t>(value);
}

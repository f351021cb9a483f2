#include "macro/MacroModelPages.h"

namespace {

using PageFactory = std::unique_ptr<MacroManagerPage> (*)(ui::WindowImplBase&);

template <class Page>
std::unique_ptr<MacroManagerPage> Make(ui::WindowImplBase& owner) {
    return std::make_unique<Page>(owner);
}

struct ModelPages {
    DeviceModel model;
    PageFactory file;
    PageFactory folder;
};

constexpr ModelPages kPages[] = {
    {DeviceModel::Egret, Make<MarcoMangerFile_Egret>, Make<MarcoMangerFolder_Egret>},
    {DeviceModel::Ibis, Make<MarcoMangerFile_Ibis>, Make<MarcoManagerFolder_Ibis>},
};

}  // namespace

std::unique_ptr<MacroManagerPage> CreateModelMacroPage(DeviceModel model, ui::WindowImplBase& owner,
                                                       bool folder) {
    for (const auto& pages : kPages)
        if (pages.model == model) return (folder ? pages.folder : pages.file)(owner);
    return nullptr;
}

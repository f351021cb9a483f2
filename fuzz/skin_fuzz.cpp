// Fuzz target for the skin builder, which also reads the language files: any document builds into a
// tree or a report, never a crash, and a tree it builds can be laid out and painted.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/backend/headless/HeadlessBackend.h"
#include "ui/builder/Builder.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/render/CairoCanvas.h"
#include "ui/text/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool toolkit = [] {
        ui::Toolkit::Init(std::make_unique<ui::HeadlessBackend>());
        return true;
    }();
    (void)toolkit;
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    ui::PaintManager manager;
    ui::Builder builder;
    auto result = builder.BuildFromString(xml, "fuzz.xml", manager,
                                          [](std::string_view cls) -> std::unique_ptr<ui::Control> {
                                              if (cls.starts_with("Custom"))
                                                  return std::make_unique<ui::Container>();
                                              return nullptr;
                                          });
    if (!result.ok && result.report.Empty()) __builtin_trap();  // a refusal always says why
    if (!ui::IsValidUtf8(result.report.ToString())) __builtin_trap();
    if (!result.root) return 0;
    // Pango refuses invalid UTF-8, so nothing a document holds may reach a control without the check.
    std::vector<const ui::Control*> pending{result.root.get()};
    while (!pending.empty()) {
        const ui::Control* c = pending.back();
        pending.pop_back();
        for (const std::string& text :
             {c->GetName(), c->GetText(), c->GetResolvedText(), c->GetToolTip(), c->GetUserData()})
            if (!ui::IsValidUtf8(text)) __builtin_trap();
        if (auto* container = dynamic_cast<const ui::Container*>(c))
            for (int i = 0; i < container->GetCount(); ++i) pending.push_back(container->GetItemAt(i));
    }
    manager.AttachRoot(std::move(result.root));
    manager.SetClientSize({320, 240});
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 320, 240);
    cairo_t* cr = cairo_create(surface);
    {
        ui::CairoCanvas canvas(cr);
        manager.Paint(canvas, {0, 0, 320, 240});
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return 0;
}

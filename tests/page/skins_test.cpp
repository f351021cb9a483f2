// Every skin document we ship builds without a single reported problem.
#include <gtest/gtest.h>

#include <filesystem>

#include "UiDriver.h"
#include "macro/MarcoListUI.h"
#include "ui/builder/Builder.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"

namespace {

TEST(ShippedSkins, BuildWithoutProblems) {
    oaktest::UiDriver ui;
    auto folder = std::filesystem::path(ui::Toolkit::GetResourcePath()) / "XML";
    int built = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".xml") continue;
        ui::PaintManager manager;
        ui::Builder builder;
        // Custom classes stand in as plain containers; their own skins are checked on their own.
        auto result = builder.Build("XML/" + entry.path().filename().string(), manager,
                                    [](std::string_view cls) -> std::unique_ptr<ui::Control> {
                                        if (cls == "MarcoList") return std::make_unique<MarcoListUI>();
                                        for (const char* known : {"KeyboardPage", "MousePage", "MacroSetting", "FireMacroSettingPage",
                                                                   "UartLedSettingPage"})
                                            if (std::string_view(cls).starts_with(known))
                                                return std::make_unique<ui::Container>();
                                        return nullptr;
                                    });
        EXPECT_TRUE(result.ok) << entry.path();
        EXPECT_TRUE(result.report.Empty()) << result.report.ToString();
        ++built;
    }
    EXPECT_GE(built, 8);
}

}  // namespace

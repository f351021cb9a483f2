#pragma once
// The mouse models whose macro pages the page tests run on, as a test parameter, and the bare window
// that hosts the pages of a model whose device page does not show them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroFileFormat.h"
#include "macro/MacroManagerPage.h"
#include "macro/MacroModelPages.h"
#include "macro/MacroPageSpec.h"
#include "macro/MacroStore.h"
#include "records/DeviceModel.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace oaktest {

struct MacroModel {
    const MacroPageSpec& (*spec)();
    int device;  // "device_combo" position; -1: the pages live in a `MacroHostWindow`
    const char* suffix;
    // The loop entry a new macro's first change writes: a count of 1, or none where that is the mode
    // of a macro without one (the Crane's continue).
    std::vector<uint8_t> newMacroLoop;
    std::vector<uint8_t> secondOptionLoop;  // the loop entry of the option after the count
    size_t loopAt;                          // offset of the loop entry: after the end mode and length
    // A new macro's data after inserting a left click: loop entry, press, the click's delay, release.
    std::vector<uint8_t> newMacroClick;
};

inline void PrintTo(const MacroModel& m, std::ostream* out) {
    *out << m.suffix;
}

// Heron family: end mode continue, the length, "FD 00" (a count of 1), A1, "FE 0A" (80 ms), 21, FC,
// the check byte: (0x08 + 0xFD + 0x00 + 0xA1 + 0xFE + 0x0A + 0x21 + 0xFC) mod 256, XOR 0x5A.
inline const MacroModel kMacroModels[] = {
    {EgretPageSpec,
     3,
     "Egret",
     {0xFD, 0x01},
     {0xFD, 0x00},
     0,
     {0xFD, 0x01, 0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFC, 0x00}},
    {IbisPageSpec,
     4,
     "Ibis",
     {0xFD, 0x01},
     {0xFD, 0x00},
     0,
     {0xFD, 0x01, 0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFC, 0x00}},
    {CranePageSpec, 5, "Crane", {}, {0xFD, 0x7F}, 0, {0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFC, 0x00}},
    {HeronPageSpec,
     1,
     "Heron",
     {0xFD, 0x00},
     {0xFD, 0xFF},
     2,
     {0x00, 0x08, 0xFD, 0x00, 0xA1, 0xFE, 0x0A, 0x21, 0xFC, 0x91}},
    {HeronDriverPageSpec,
     2,
     "Heron_Driver",
     {0xFD, 0x00},
     {0xFD, 0xFF},
     3,
     {0x00, 0x00, 0x08, 0xFD, 0x00, 0xA1, 0xFE, 0x0A, 0x21, 0xFC, 0x91}},
};

// The models with an end mode and one-axis movement steps: the Heron and the Heron driver.
inline std::vector<MacroModel> HeronMacroModels() {
    std::vector<MacroModel> models;
    for (const auto& m : kMacroModels)
        if (!m.spec().endOptions.empty()) models.push_back(m);
    return models;
}

inline std::string MacroModelName(const ::testing::TestParamInfo<MacroModel>& info) {
    return info.param.suffix;
}

// Where pictures for a person to look at go: OAKRIDGE_SNAPSHOT_DIR when set, else the test's folder.
inline std::string MacroSnapshotPath(const std::string& name) {
    const char* dir = std::getenv("OAKRIDGE_SNAPSHOT_DIR");
    return (dir && *dir ? std::string(dir) + "/" : ::testing::TempDir()) + name + ".png";
}

// The languages the macro pages are pictured in: a Latin script and Thai, whose marks stack.
inline bool PicturedLanguage(const std::string& language) {
    return language == "English" || language == "Thai";
}

// One macro page of `model` in a bare window of the macro area's size over the main window. It
// loads the model's macro file and folder first, as the device page does when it initialises.
class MacroHostWindow final : public ui::WindowImplBase {
  public:
    static constexpr const char* kClass = "MacroHost";

    MacroHostWindow(DeviceModel model, bool folder) : model_(model), folder_(folder) {}
    std::string GetWindowClassName() const override { return kClass; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<ui::Control> CreateRootInCode() override {
        auto root = std::make_unique<ui::SkinPage>();
        root->SetAttribute("bkcolor", "#FF0F1115");
        root->SetAttribute("inset", "20,20,20,20");
        root_ = root.get();
        return root;
    }
    void InitWindow() override {
        // The fonts every window's skin starts with.
        root_->LoadSkin(GetManager(), "XML/Fonts.xml");
        auto& store = MacroStore::Instance();
        store.SyncMacroFolder(model_);
        store.LoadMacroFile(model_);
        page_ = static_cast<MacroManagerPage*>(root_->Add(CreateModelMacroPage(model_, *this, folder_)));
    }
    MacroManagerPage* Page() const { return page_; }

    // Opens the window over `owner` and shows it.
    bool Open(ui::WindowImplBase& owner) {
        if (!Create(&owner, "", {}, {0, 0, 1040, 600})) return false;
        CenterWindow();
        ShowWindow(true, true);
        return true;
    }

  private:
    DeviceModel model_;
    bool folder_;
    ui::SkinPage* root_ = nullptr;
    MacroManagerPage* page_ = nullptr;
};

// For a fixture over the models: the model's names and its row, and the window its pages live in.
template <class Base>
class OverMacroModels : public Base, public ::testing::WithParamInterface<MacroModel> {
  protected:
    const MacroPageSpec& Spec() const { return GetParam().spec(); }
    DeviceModel Model() const { return Spec().model; }
    std::string N(std::string_view base) const { return Spec().Name(base); }
    std::string Dialog() const { return Spec().edit.className; }
    const MacroFileFormat& Format() const { return FileFormat(Model()); }
    bool Hosted() const { return GetParam().device < 0; }
    // The class of the window holding the macro pages.
    std::string Win() const { return Hosted() ? MacroHostWindow::kClass : "Oakridge"; }

    // Starts the program and shows the model's macro pages (the folder view with `folder`).
    void ShowMacroPages(bool folder) {
        if (!Hosted()) {
            this->ShowDevice(GetParam().device);
            this->Ui().Click(N("marco_manager"), "Oakridge");
            if (folder) this->Ui().Click(N("macro_view_folder"), "Oakridge");
            return;
        }
        if (!this->frame_) {
            this->StartApp();
            this->WaitForDeviceTasks();
        }
        host_ = std::make_unique<MacroHostWindow>(Model(), folder);
        ASSERT_TRUE(host_->Open(this->Frame()));
        this->Ui().RunUntilIdle();
    }
    void TearDown() override {
        if (host_) {
            host_->Close(0);
            this->Ui().RunUntilIdle();
            host_.reset();
        }
        Base::TearDown();
    }

    std::unique_ptr<MacroHostWindow> host_;
};

}  // namespace oaktest

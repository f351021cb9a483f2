// Damaged or crafted profile files loaded through the Egret page: the mouse refuses them, the user
// is told, and neither the mouse nor the page loses what it had.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/ProfileFiles.h"
#include "platform/Paths.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";
constexpr size_t kImage = 2048;
constexpr size_t kMacroBase = 1024;  // where the Egret keeps its macro records

class ProfileImage : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        mouse::ProfileFiles::SetMessageShower(
            [this](ui::WindowImplBase*, const std::string& text) { messages_.push_back(text); });
        ShowDevice(3);
    }
    void TearDown() override {
        mouse::ProfileFiles::SetMessageShower(nullptr);
        AppFixture::TearDown();
    }
    mouse::CDialogMouseEgretSetting& Page() {
        return *dynamic_cast<mouse::CDialogMouseEgretSetting*>(Frame().Page(DeviceModel::Egret));
    }
    std::vector<uint8_t> DeviceImage() {
        auto& b = DeviceLibraryBinding::Instance();
        b.Call(EntryPoint::InitMCUDevice_Egret, IdsOf(DeviceModel::Egret).vid, IdsOf(DeviceModel::Egret).pid,
               int32_t{0});
        std::vector<uint8_t> image(kImage);
        b.Call(EntryPoint::EEPROM_Save_Configuration_Egret, image.data());
        return image;
    }
    void Load(const std::vector<uint8_t>& image, const char* name) {
        const std::string file = (TempDir() / name).string();
        ASSERT_TRUE(platform::WriteFileAtomic(file, image.data(), image.size()));
        Ui().AnswerFileDialog(file);
        Ui().Click("import_data_Egret", kMain);
        WaitForDeviceTasks();
    }

    std::vector<std::string> messages_;
};

// One macro record claiming 1006 event bytes: everything up to the end of the macro memory.
std::vector<uint8_t> WithOversizedMacro(std::vector<uint8_t> image) {
    image[kMacroBase] = 0x03, image[kMacroBase + 1] = 0xEE;
    const char16_t name[] = u"BOOM";
    for (size_t i = 0; i < 4; ++i) image[kMacroBase + 2 + 2 * i + 1] = static_cast<uint8_t>(name[i]);
    std::fill(image.begin() + kMacroBase + 18, image.end(), 0x41);
    return image;
}

TEST_F(ProfileImage, CraftedImagesAreRefusedAndTheMouseKeepsItsState) {
    const std::vector<uint8_t> before = DeviceImage();
    const int reportRate = Page().Egret().reportRate;
    const int stageCount = Page().Egret().stageCount;
    const size_t macros = Page().Egret().macros.size();

    struct Case {
        const char* name;
        std::vector<uint8_t> image;
    };
    std::vector<Case> cases = {{"oversized_macro.bin", WithOversizedMacro(before)}};
    auto stages = before;
    stages[5] = 200;  // stage count far past the seven stage slots
    cases.push_back({"stage_count.bin", stages});
    auto profile = before;
    profile[4] = 9;
    cases.push_back({"profile.bin", profile});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages_.clear();
        Load(c.image, c.name);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0], ui::TextTable::Instance().Resolve("%{351}"));
        EXPECT_EQ(DeviceImage(), before);
        EXPECT_EQ(Page().Egret().reportRate, reportRate);
        EXPECT_EQ(Page().Egret().stageCount, stageCount);
        EXPECT_EQ(Page().Egret().macros.size(), macros);
    }

    // The same file with a record of a size the mouse can hold loads as usual.
    auto fitting = WithOversizedMacro(before);
    fitting[kMacroBase] = 0, fitting[kMacroBase + 1] = 224;
    std::fill(fitting.begin() + kMacroBase + 18 + 224, fitting.end(), 0);
    messages_.clear();
    Load(fitting, "fitting.bin");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(DeviceImage(), fitting);
    ASSERT_EQ(Page().Egret().macros.size(), 1u);
    EXPECT_EQ(Page().Egret().macros[0].name, u"BOOM");
    EXPECT_EQ(Page().Egret().macros[0].data.size(), 224u);
}

}  // namespace

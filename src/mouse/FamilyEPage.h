#pragma once
// The shared design of the Egret, Ibis and Crane pages (four-byte assignment codes, one-based
// stages): navigation, key buttons, sensitivity stages, the notification dispatch, and reads and
// writes that run on the device worker on copies of the record. A model's page supplies its record
// and the few calls that differ.
#include <functional>
#include <memory>
#include <string>

#include "macro/MacroManagerPage.h"
#include "mouse/AdvancedSettings.h"
#include "mouse/LightingEditor.h"
#include "mouse/MousePage.h"
#include "mouse/PageNames.h"
#include "mouse/PageNavigation.h"
#include "mouse/ProfileFiles.h"
#include "mouse/RapidFireEditor.h"
#include "mouse/StageEditor.h"
#include "records/FamilyEConfig.h"

namespace mouse {

struct FamilyEModel {
    MouseModel page;
    const char* writeRequest;                 // "WRITE_EgretDATA"
    const char* readNotification;             // "READ_EgretDATA"
    const char* stageColourChanged;           // "Change_DPIColor_Egret_Data"; null when no editor follows it
    EntryPoint setCallback;                   // Device_SetCallBack_<model>
    const LightingModel* lighting = nullptr;  // the lighting page's options; null: the Egret's
    const ProfileFileModel* profileFiles = nullptr;  // null: the page has no profile files
};

class FamilyEPage : public MousePage, private StageHost {
  public:
    // Replaces the colour picker (tests); null restores it.
    using ColourChooser = std::function<bool(ui::WindowImplBase& owner, uint32_t& argb)>;
    static void SetColourChooser(ColourChooser chooser);

    FamilyEPage(ui::WindowImplBase& owner, const FamilyEModel& model);
    ~FamilyEPage() override;

    const PageNames& Names() const { return names_; }
    const StageEditor& Stages() const { return stages_; }
    const std::string& FilePath() const { return filePath_; }
    virtual FamilyEConfig& Config() = 0;
    // Shows the record in the controls.
    void Refresh();
    // The mouse itself switched profile or stage (marshalled to the UI thread).
    void OnDeviceChanged(int profile, int stage);
    // For editors embedded in the page: requests `operation`; `uartLed` is the entry operation 12
    // writes.
    void RequestEditorOperation(int operation, int uartLed = 0);
    // Opens the colour picker on `argb`; true when the user confirmed a new colour.
    bool PickColour(uint32_t& argb) { return ChooseColour(argb); }

    std::unique_ptr<PageWork> ReadDevice() override;
    std::unique_ptr<PageWork> Reopen() override;

  protected:
    // A copy of the live record, for a write.
    virtual std::shared_ptr<FamilyEConfig> CopyConfig() const = 0;
    // The record a read fills: the live one's values, kept where a read fails.
    virtual std::shared_ptr<FamilyEConfig> NewConfig() const = 0;
    // Worker: open the device and read everything into `fresh`; lists are rebuilt, other fields
    // change only where their read succeeds.
    virtual bool ReadRecord(FamilyEConfig& fresh, int keyCount) = 0;
    // Worker: run `operation` from `copy`; `editedKeyIndex` is the UART LED entry for operation 12.
    virtual bool WriteRecord(const FamilyEConfig& copy, int operation, int editedKeyIndex) = 0;
    // Worker: write key `keyIndex` of profile 0..2 from `copy`.
    virtual bool WriteKey(const FamilyEConfig& copy, int profile, int keyIndex) = 0;
    // UI thread: the read record becomes the live one.
    virtual void Adopt(std::shared_ptr<FamilyEConfig> fresh) = 0;
    // The tab page of the lighting button.
    virtual int LightingPage() const { return 4; }
    // The lighting button showed LightingPage().
    virtual void LightingShown() {}
    // Runs the model's key editor on `slot`, a key of the current profile; true when confirmed.
    virtual bool EditKey(KeySlot& slot) { return false; }
    // The model's fire-key panel for the fire-macro tab; null leaves the tab's plain panel.
    virtual std::unique_ptr<ui::Control> CreateFireKeyPanel() { return nullptr; }
    virtual void FireKeyTabOpened() {}

    void InitPage() override;
    void OnNotify(ui::Notification& n) override;
    void SetConnected(bool connected) override;
    std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) override;

    // Registers the page for the library's change reports; call on the worker after a read.
    void RegisterChangeCallback();
    // The user asked for `operation`: its copy of the page is taken now, then the request goes out.
    void RequestOperation(int operation);
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;
    void LabelKeys();
    void SelectProfile(int profile);
    bool ChooseColour(uint32_t& argb) override;

    const FamilyEModel& eModel_;
    PageNames names_;
    PageNavigation nav_;
    StageEditor stages_;
    RapidFireEditor rapidFire_;
    LightingEditor lighting_;
    AdvancedSettings advanced_;
    // Targets of the latest key, file and UART LED requests; each request copies its own.
    int editedKeyIndex_ = 0;
    std::string filePath_;
    bool ledTabPending_ = false;
    int uartLedIndex_ = 0;
    std::vector<MacroManagerPage*> macroPages_;  // owned by the page's tree

  private:
    void RequestStageWrite() override;
    void StageColourChanged() override;
    StageModel StageFields();
    LightingFields Lighting();
    bool HandleClick(ui::Control* sender);
    // Notifications of the advanced and lighting pages; true when handled.
    bool HandleSettings(ui::Notification& n);
    std::unique_ptr<PageWork> RapidFireWork(int operation);
    std::unique_ptr<PageWork> ProfileFileWork(int operation);
    void ShowMacroView(bool folder);
    int KeyButtonNumber(const ui::Control* sender);
};

}  // namespace mouse

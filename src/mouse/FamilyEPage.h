#pragma once
// The shared design of the Egret, Ibis and Crane pages (four-byte assignment codes, one-based
// stages) over the model's record type: navigation, key buttons, sensitivity stages, lighting,
// rapid fire, profile files, the notification dispatch, and reads and writes that run on the
// device worker on copies of the record. What differs is the model's table row; a model's page adds
// only the few optional hooks below.
#include <functional>
#include <memory>
#include <string>

#include "assign/FireKeyEdit.h"
#include "macro/MacroManagerPage.h"
#include "mouse/AdvancedSettings.h"
#include "mouse/LightingEditor.h"
#include "mouse/ModelPage.h"
#include "mouse/PageNames.h"
#include "mouse/PageNavigation.h"
#include "mouse/ProfileFiles.h"
#include "mouse/RapidFireEditor.h"
#include "mouse/StageEditor.h"
#include "records/CraneConfig.h"
#include "records/EgretConfig.h"
#include "records/IbisConfig.h"

namespace mouse {

template <class Record>
class FamilyEPage : public ModelPage, private StageHost {
  public:
    static constexpr DeviceModel kModel = Record::kModel;

    FamilyEPage(ui::WindowImplBase& owner, const LightingModel& lighting);
    ~FamilyEPage() override;

    Record& Config() { return config_; }
    const StageEditor& Stages() const { return stages_; }
    void Refresh() override;
    // The mouse itself switched profile or stage (marshalled to the UI thread).
    void OnDeviceChanged(int profile, int stage);
    // For editors embedded in the page: requests `operation`; `uartLed` is the entry the UART LED
    // write sends.
    void RequestEditorOperation(int operation, int uartLed = 0);
    // Opens the colour picker on `argb`; true when the user confirmed a new colour.
    bool PickColour(uint32_t& argb) { return ChooseColour(argb); }

    std::unique_ptr<PageWork> ReadDevice() override;
    std::unique_ptr<PageWork> Reopen() override;

  protected:
    // Optional hooks of a model's page.
    // Worker: fields of the record only this model reads, after the shared ones.
    virtual void ReadOwnFields(Record&) {}
    // Worker: a write group only this model has; `target` is the entry the request named.
    virtual bool WriteOwn(const Record&, WriteGroup, int target) { return true; }
    // The lighting button showed the lighting page.
    virtual void LightingShown() {}
    // UI thread, at the end of a refresh: the model's own controls.
    virtual void RefreshOwn() {}
    // UI thread: a notification of the model's own controls ("selectchanged", "textchanged" and the
    // like); true when handled.
    virtual bool HandleOwn(ui::Notification&) { return false; }
    // UI thread: a write of `group` was asked for; the record takes what it sends before the write's
    // copy is taken.
    virtual void PrepareOwnWrite(WriteGroup) {}
    // Runs the model's key editor on `slot`, a key of the current profile; true when confirmed.
    virtual bool EditKey(KeySlot& slot) { return false; }
    // The fire-key panel for the fire-macro tab, by default the model's own; null leaves the tab's
    // plain panel.
    virtual std::unique_ptr<assign::FireKeyEdit> CreateFireKeyPanel();

    void InitPage() override;
    std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) override;
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;
    bool ChooseColour(uint32_t& argb) override;
    // The device kind the record holds (0 where the model has no variants).
    int DeviceKind() const;
    const ModelVariant& Variant() const { return Row().Variant(DeviceKind()); }

  private:
    // Worker: open the device and read everything into `fresh`; lists are rebuilt, other fields
    // change only where their read succeeds.
    bool ReadRecord(Record& fresh, int keyCount);
    // Worker: run `operation` from `copy`; `target` is the key or UART LED entry it names.
    bool WriteRecord(const Record& copy, int operation, int target);
    // UI thread: the read record becomes the live one.
    void Adopt(const Record& fresh);
    // Registers the page for the library's change reports; call on the worker after a read.
    void RegisterChangeCallback();
    void LabelKeys() override;
    void RequestStageWrite() override;
    void StageColourChanged() override;
    StageModel StageFields();
    LightingFields Lighting();
    bool HandleClick(ui::Control* sender) override;
    void HandleSetting(ui::Notification& n) override;
    // Notifications of the advanced and lighting pages; true when handled.
    bool HandleSettings(ui::Notification& n);
    std::unique_ptr<PageWork> RapidFireWork(int operation);
    std::unique_ptr<PageWork> ProfileFileWork(int operation);
    bool ShowMacroView(bool folder) override;

    Record config_;
    StageEditor stages_;
    RapidFireEditor rapidFire_;
    LightingEditor lighting_;
    AdvancedSettings advanced_;
    // Targets of the latest key, file and UART LED requests; each request copies its own.
    int editedKeyIndex_ = 0;
    bool ledTabPending_ = false;
    int uartLedIndex_ = 0;
    assign::FireKeyEdit* firePanel_ = nullptr;  // owned by the page's tree
};

extern template class FamilyEPage<EgretConfig>;
extern template class FamilyEPage<IbisConfig>;
extern template class FamilyEPage<CraneConfig>;

}  // namespace mouse

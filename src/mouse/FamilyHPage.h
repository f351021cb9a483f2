#pragma once
// The shared design of the Heron and Heron-driver pages (three-byte assignment codes, zero-based
// active stage). Their device library keeps its own image of the mouse: every edit changes the
// record and that image at once, on the UI thread (the library's Set calls are no transfers), and
// marks the page pending; the image reaches the mouse only when the user writes (operation 0, on
// the worker), and the write button shows whether changes are waiting. What differs between the two
// pages is their table row and the hooks below.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/PendingChanges.h"
#include "macro/MacroManagerPage.h"
#include "mouse/AdvancedSettings.h"
#include "mouse/ModelPage.h"
#include "mouse/PageNames.h"
#include "mouse/PageNavigation.h"
#include "mouse/StageEditor.h"
#include "records/HeronConfig.h"
#include "records/HeronDriverConfig.h"

namespace mouse {

// The operations of a family-H page's write request (its lParam).
enum FamilyHOperation : int {
    kOpWriteMouse = 0,  // the library's image to the mouse
    kOpHRestore = 1,
    kOpHSave = 2,  // then the saved file is loaded back
    kOpHLoad = 3,
    kOpFireData = 4,  // the fire-macro slots, at once (the Heron's fire-key panel)
};

template <class Record>
class FamilyHPage : public ModelPage, private StageHost {
  public:
    static constexpr DeviceModel kModel = Record::kModel;
    // The count combo's first item is two stages; the active stage is zero-based; a level is
    // taken when its slider is released.
    static constexpr StageScheme kStageScheme{2, 0, true};

    explicit FamilyHPage(ui::WindowImplBase& owner);

    // What a click on a key button runs: the key editor over `owner` on `slot` of `config`, true
    // when the key's code changed. Replaceable (tests); null restores the model's own (`EditKey`).
    using KeyEditor = std::function<bool(ui::WindowImplBase& owner, Record& config, KeySlot& slot)>;
    static void SetKeyEditor(KeyEditor editor) { ReplacedKeyEditor() = std::move(editor); }
    ~FamilyHPage() override;

    Record& Config() { return config_; }
    const Record& Config() const { return config_; }
    const StageEditor& Stages() const { return stages_; }
    // Whether the page holds edits the mouse does not have yet.
    bool HasPendingChanges() const { return pending_.IsPending(); }
    void Refresh() override;
    // Opens the colour picker on `argb`; true when the user confirmed a new colour.
    bool PickColour(uint32_t& argb) { return ChooseColour(argb); }

    std::unique_ptr<PageWork> ReadDevice() override;
    std::unique_ptr<PageWork> Reopen() override;

  protected:
    // Hooks of a model's page; the defaults are the plain family-H behaviour.
    // UI thread: what the open passes after the ids, taken with each work (the driver's block);
    // none: the model's row decides.
    virtual std::optional<DriverBlock> OpenBlock() const { return std::nullopt; }
    // Worker, during a read, into the read's own record: the groups only this model reads, after
    // the key lists (fire macros) and after the stages (lighting, press types).
    virtual void ReadAfterKeys(Record&) {}
    virtual void ReadAfterStages(Record&) {}
    // UI thread: the lighting controls from the record; a lighting notification (true when
    // handled; the hook sets the library and calls Edited()).
    virtual void ShowLighting() {}
    virtual bool HandleLighting(ui::Notification&) { return false; }
    // UI thread: stage `shown` (1..7) or the count combo's item `item` was chosen; the record has
    // taken it and the stages go to the library next.
    virtual void StageOptionChosen(int shown) {}
    virtual void StageCountChosen(int item) {}
    // UI thread: the three press types into the library; true when it took them.
    virtual bool SetPressTypes() { return true; }
    // UI thread: after a read that kept pending edits, the library's image is given this page's
    // own groups again (the shared ones are given back by the page).
    virtual bool SetOwnGroups() { return true; }
    // Worker, in operation 0 on the opened device, from the copy taken with the request: before
    // and after the library's image goes to the mouse (the driver's block and its file).
    virtual bool BeforeMouseWrite(const Record&) { return true; }
    virtual void AfterMouseWrite(const Record&, bool ok) {}
    // Worker: a write group only this model has (the Heron's fire data), on the opened device.
    virtual bool WriteOwn(const Record&, WriteGroup) { return true; }
    // UI thread: runs the model's key editor on `slot`, a key of the current profile; true when the
    // key's code in the record changed (the editor has put any macro into the library's image).
    virtual bool EditKey(KeySlot& slot) { return false; }
    // The panel of the fire-macro tab; null leaves the tab's plain panel.
    virtual std::unique_ptr<ui::Control> CreateFireKeyPanel() { return nullptr; }
    // UI thread: the fire-macro tab was opened; a read's record was taken (or the pending edits kept).
    virtual void FireKeysShown() {}
    virtual void ReadTaken() {}
    // Whether the fire-macro tab is the one shown.
    bool FireKeysOpen();

    // For hooks and panels: the page now holds an edit the mouse does not have.
    void Edited();
    // The library refused a Set call: the image lacks something the record holds, so the next
    // write gives it the whole record first.
    void LibraryBehind() { libraryBehind_ = true; }

    void InitPage() override;
    std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) override;
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;
    bool ChooseColour(uint32_t& argb) override;
    bool ShowMacroView(bool folder) override;

  private:
    static KeyEditor& ReplacedKeyEditor() {
        static KeyEditor editor;
        return editor;
    }
    // Worker: open the device (`opened` tells whether it did), read the mouse into the library's
    // image and the image into `fresh`.
    bool ReadRecord(Record& fresh, int keyCount, const std::function<bool()>& open, bool* opened);
    // UI thread: a read's record; pending edits stay (and go back into the library's image) unless
    // `replaceEdits`.
    void Adopt(const Record& fresh, bool replaceEdits);
    // UI thread: the whole record into the library's image; false at the first refused call.
    bool SetEverything();
    bool SetKeys();
    std::function<bool()> Opener() const;
    std::unique_ptr<PageWork> ReadWork(bool replaceEdits);
    std::unique_ptr<PageWork> MouseWriteWork();
    std::unique_ptr<PageWork> FileWork(int operation);
    std::unique_ptr<PageWork> OwnWork(int operation);
    void ShowPending();
    void LabelKeys() override;
    void ShowFire();
    void ShowPressTypes();
    bool HandleClick(ui::Control* sender) override;
    void HandleSetting(ui::Notification& n) override;
    bool HandleFire(ui::Notification& n);
    bool HandlePressType(ui::Notification& n);
    void SetStages();
    void SetFire();
    void StageChosen(int shown) override { StageOptionChosen(shown); }
    void CountChosen(int item) override { StageCountChosen(item); }
    void RequestStageWrite() override;
    void StageColourChanged() override {}
    StageModel StageFields() { return {config_.stageCount, config_.currentStage, config_.stages}; }

    Record config_;
    StageEditor stages_;
    AdvancedSettings advanced_;
    PendingChanges pending_;
    bool libraryBehind_ = false;
};

extern template class FamilyHPage<HeronConfig>;
extern template class FamilyHPage<HeronDriverConfig>;

}  // namespace mouse

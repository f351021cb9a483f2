#pragma once
// The lighting page of the Egret variants with a LED strip: eight lighting modes, the effect each
// mode plays, and the parameters of the active mode's effect. It edits the page's record; a mode
// change and a parameter change go to the mouse as page operations on the write worker, while the
// effect block goes straight to the library.
#include <cstdint>
#include <string>

#include "records/UartLedEntry.h"
#include "ui/core/PaintManager.h"
#include "ui/layout/SkinPage.h"

struct EgretConfig;

namespace mouse {

class CDialogMouseEgretSetting;

class UartLedEdit_Egret : public ui::SkinPage {
  public:
    static constexpr int kModes = 8;

    explicit UartLedEdit_Egret(CDialogMouseEgretSetting& page);
    std::string_view GetClass() const override { return "UartLedEdit_Egret"; }

    // Builds the editor's skin once it is in the window's tree.
    void DoInit() override;
    // Shows the record: active mode, each mode's effect, the active effect's parameters.
    void Refresh();
    // The effect of the active mode; its entry is the one operation 12 writes.
    int CurrentEffect() const { return currentEffect_; }

    // A channel 0-255 as a coarse level 0-4, and a level as the channel value it shows.
    static int CoarseLevel(int value);
    static int CoarseValue(int level);

  private:
    void OnNotify(ui::Notification& n);
    bool OnClick(ui::Control* sender);
    bool OnSelectChanged(ui::Control* sender);
    bool OnItemSelect(ui::Control* sender);
    void OnLoopCountTyped(ui::Control* sender);
    void OnLoopCountLeft(ui::Control* sender);
    void OnStageColourChanged();
    void ChooseSwatchColour();

    // Shows effect `effect`'s groups and values by the effect table.
    void ShowEffect(int effect);
    void ShowTransitionEnabled(bool enabled);
    void SelectModeEffect(int mode);
    // The entry of the current effect, or null when the record has none for it.
    UartLedEntry* Entry();
    void RequestEntryWrite();
    // Code (0-7) of the selected option of `names`, or -1 when `sender` is none of them.
    template <size_t N>
    static int CodeOf(const ui::Control* sender, const char* const (&names)[N]);
    template <size_t N>
    void SelectCode(const char* const (&names)[N], int code);

    ui::PaintManager& Manager() const;
    EgretConfig& Config() const;

    CDialogMouseEgretSetting& page_;
    int currentEffect_ = 0;
    bool initialised_ = false;
    ui::ListenerHandle listener_;
};

}  // namespace mouse

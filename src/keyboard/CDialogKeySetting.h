#pragma once
// The Plover keyboard's page: its key tables drawn as a keyboard, the two profiles, lighting,
// macros and the memory image. Edits collect in `KeyboardConfig` and stay pending (the write button
// says so) until the user writes; reads, writes and file transfers run as device tasks.
#include <memory>
#include <string>

#include "device/PendingChanges.h"
#include "keyboard/KeyTables.h"
#include "page/DevicePage.h"
#include "records/KeyboardConfig.h"

namespace keyboard {

class MarcoManger;

class CDialogKeySetting final : public page::DevicePage {
  public:
    static constexpr DeviceModel kModel = KeyboardConfig::kModel;
    // The operations of "WRITE_PloverDATA" (its lParam).
    static constexpr int kOpWrite = 0;
    static constexpr int kOpSave = 1;
    static constexpr int kOpImport = 2;
    static constexpr int kOpReset = 3;
    static constexpr const char* kDefaultFile = "DefaultData_1.bin";

    explicit CDialogKeySetting(ui::WindowImplBase& owner);
    ~CDialogKeySetting() override;

    KeyboardConfig& Config() { return config_; }
    bool HasPendingChanges() const { return pending_.IsPending(); }
    MarcoManger* MacroWindow() const { return macroWindow_.get(); }

    std::unique_ptr<PageWork> ReadDevice() override;
    // Shows the record in the controls.
    void Refresh();
    // Shows the current profile's LED block.
    void RefreshLighting();

  protected:
    void InitPage() override;
    void OnNotify(ui::Notification& n) override;
    void SetConnected(bool connected) override;
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;

  private:
    template <class T>
    T* Find(std::string_view name) const {
        return Manager().Find<T>(name);
    }
    bool OnClick(ui::Control* sender);
    void EditEntry(const std::string& name, bool fn);
    void OpenMacroWindow();
    void RequestOperation(int operation);
    void Edited();
    void ShowPending();
    void ShowLoading(bool shown);
    void ShowKey(ui::Control& button, const KeyboardKey& key);
    // Takes what a read brought back; false keeps the record (edits still pending).
    void Adopt(const KeyboardRead& read, bool replaceEdits);
    std::unique_ptr<PageWork> WriteKeyboard();
    std::unique_ptr<PageWork> FileWork(int operation);
    std::array<uint8_t, 4>& Led() { return config_.ledBlocks[static_cast<size_t>(config_.currentProfile)]; }

    KeyboardConfig config_;
    PendingChanges pending_;
    std::string filePath_;  // of the save or import the user asked for
    std::unique_ptr<MarcoManger> macroWindow_;
};

}  // namespace keyboard

#pragma once
// The key assignment editor of the mice: a modal window in which the user picks what one button does
// (a mouse button, a special function, a media, web or PC key, a captured keyboard key with
// modifiers, a macro, a fire macro or a lighting switch). On OK or Reset the choice becomes the key's
// code in the record; macros (and the Egret's lighting block) go to the device at once. One class
// serves every model: a model supplies its names, codes and limits as a `KeyEditSpec`, its record
// through a `KeyEditRecord` view, its macro bookkeeping as `KeyMacros`, and overrides the
// categories only it has.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assign/AssignmentClasses.h"
#include "assign/DeviceMacroSync.h"
#include "assign/KeyCapture.h"
#include "assign/KeyEditDevice.h"
#include "assign/KeyEditRecord.h"
#include "assign/KeyMacros.h"
#include "records/FamilyEConfig.h"
#include "ui/core/Window.h"

namespace ui {
class List;
}

namespace assign {

// How the chosen item of a category becomes the key's code.
enum class CodeRule : uint8_t {
    ClassAndLow16,  // the class byte, then bits 8 to 15 and 0 to 7 of the item's value
    Value,          // the item's value, high byte first, in as many bytes as the code has
    GunCode,        // the row's gun code with the keep-left bit, byte 2, the remembered fire-macro byte
};

struct CategoryCode {
    CodeRule rule;
    uint8_t classByte = 0;
};

struct KeyEditSpec {
    DeviceModel model;
    const char* suffix;  // of class, skin and control names: "Egret"
    // Codes that count as a primary-button function on `reservedProfile` (zero-based): the special
    // list's double click and the macro code the device keeps for it.
    uint32_t reservedSpecial;
    std::array<uint8_t, 3> reservedMacro;
    int reservedProfile;
    // Gun code by row of the fire-macro list.
    std::array<uint8_t, 7> gunCodes;
    bool combinations;  // two keys within 500 ms make one code
    // Byte 2 of a fire-macro code by row of the fire-macro list: the user data of the control (base
    // name; the editor's first, else the page's) when it is 1 to `max`; otherwise, and without a
    // control, 1.
    struct FireByte {
        const char* control;
        int max;
    };
    std::array<FireByte, 7> fireByte2{};
    // Bytes of a code (four for family E, three for family H; the rest stay 0), and the rules of the
    // categories with a list: mouse, special, multimedia, web, PC and fire macro.
    int codeBytes = 4;
    std::array<CategoryCode, 6> listCodes{{{CodeRule::ClassAndLow16, kMouseButton},
                                           {CodeRule::Value},
                                           {CodeRule::Value},
                                           {CodeRule::Value},
                                           {CodeRule::Value},
                                           {CodeRule::GunCode}}};
    // The key list each profile (zero-based) edits; later profiles take the last entry.
    std::array<int8_t, 3> keyListOfProfile{0, 1, 2};
    // On `reservedProfile` the fire-macro category is shown only when the page shows its fire keys;
    // false: it keeps the visibility the skin gave it.
    bool fireMacroFollowsPage = true;
    // The label that shows the key's code at open, and the window's name when it is created (null:
    // the class name).
    const char* currentValue = "current_value";
    const char* windowName = nullptr;

    int KeyListOf(int profile) const {
        if (profile < 0) return -1;
        return keyListOfProfile[std::min(static_cast<size_t>(profile), keyListOfProfile.size() - 1)];
    }
};

class KeyEdit : public ui::WindowImplBase {
  public:
    using Code = std::array<uint8_t, 4>;
    enum class Category { None, Mouse, Special, Multimedia, Web, Pc, Keyboard, Macro, FireMacro, Led };

    // Makes the macro bookkeeping of key `keyIndex` in key list `keyList`.
    using MacrosFactory = std::function<std::unique_ptr<KeyMacros>(int keyList, int keyIndex)>;

    // `slot` is a key of the list in the record the current profile edits.
    KeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec, std::unique_ptr<KeyEditRecord> record,
            const KeySlot& slot, const MacrosFactory& macros);
    // A family-E model: its record, with the macros kept in step by `DeviceMacroSync` over `device`.
    KeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec, FamilyEConfig& config, const KeySlot& slot,
            std::unique_ptr<KeyEditDevice> device);
    ~KeyEdit() override;

    // Runs modally over the owner; on OK or Reset applies the choice to the key. True exactly then.
    // A choice that would leave the profile without a primary button is refused before the editor
    // closes, so the user can choose again.
    bool RunModal();

    std::string GetWindowClassName() const override { return "KeyEdit_" + std::string(spec_.suffix); }
    std::string WindowName() const { return spec_.windowName ? spec_.windowName : GetWindowClassName(); }
    std::string GetSkinFile() const override { return "XML/KeyEdit_" + std::string(spec_.suffix) + ".xml"; }
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    // Escape closes like Cancel, except while a key is being captured: then it is the key.
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;

    uint32_t CapturedKey() const { return capture_.Captured(); }
    bool HookInstalled() const { return hooked_; }

  protected:
    // The model's own categories: shown at open, and applied after the key's code was set.
    virtual void InitModelCategories() {}
    virtual void ApplyModelCategories(Category chosen) {}

    std::string Name(std::string_view base) const { return std::string(base) + "_" + spec_.suffix; }
    bool IsChecked(std::string_view base) const;
    const KeyEditSpec& Spec() const { return spec_; }
    KeyMacros& Macros() { return *macros_; }
    ui::WindowImplBase* Owner() const { return owner_; }

  private:
    struct MacroRow {
        bool folder = false;
        std::string key;   // file of the folder store
        size_t entry = 0;  // index in its list
    };

    void ShowOnly(Category category);
    uint8_t FireByte2(int row);
    void InstallHook();
    void RemoveHook();
    void OnKey(uint32_t message, uint32_t vk);
    void OnModifierClick(std::string_view word, bool wasChecked);
    void FillMacros();
    void ToggleFolder(int row);
    void Preselect(const Code& code);
    bool SelectListItem(std::string_view list, const std::function<bool(const ui::Control&)>& match);

    Category Chosen() const;
    int ListSel(std::string_view list) const;
    const ui::Control* ListItem(std::string_view list) const;
    const MacroEntry* ChosenMacro() const;
    bool Validate(const KeySlot& slot) const;
    // OK and Apply: closes with OK when the choice keeps a primary button on the profile, else says
    // so and stays open for another choice.
    void CloseIfValid();
    std::optional<Code> BuildCode(Category category);
    std::optional<Code> FireKeyCode(const ui::Control& item) const;
    std::optional<Code> ListCode(Category category, const ui::Control& item);
    // The code a list item stands for, where that depends on the item alone.
    std::optional<Code> ItemCode(Category category, const ui::Control& item) const;
    const CategoryCode& RuleOf(Category category) const;
    Code ValueCode(uint32_t value) const;
    void Apply();
    KeySlot* Slot();

    ui::WindowImplBase* owner_;
    const KeyEditSpec& spec_;
    std::unique_ptr<KeyEditRecord> record_;
    int keyList_;  // the list of the record's key lists the profile edits
    int keyIndex_;
    std::unique_ptr<KeyMacros> macros_;
    KeyCapture capture_;
    ui::ListenerHandle hook_;
    bool hooked_ = false;
    std::vector<MacroRow> folderRows_;
};

}  // namespace assign

#pragma once
// Base of every skinned control: identity, text, look, layout attributes, state and painting.
// Names compare without regard to case. Controls belong to one paint manager once attached.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/core/Event.h"
#include "ui/core/Geometry.h"
#include "ui/core/Notification.h"

namespace ui {

class Canvas;
class Container;
class PaintManager;

enum class AttrResult { Ok, Unknown, BadValue };

// Text alignment bits for `align` and the canvas.
enum TextAlign : unsigned {
    kAlignLeft = 0,
    kAlignCenter = 1,
    kAlignRight = 2,
    kAlignTop = 0,
    kAlignVCenter = 4,
    kAlignBottom = 8,
    kAlignSingleLine = 16,
    kAlignEndEllipsis = 32,
    kAlignWordBreak = 64,
};

enum class ImageSlot {
    Bk,
    Fore,
    Normal,
    Hot,
    Pushed,
    Focused,
    Disabled,
    Selected,
    SelectedHot,
    SelectedPushed,
    SelectedDisabled,
    Count
};

class Control {
  public:
    Control();
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual std::string_view GetClass() const { return "Control"; }

    // Identity
    const std::string& GetName() const { return name_; }
    void SetName(std::string name);
    bool NameIs(std::string_view name) const;
    const std::string& GetText() const { return text_; }
    virtual void SetText(std::string text);
    // The text with its references resolved against the current text table.
    std::string GetResolvedText() const;
    const std::string& GetUserData() const { return userData_; }
    void SetUserData(std::string data) { userData_ = std::move(data); }
    const std::string& GetToolTip() const { return toolTip_; }
    void SetToolTip(std::string tip) { toolTip_ = std::move(tip); }
    intptr_t GetTag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    // Tree
    PaintManager* GetManager() const { return manager_; }
    Container* GetParent() const { return parent_; }
    virtual void SetManager(PaintManager* manager, Container* parent);

    // State
    bool IsVisible() const { return visible_; }
    // Visible and every ancestor visible.
    bool IsShown() const;
    virtual void SetVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    // Enabled and every ancestor enabled.
    bool IsEffectivelyEnabled() const;
    virtual void SetEnabled(bool enabled);
    bool IsMouseEnabled() const { return mouseEnabled_; }
    void SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
    bool IsKeyboardEnabled() const { return keyboardEnabled_; }
    void SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
    bool IsFocused() const { return focused_; }
    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }
    // Controls that take focus on click and with Tab.
    virtual bool WantsFocus() const { return false; }
    // Controls that act on the pointer; a press on anything else inside the caption moves the window.
    virtual bool IsInteractive() const { return false; }

    // Look
    int GetFont() const { return font_; }
    void SetFont(int index);
    Color GetTextColor() const { return textColor_; }
    void SetTextColor(Color color);
    Color GetBkColor() const { return bkColor_; }
    void SetBkColor(Color color);
    // With a second (and third) background colour the background is a gradient through them.
    Color GetBkColor2() const { return bkColor2_; }
    void SetBkColor2(Color color);
    Color GetBkColor3() const { return bkColor3_; }
    void SetBkColor3(Color color);
    const std::string& GetImage(ImageSlot slot) const { return images_[static_cast<size_t>(slot)]; }
    void SetImage(ImageSlot slot, std::string image);
    const std::string& GetBkImage() const { return GetImage(ImageSlot::Bk); }
    void SetBkImage(std::string image) { SetImage(ImageSlot::Bk, std::move(image)); }
    const std::string& GetNormalImage() const { return GetImage(ImageSlot::Normal); }
    void SetNormalImage(std::string image) { SetImage(ImageSlot::Normal, std::move(image)); }
    unsigned GetTextAlign() const { return align_; }

    // Layout
    const Rect& GetPos() const { return rect_; }
    virtual void SetPos(const Rect& rect);
    bool IsFloat() const { return float_; }
    void SetFloat(bool f);
    const Rect& GetFloatPos() const { return floatPos_; }
    void SetFloatPos(const Rect& pos);
    const Rect& GetPadding() const { return padding_; }
    void SetPadding(const Rect& padding);
    int GetFixedWidth() const { return fixedWidth_; }
    int GetFixedHeight() const { return fixedHeight_; }
    void SetFixedWidth(int cx);
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return minWidth_; }
    int GetMaxWidth() const { return maxWidth_; }
    int GetMinHeight() const { return minHeight_; }
    int GetMaxHeight() const { return maxHeight_; }
    // Preferred size within `available`; zero in a dimension means "stretch".
    virtual Size EstimateSize(Size available) const { return {fixedWidth_, fixedHeight_}; }

    // Skin attributes (DuiLib names). Unknown names report Unknown so the builder can list them.
    virtual AttrResult SetAttribute(std::string_view name, std::string_view value);
    // Applies "name='value' name2="value2"" lists (Default elements, inline attribute lists).
    void ApplyAttributeList(std::string_view list);

    // Painting
    void Paint(Canvas& canvas, const Rect& dirty);
    void Invalidate();
    void NeedUpdate();  // layout must run again
    void NeedParentUpdate();

    // Input: the paint manager routes each event to one control.
    virtual void DoEvent(UiEvent& event);
    // Deepest control at `pt` able to receive mouse input (this, a descendant or null).
    virtual Control* FindControlAt(Point pt);
    // What a click does (buttons notify "click"); false when nothing happened.
    virtual bool Activate();
    // Called once when the control enters a manager.
    virtual void DoInit() {}

    // Sees every event routed to this control first; returning true keeps it from the control.
    using EventFilter = std::function<bool(UiEvent& event)>;
    void SetEventFilter(EventFilter filter) { eventFilter_ = std::move(filter); }
    const EventFilter& GetEventFilter() const { return eventFilter_; }

    // Sends a notification with this control as sender through its manager.
    void SendNotify(std::string_view type, intptr_t wParam = 0, intptr_t lParam = 0, bool async = false);

  protected:
    virtual void DoPaint(Canvas& canvas, const Rect& dirty);
    virtual void PaintBkColor(Canvas& canvas);
    virtual void PaintBkImage(Canvas& canvas);
    virtual void PaintStatusImage(Canvas& canvas);
    virtual void PaintText(Canvas& canvas);
    virtual void PaintBorder(Canvas& canvas);
    // Draws an image string into rect_ (or `dest`); false when it could not be drawn.
    bool DrawImage(Canvas& canvas, const std::string& image, const Rect* dest = nullptr);
    // The state-image attributes (normalimage, hotimage, pushedimage, focusedimage, disabledimage)
    // of the controls that have states; Unknown for any other name.
    AttrResult SetStateImageAttribute(std::string_view name, std::string_view value);
    // Draws the normal/hot/pushed/focused/disabled image for the current state (falls back to normal).
    void PaintStateImage(Canvas& canvas);
    // Text colour for the current state.
    virtual Color CurrentTextColor() const;
    void SetHot(bool hot);
    void SetPushed(bool pushed);

    PaintManager* manager_ = nullptr;
    Container* parent_ = nullptr;
    std::string name_;
    std::string text_;
    std::string toolTip_;
    std::string userData_;
    intptr_t tag_ = 0;

    Rect rect_;
    Rect floatPos_;
    Rect padding_;
    bool float_ = false;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    int minWidth_ = 0;
    int minHeight_ = 0;
    int maxWidth_ = 99999;
    int maxHeight_ = 99999;

    bool visible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool focused_ = false;
    bool hot_ = false;
    bool pushed_ = false;
    bool showHtml_ = false;

    int font_ = -1;
    Color textColor_ = 0;
    Color disabledTextColor_ = 0;
    Color hotTextColor_ = 0;
    Color pushedTextColor_ = 0;
    Color bkColor_ = 0;
    Color bkColor2_ = 0;
    Color bkColor3_ = 0;
    bool gradientVertical_ = true;
    EventFilter eventFilter_;
    Color hotBkColor_ = 0;
    Color borderColor_ = 0;
    Color focusBorderColor_ = 0;
    int borderSize_ = 0;
    int borderRound_ = 0;
    unsigned align_ = kAlignCenter | kAlignVCenter | kAlignSingleLine;
    Rect textPadding_;
    std::array<std::string, static_cast<size_t>(ImageSlot::Count)> images_;

    friend class PaintManager;
};

}  // namespace ui

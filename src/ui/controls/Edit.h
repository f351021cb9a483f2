#pragma once
// Text entry. Typing raises "textchanged" per change; gaining and losing the focus raise
// "setfocus" and "killfocus"; Enter raises "return" (a rich edit inserts a line break instead).
#include "ui/core/Control.h"

namespace ui {

class Edit : public Control {
  public:
    Edit();
    std::string_view GetClass() const override { return "Edit"; }
    bool WantsFocus() const override { return true; }
    bool DrawsFocusRing() const override { return false; }  // its focused image is the ring
    bool IsInteractive() const override { return true; }

    // Without notification (refreshing from stored values).
    void SetText(std::string text) override;
    // Replaces the text; with Notify::Yes "textchanged" is raised even when the text is the same.
    void SetText(std::string text, Notify notify);
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    int GetMaxChar() const { return maxChar_; }
    void SetMaxChar(int maxChar) { maxChar_ = maxChar; }
    bool IsNumberOnly() const { return numberOnly_; }
    void SetNumberOnly(bool numberOnly) { numberOnly_ = numberOnly; }
    void SelectAll();
    size_t GetCaret() const { return caret_; }

    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;

  protected:
    void PaintStatusImage(Canvas& canvas) override;
    void PaintText(Canvas& canvas) override;
    bool multiLine_ = false;

  private:
    void Insert(const std::string& text);
    void Erase(bool forward);
    bool AcceptsChar(char32_t c) const;
    size_t CharCount(const std::string& s) const;
    std::string DisplayText() const;
    size_t caret_ = 0;  // byte offset at a character boundary
    bool allSelected_ = false;
    bool readOnly_ = false;
    bool numberOnly_ = false;
    bool password_ = false;
    int maxChar_ = 255;
    std::string tipValue_;
    Color tipValueColor_ = 0xFF5A606Bu;
    Color caretColor_ = 0;
    Color selectionColor_ = 0x66FF5B14u;
};

class RichEdit : public Edit {
  public:
    RichEdit();
    std::string_view GetClass() const override { return "RichEdit"; }
};

}  // namespace ui

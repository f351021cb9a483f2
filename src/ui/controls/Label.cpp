#include "ui/controls/Label.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"
#include "ui/render/MarkupPainter.h"

namespace ui {

Label::Label() {
    align_ = kAlignLeft | kAlignVCenter | kAlignSingleLine;
}

Text::Text() {
    align_ = kAlignLeft | kAlignTop | kAlignWordBreak;
}

AttrResult Label::SetAttribute(std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "autocalcwidth")) {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        autoCalcWidth_ = *b;
        return AttrResult::Ok;
    }
    return Control::SetAttribute(name, value);
}

Size Label::EstimateSize(Size available) const {
    Size s = Control::EstimateSize(available);
    if (autoCalcWidth_ && manager_ && s.cx == 0) {
        // Without a canvas at layout time, approximate from the character count.
        const auto font = manager_->GetFont(font_);
        s.cx = static_cast<int>(GetResolvedText().size()) * font.size * 6 / 10 + textPadding_.left +
               textPadding_.right;
    }
    return s;
}

void Label::PaintText(Canvas& canvas) {
    if (text_.empty() || !manager_) return;
    DrawLabelText(canvas, GetResolvedText(), rect_.Deflate(textPadding_), font_, CurrentTextColor(), align_);
}

void Label::DrawLabelText(Canvas& canvas, const std::string& text, const Rect& rect, int font, Color color,
                          unsigned align) {
    FontSpec spec = manager_->GetFont(font);
    if (!showHtml_) {
        canvas.DrawText(text, rect, spec, color, align);
        return;
    }
    DrawMarkupLine(canvas, text, rect, spec, color, align);
}

}  // namespace ui

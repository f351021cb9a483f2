#include "ui/core/MessageBoxHook.h"

namespace ui {
namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    Handler() = std::move(handler);
}

bool ShowMessageBox(WindowImplBase* owner, const std::string& text) {
    return Handler() ? Handler()(owner, text) : false;
}

}  // namespace ui

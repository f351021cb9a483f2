#pragma once
// A toolkit notification: what controls and the system tell listeners ("click", "itemselect",
// "WRITE_EgretDATA", ...).
#include <cstdint>
#include <functional>
#include <string>

#include "ui/core/Geometry.h"

namespace ui {

class Control;

// Whether a setter also raises the notification a user's edit would raise. Refreshing controls
// from device state passes No; code that acts for the user passes Yes deliberately.
enum class Notify { No, Yes };

struct Notification {
    std::string type;
    Control* sender = nullptr;  // none for the system's own notifications
    intptr_t wParam = 0;
    intptr_t lParam = 0;
    Point pointer;  // pointer position in window coordinates ("menu", clicks)
    uint64_t timestamp = 0;
};

// Receives notifications of one paint manager.
class NotifyListener {
  public:
    virtual ~NotifyListener() = default;
    virtual void Notify(Notification& notification) = 0;
};

}  // namespace ui

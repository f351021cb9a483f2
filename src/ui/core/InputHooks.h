#pragma once
// Process-wide input hooks, the stand-in for low-level keyboard and mouse hooks: every key and
// button event of the program's windows is offered to each installed hook first, as (window
// message, virtual-key code, mouse data). Hooks observe; they never swallow events.
#include <cstdint>
#include <functional>

#include "ui/core/PaintManager.h"

namespace ui {

class InputHooks {
  public:
    using Hook = std::function<void(uint32_t message, uint32_t vk, int32_t data)>;
    static ListenerHandle Install(Hook hook);
    static void Offer(uint32_t message, uint32_t vk, int32_t data);
    static size_t InstalledCount();

    // Key state as the input stream left it (the GetKeyState of our windows).
    static bool IsKeyDown(uint32_t vk);
    static void SetKeyDown(uint32_t vk, bool down);
    static void ResetKeyState();
};

}  // namespace ui

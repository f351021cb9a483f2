#include "ui/core/InputHooks.h"

#include <bitset>
#include <vector>

namespace ui {
namespace {

struct HookState {
    std::vector<std::pair<uint64_t, InputHooks::Hook>> hooks;
    uint64_t nextId = 1;
    std::bitset<256> keys;
};

HookState& H() {
    static HookState state;
    return state;
}

}  // namespace

ListenerHandle InputHooks::Install(Hook hook) {
    uint64_t id = H().nextId++;
    H().hooks.emplace_back(id, std::move(hook));
    return ListenerHandle([id] {
        auto& hooks = H().hooks;
        for (auto it = hooks.begin(); it != hooks.end(); ++it) {
            if (it->first == id) {
                hooks.erase(it);
                break;
            }
        }
    });
}

void InputHooks::Offer(uint32_t message, uint32_t vk, int32_t data) {
    // A hook may uninstall itself or others while running: iterate over a snapshot of the ids.
    std::vector<uint64_t> ids;
    for (auto& [id, hook] : H().hooks) ids.push_back(id);
    for (uint64_t id : ids) {
        for (auto& [hid, hook] : H().hooks) {
            if (hid == id) {
                auto copy = hook;
                copy(message, vk, data);
                break;
            }
        }
    }
}

size_t InputHooks::InstalledCount() {
    return H().hooks.size();
}

bool InputHooks::IsKeyDown(uint32_t vk) {
    return vk < 256 && H().keys.test(vk);
}

void InputHooks::SetKeyDown(uint32_t vk, bool down) {
    if (vk < 256) H().keys.set(vk, down);
}

void InputHooks::ResetKeyState() {
    H().keys.reset();
}

}  // namespace ui

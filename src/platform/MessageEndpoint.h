#pragma once
// Per-user endpoint named after a window class: the single-instance marker and the way other
// processes (devsim, a second start) post window messages to the running program. A Unix socket in
// RuntimeFolder(), mode 0700; only message numbers the owner accepts get through.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class MessageEndpoint {
  public:
    using Accept = std::function<bool(uint32_t message)>;
    // Runs on the endpoint's own thread: post to the UI thread from here, never touch windows.
    using Handler = std::function<void(uint32_t message, int64_t wParam, int64_t lParam)>;

    // Claims the endpoint for `className` (compared without regard to case). Returns null when a
    // live process already holds it; a stale socket left by a crashed process is taken over.
    // `accept` decides which message numbers get through (none when it is empty). When no socket
    // can be made (unusable class name or folder) the returned endpoint is inert rather than null,
    // so the program still starts; that is traced.
    static std::unique_ptr<MessageEndpoint> Claim(const std::string& className, Accept accept,
                                                  Handler handler);

    // True when a live process holds the endpoint for `className`.
    static bool IsClaimed(const std::string& className);

    // Delivers one message to the holder of `className`'s endpoint. False when nobody holds it or
    // the holder refused the message number. When it returns true the holder's handler has run.
    // Waits at most about a second.
    static bool Post(const std::string& className, uint32_t message, int64_t wParam = 0, int64_t lParam = 0);

    virtual ~MessageEndpoint() = default;
};

}  // namespace platform

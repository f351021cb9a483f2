// endpoint_probe, "another process" for endpoint_test.cpp:
//   endpoint_probe start <class>      behaves like a second start: exit 0 when a live holder exists
//                                     (Claim returned null), 4 when it claimed the endpoint itself
//   endpoint_probe post <class> <message> <wParam> <lParam>   exit 0 when Post returned true, else 1
#include <cstdlib>
#include <string>

#include "platform/MessageEndpoint.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string command = argv[1];
    std::string className = argv[2];
    if (command == "start") {
        auto endpoint = platform::MessageEndpoint::Claim(
            className, [](uint32_t) { return true; }, [](uint32_t, int64_t, int64_t) {});
        return endpoint ? 4 : 0;
    }
    if (command == "post" && argc >= 6) {
        bool ok = platform::MessageEndpoint::Post(
            className, static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 0)),
            std::strtoll(argv[4], nullptr, 0), std::strtoll(argv[5], nullptr, 0));
        return ok ? 0 : 1;
    }
    return 2;
}

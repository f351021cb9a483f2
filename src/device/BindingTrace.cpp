// Traces of failed entry-point calls and of the grouped operations they made give up. Only reached
// when tracing is on.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "device/DeviceLibraryBinding.h"

namespace {

// The last call that failed on this thread, for the group that gives up because of it.
struct LastFailure {
    bool set = false;
    EntryPoint entryPoint = EntryPoint::kCount;
    int32_t status = 0;
};
thread_local LastFailure tLastFailure;

void AppendArgument(std::string& line, const TracedArgument& argument) {
    char text[64];
    switch (argument.kind) {
        case TracedArgument::Kind::Number:
            std::snprintf(text, sizeof text, "%" PRId64, argument.number);
            break;
        case TracedArgument::Kind::OutputInteger:
            std::snprintf(text, sizeof text, "%s", argument.address ? "&int" : "null");
            break;
        case TracedArgument::Kind::Address:
            if (argument.address)
                std::snprintf(text, sizeof text, "%p", argument.address);
            else
                std::snprintf(text, sizeof text, "null");
            break;
        case TracedArgument::Kind::Buffer:
            std::snprintf(text, sizeof text, "%zu-byte buffer", argument.size);
            break;
        case TracedArgument::Kind::Callback:
            std::snprintf(text, sizeof text, "%s", argument.address ? "callback" : "no callback");
            break;
    }
    line += text;
}

}  // namespace

void DeviceLibraryBinding::TraceFailedCall(EntryPoint entryPoint, int32_t status,
                                           std::initializer_list<TracedArgument> arguments) {
    tLastFailure = {true, entryPoint, status};
    std::string line = "device: ";
    line += InfoOf(entryPoint).name;
    line += '(';
    bool first = true;
    for (const TracedArgument& argument : arguments) {
        if (!first) line += ", ";
        first = false;
        AppendArgument(line, argument);
    }
    line += ") failed with status " + std::to_string(status);
    if (status == kUnresolved) line += " (not resolved: library or name missing)";
    platform::Trace(line);
}

bool DeviceLibraryBinding::GaveUp(const char* group) {
    if (!platform::TraceEnabled()) return false;
    std::string line = std::string("device: ") + group + " gave up";
    if (tLastFailure.set) {
        line += std::string(": ") + InfoOf(tLastFailure.entryPoint).name + " failed with status " +
                std::to_string(tLastFailure.status);
    }
    tLastFailure = {};
    platform::Trace(line);
    return false;
}

#pragma once
// Parameters of one UART lighting effect, in the order the device library delivers and takes them.
// For the fixed-colour effects the three bytes are red, green and blue.
#include <cstdint>

struct UartLedEntry {
    int present = 1;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;

    bool operator==(const UartLedEntry&) const = default;
};

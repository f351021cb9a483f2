// The Heron mouse, reached directly (2048-byte memory) and through its driver (40960 bytes). Both
// libraries stage changes in their own copy of the memory until a write entry point sends it.
#include <cstring>

#include "device/DeviceIds.h"
#include "models/Models.h"

namespace sim {
namespace {

using K = FieldKind;
using F = FieldId;

#define FAMILY_H_FIELDS                                                                                   \
    {F::Profile, "profile", K::Int, 4, 1, 1, 0, 0, 1},                                                    \
        {F::StageCount, "stageCount", K::Int, 5, 1, 1, 0, 1, 7},                                          \
        {F::CurrentStage, "currentStage", K::Int, 6, 1, 1, 0, 0, 6},                                      \
        {F::LedB4Cpi, "ledB4Cpi", K::Int, 9, 1}, {F::LedLcpi, "ledLcpi", K::Int, 10, 1},                  \
        {F::FireCount, "fireCount", K::Int, 22, 1}, {F::FireTime, "fireTime", K::Int, 23, 1},             \
        {F::Vid, "vid", K::Int, 26, 2, 1, 0, 0, 0xFFFF}, {F::Pid, "pid", K::Int, 28, 2, 1, 0, 0, 0xFFFF}, \
        {F::StageLevel, "stageLevel", K::Int, 32, 2, 7, 5, 0, 0xFFFF},                                    \
        {F::StageColor, "stageColor", K::Bytes, 34, 3, 7, 5}, {                                           \
        F::KeyCode, "keyCode", K::Bytes, 72, 3, 32, 3                                                     \
    }

constexpr Field kHeronFields[] = {
    FAMILY_H_FIELDS,
    {F::LedType, "ledType", K::Int, 7, 1},
    {F::LedOnOff, "ledOn", K::Int, 8, 1, 1, 0, 0, 1},
    {F::LedFireFn, "ledFireFn", K::Int, 11, 1},
    {F::SaveKeyMode, "saveKeyMode", K::Int, 12, 1},
    {F::McuLedControl, "lightAll", K::Int, 13, 1, 1, 0, 0, 1},
    {F::KeyCount, "keyCount", K::Int, 14, 1},
    {F::McuLedCount, "mcuLedCount", K::Int, 15, 1},
    {F::McuLedMode, "lightingMode", K::Int, 16, 1},
    {F::RbMode, "rbMode", K::Int, 17, 1},
    {F::McuLedStep, "lightingSpeed", K::Int, 18, 1},
    {F::MiddlePress, "middlePress", K::Int, 19, 1},
    {F::CpiPress, "cpiPress", K::Int, 20, 1},
    {F::GunPress, "gunPress", K::Int, 21, 1},
    {F::SensorOri, "sensorOri", K::Int, 24, 1},
    {F::McuLedSource, "mcuLedSource", K::Int, 25, 1},
    {F::FireMacroPattern, "fireMacroPattern", K::Bytes, 1536, 24, 10, 32},
    {F::FireMacroBytes, "fireMacroBytes", K::Bytes, 1560, 3, 10, 32},
    {F::FireRgb, "fireRgb", K::Bytes, 1563, 3, 10, 32},
    {F::FireYAxis, "fireYAxis", K::Int, 1566, 1, 10, 32, -128, 127, true},
};

constexpr Field kHeronDriverFields[] = {
    FAMILY_H_FIELDS,
    {F::DriverBlock, "driverBlock", K::Bytes, 168, 4},
};

constexpr uint8_t kHeronKeys[8][3] = {{1, 1, 0},  {1, 2, 0}, {1, 4, 0},    {1, 8, 0},
                                      {1, 16, 0}, {5, 0, 0}, {2, 1, 0x06}, {3, 0x00, 0xE9}};

void FactoryCommon(Image& m, uint8_t code, uint16_t pid) {
    std::fill(m.begin(), m.end(), 0);
    m[0] = 'L', m[1] = 'M', m[2] = code, m[3] = 1;
    m[5] = 5;  // stages
    m[6] = 1;  // current stage, zero-based
    m[9] = 1, m[10] = 1;
    m[22] = 2;  // three shots
    m[23] = 30;
    WriteInt(m, 26, 2, kLumenorVid);
    WriteInt(m, 28, 2, pid);
    const uint8_t colors[7][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},    {255, 255, 0},
                                  {0, 255, 255}, {255, 0, 255}, {255, 255, 255}};
    const int levels[7] = {3, 7, 15, 31, 47, 63, 79};
    for (int i = 0; i < 7; ++i) {
        WriteInt(m, 32 + 5 * i, 2, levels[i]);
        std::memcpy(m.data() + 34 + 5 * i, colors[i], 3);
    }
    for (int key = 0; key < 32; ++key)
        std::memcpy(m.data() + 72 + 3 * key, kHeronKeys[key % 16 < 8 ? key % 16 : 0], 3);
}

void HeronFactory(Image& m, int) {
    FactoryCommon(m, 'H', kHeronPid);
    m[8] = 0;   // lights on
    m[13] = 1;  // all lights
    m[16] = 0;  // rainbow
    m[18] = 3;
    for (int slot = 0; slot < 10; ++slot) {
        const uint32_t at = kHeronFireRegion + 32 * slot;
        const uint8_t pattern[] = {0,    0xFD, static_cast<uint8_t>(4 + slot), 0, 0, 0xFA, 3, 0xFE, 10,
                                   0xA1, 0x21};
        std::memcpy(m.data() + at, pattern, sizeof pattern);
        m[at + 24] = static_cast<uint8_t>(slot);
        m[at + 27] = 255;
    }
}

void HeronDriverFactory(Image& m, int) {
    FactoryCommon(m, 'D', kHeronPid);  // the same mouse, reached through the driver
    const uint8_t block[4] = {1, 2, 255, 4};
    std::memcpy(m.data() + 168, block, 4);
}

void DescribeHeronMacros(const Image& m, std::string& out) {
    kHeronMacros.Describe(m, out);
}
void DescribeDriverMacros(const Image& m, std::string& out) {
    kHeronDriverMacros.Describe(m, out);
}

}  // namespace

const ModelSpec kHeronSpec{"Heron",
                           "Lumenor_Heron.so",
                           kLumenorVid,
                           kHeronPid,
                           2048,
                           {'L', 'M', 'H', 1},
                           true,
                           false,
                           2,
                           0,
                           0,
                           16,
                           10,
                           0,
                           kHeronFields,
                           HeronFactory,
                           1,
                           DescribeHeronMacros,
                           nullptr};
const ModelSpec kHeronDriverSpec{"HeronDriver",
                                 "Lumenor_Heron_Driver.so",
                                 kLumenorVid,
                                 kHeronPid,
                                 40960,
                                 {'L', 'M', 'D', 1},
                                 true,
                                 false,
                                 2,
                                 0,
                                 0,
                                 16,
                                 0,
                                 0,
                                 kHeronDriverFields,
                                 HeronDriverFactory,
                                 1,
                                 DescribeDriverMacros,
                                 nullptr};

}  // namespace sim

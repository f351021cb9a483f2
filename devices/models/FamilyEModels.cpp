// Egret, Ibis and Crane share one memory layout; they differ in extra fields, profile counts and
// factory settings.
#include <cstring>

#include "device/DeviceIds.h"
#include "models/Models.h"

namespace sim {
namespace {

using K = FieldKind;
using F = FieldId;

#define FAMILY_E_FIELDS                                                                                   \
    {F::Profile, "profile", K::Int, 4, 1, 1, 0, 0, 2},                                                    \
        {F::StageCount, "stageCount", K::Int, 5, 1, 1, 0, 1, 7},                                          \
        {F::CurrentStage, "currentStage", K::Int, 6, 1, 1, 0, 1, 7},                                      \
        {F::ReportRate, "reportRate", K::Int, 7, 1, 1, 0, 0, 3},                                          \
        {F::LightMode, "lightingMode", K::Int, 8, 1}, {F::LightSpeed, "lightingSpeed", K::Int, 9, 1},     \
        {F::LightAll, "lightAll", K::Int, 10, 1, 1, 0, 0, 1},                                             \
        {F::SensorRotation, "sensorRotation", K::Int, 11, 1, 1, 0, -128, 127, true},                      \
        {F::Vid, "vid", K::Int, 12, 2, 1, 0, 0, 0xFFFF}, {F::Pid, "pid", K::Int, 14, 2, 1, 0, 0, 0xFFFF}, \
        {F::UserColor, "userColor", K::Bytes, 17, 3},                                                     \
        {F::FireCount, "fireCount", K::Int, 20, 1, 3, 4, -1, 127, true},                                  \
        {F::FireTime, "fireInterval", K::Int, 22, 2, 3, 4, 0, 4096},                                      \
        {F::StageLevel, "stageLevel", K::Int, 32, 2, 7, 6, 0, 0xFFFF},                                    \
        {F::StageColor, "stageColor", K::Bytes, 34, 3, 7, 6},                                             \
        {F::ProductString, "productString", K::Bytes, 192, 32},                                           \
        {F::KeyCode, "keyCode", K::Bytes, 256, 4, 48, 4},                                                 \
        {F::FireMacroPattern, "fireMacroPattern", K::Bytes, 448, 24, 10, 32},                             \
        {F::FireMacroAdjust, "fireMacroAdjust", K::Bytes, 472, 2, 10, 32}, {                              \
        F::FireMacroColor, "fireMacroColor", K::Bytes, 474, 3, 10, 32                                     \
    }

constexpr Field kIbisFields[] = {FAMILY_E_FIELDS};
constexpr Field kEgretFields[] = {FAMILY_E_FIELDS,
                                  {F::LedEffectBlock, "ledEffectBlock", K::Bytes, 80, 8},
                                  {F::UartLed, "uartLed", K::Bytes, 96, 3, 32, 3}};
constexpr Field kCraneFields[] = {FAMILY_E_FIELDS,
                                  {F::ComboBlock, "comboBlock", K::Bytes, 88, 4, 2, 4},
                                  {F::RandomTime, "randomTime", K::Int, 16, 1}};

struct Preset {
    int stageCount;
    int currentStage;
    int levels[7];
    uint8_t colors[7][3];
    int reportRate;
    int lightingMode;
    int lightingSpeed;
};

// Preset 1 is the factory state; 2 is a quiet office set, 3 a fast gaming set with lively lighting.
constexpr Preset kPresets[3] = {
    {4,
     2,
     {3, 7, 15, 31, 47, 63, 79},
     {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {255, 255, 255}},
     3,
     2,
     3},
    {3,
     1,
     {3, 7, 11, 15, 19, 23, 27},
     {{255, 255, 255},
      {200, 200, 200},
      {150, 150, 150},
      {100, 100, 100},
      {80, 80, 80},
      {60, 60, 60},
      {40, 40, 40}},
     1,
     3,
     1},
    {7,
     4,
     {7, 15, 31, 47, 63, 95, 127},
     {{255, 64, 0}, {255, 128, 0}, {255, 192, 0}, {255, 255, 0}, {128, 255, 0}, {0, 255, 128}, {0, 128, 255}},
     3,
     1,
     6},
};

// Left, right, middle, back, forward, stage up, stage down, fire key; the rest left click.
constexpr uint8_t kKeys[8][4] = {{1, 1, 0, 0},  {1, 2, 0, 0}, {1, 4, 0, 0}, {1, 8, 0, 0},
                                 {1, 16, 0, 0}, {9, 1, 0, 0}, {9, 2, 0, 0}, {6, 0x12, 0, 60}};

// A recoil pattern per gun: shots, a movement, a shoot time, button down/up, end.
void WritePattern(Image& m, uint32_t at, int slot) {
    const uint8_t pattern[] = {0xFD,
                               static_cast<uint8_t>(5 + slot),
                               0x04,
                               0x00,
                               static_cast<uint8_t>(2 + slot % 4),
                               0xFE,
                               0x00,
                               static_cast<uint8_t>(40 + 5 * slot),
                               0xA1,
                               0x21,
                               0xFC};
    std::memcpy(m.data() + at, pattern, sizeof pattern);
}

void FactoryFamilyE(Image& m, uint8_t code, uint16_t pid, int preset) {
    const Preset& p = kPresets[(preset >= 1 && preset <= 3 ? preset : 1) - 1];
    std::fill(m.begin(), m.end(), 0);
    m[0] = 'L', m[1] = 'M', m[2] = code, m[3] = 1;
    m[5] = static_cast<uint8_t>(p.stageCount);
    m[6] = static_cast<uint8_t>(p.currentStage);
    m[7] = static_cast<uint8_t>(p.reportRate);
    m[8] = static_cast<uint8_t>(p.lightingMode);
    m[9] = static_cast<uint8_t>(p.lightingSpeed);
    m[10] = 1;
    WriteInt(m, 12, 2, kLumenorVid);
    WriteInt(m, 14, 2, pid);
    m[17] = 255, m[18] = 255, m[19] = 255;
    const int fire[3][2] = {{2, 60}, {4, 40}, {-1, 80}};
    for (int i = 0; i < 3; ++i) {
        WriteInt(m, 20 + 4 * i, 1, fire[i][0]);
        WriteInt(m, 22 + 4 * i, 2, fire[i][1]);
    }
    for (int i = 0; i < 7; ++i) {
        WriteInt(m, 32 + 6 * i, 2, p.levels[i]);
        std::memcpy(m.data() + 34 + 6 * i, p.colors[i], 3);
    }
    for (int i = 0; i < 8; ++i) m[80 + i] = static_cast<uint8_t>(i * 3);
    for (int i = 0; i < 32; ++i) {  // direction 0, speed 4, two loops; fixed-colour effects get a colour
        m[96 + 3 * i] = 0x30, m[97 + 3 * i] = 0x01, m[98 + 3 * i] = 0x08;
    }
    const char product[] = "Lumenor Mouse";
    std::memcpy(m.data() + 192, product, sizeof product - 1);
    for (int key = 0; key < 48; ++key)
        std::memcpy(m.data() + 256 + 4 * key, kKeys[key % 16 < 8 ? key % 16 : 0], 4);
    for (int slot = 0; slot < 10; ++slot) {
        WritePattern(m, 448 + 32 * slot, slot);
        m[474 + 32 * slot] = 255;
    }
}

void EgretFactory(Image& m, int preset) {
    FactoryFamilyE(m, 'E', kEgretPid, preset);
}
void IbisFactory(Image& m, int preset) {
    FactoryFamilyE(m, 'I', kIbisPid, preset);
}
void CraneFactory(Image& m, int preset) {
    FactoryFamilyE(m, 'C', kCranePid, preset);
}

void DescribeMacros(const Image& m, std::string& out) {
    kFamilyEMacros.Describe(m, out);
}
bool ValidMacros(const Image& m) {
    return kFamilyEMacros.Valid(m);
}

}  // namespace

const ModelSpec kEgretSpec{"Egret",
                           "Lumenor_Egret.so",
                           kLumenorVid,
                           kEgretPid,
                           2048,
                           {'L', 'M', 'E', 1},
                           false,
                           false,
                           3,
                           2,
                           1,
                           16,
                           10,
                           7,
                           kEgretFields,
                           EgretFactory,
                           1,
                           DescribeMacros,
                           ValidMacros};
const ModelSpec kIbisSpec{"Ibis",      "Lumenor_Ibis.so",
                          kLumenorVid, kIbisPid,
                          2048,        {'L', 'M', 'I', 1},
                          false,       false,
                          3,           0,
                          1,           16,
                          10,          0,
                          kIbisFields, IbisFactory,
                          3,           DescribeMacros,
                          ValidMacros};
const ModelSpec kCraneSpec{"Crane",
                           "Lumenor_Crane.so",
                           kLumenorVid,
                           kCranePid,
                           2048,
                           {'L', 'M', 'C', 1},
                           false,
                           false,
                           2,
                           0,
                           1,
                           16,
                           7,
                           0,
                           kCraneFields,
                           CraneFactory,
                           3,
                           DescribeMacros,
                           ValidMacros};

}  // namespace sim

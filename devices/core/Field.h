#pragma once
// Where a setting lives in a model's memory image. Models differ only in their tables of fields; the
// entry points address settings by FieldId and the core does the bounds checks.
#include <cstdint>
#include <span>

namespace sim {

enum class FieldId : uint8_t {
    // shared by the mice
    Profile,
    StageCount,
    CurrentStage,
    StageLevel,
    StageColor,
    KeyCode,
    Vid,
    Pid,
    FireCount,
    FireTime,
    // Egret, Ibis, Crane
    ReportRate,
    LightMode,
    LightSpeed,
    LightAll,
    SensorRotation,
    RandomTime,
    UserColor,
    ProductString,
    LedEffectBlock,
    ComboBlock,
    UartLed,
    FireMacroPattern,
    FireMacroAdjust,
    FireMacroColor,
    // Heron, Heron driver
    LedType,
    LedOnOff,
    LedB4Cpi,
    LedLcpi,
    LedFireFn,
    SaveKeyMode,
    McuLedControl,
    KeyCount,
    McuLedCount,
    McuLedMode,
    RbMode,
    McuLedStep,
    MiddlePress,
    CpiPress,
    GunPress,
    SensorOri,
    McuLedSource,
    FireMacroBytes,
    FireRgb,
    FireYAxis,
    DriverBlock,
    // Plover
    LedBlock,
    KeyTable,
    MacroName,
    MacroEvents,
};

enum class FieldKind : uint8_t {
    Int,    // 1 or 2 bytes, big-endian, read as a number
    Bytes,  // `width` raw bytes
};

struct Field {
    FieldId id;
    const char* name;  // for dumps
    FieldKind kind;
    uint16_t offset;
    uint16_t width;
    uint16_t count = 1;   // elements
    uint16_t stride = 0;  // distance between elements
    int32_t min = 0;      // accepted range of an Int setter
    int32_t max = 255;
    bool isSigned = false;

    uint32_t ElementOffset(int index) const { return offset + static_cast<uint32_t>(index) * stride; }
    uint32_t End() const { return ElementOffset(count - 1) + width; }
};

// Looks a field up in a model's table; null when the model has no such field.
inline const Field* FindField(std::span<const Field> fields, FieldId id) {
    for (const Field& f : fields)
        if (f.id == id) return &f;
    return nullptr;
}

}  // namespace sim

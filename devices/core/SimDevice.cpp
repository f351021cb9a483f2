#include "core/SimDevice.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace sim {
namespace {

constexpr size_t kStateSlack = 4096;  // header and failure rules beside the memory image
constexpr auto kPollInterval = std::chrono::milliseconds(100);

bool FitsByte(int32_t v) {
    return v >= 0 && v <= 255;
}

void AppendHex(std::string& out, const uint8_t* bytes, size_t n) {
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        out += buf;
    }
}

}  // namespace

SimDevice::SimDevice(const ModelSpec& spec) : spec_(spec) {}

SimDevice::~SimDevice() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (pump_.joinable()) pump_.join();
}

std::string SimDevice::StatePath() const {
    return DeviceFolder() + spec_.name + ".sim";
}

SimState SimDevice::FactoryState() const {
    SimState state;
    state.image.assign(spec_.imageSize, 0);
    spec_.factory(state.image, 1);
    return state;
}

void SimDevice::Refresh() {
    const std::string path = StatePath();
    const bool newFolder = path != loadedPath_;
    if (newFolder) {
        loadedPath_ = path;
        opened_ = false;
        cacheValid_ = false;
    }
    const FileIdentity id = IdentifyFile(path);
    if (!newFolder && id == identity_) return;
    identity_ = id;
    SimState next = FactoryState();
    if (id.exists) {
        if (auto bytes = ReadWholeFile(path, spec_.imageSize + kStateSlack)) {
            if (auto parsed = SimState::Parse(*bytes, spec_.imageSize)) next = std::move(*parsed);
        }
    }
    // A rule that is still in force keeps counting calls where it was.
    for (FailureRule& rule : next.rules) {
        for (const FailureRule& old : state_.rules) {
            if (rule.SameRule(old)) {
                rule.seen = old.seen;
                break;
            }
        }
    }
    state_ = std::move(next);
    if (!state_.attached) opened_ = false;
}

int32_t SimDevice::Store() {
    if (!WriteFileAtomic(loadedPath_, state_.Serialize())) return kStorage;
    identity_ = IdentifyFile(loadedPath_);
    return kOk;
}

int32_t SimDevice::Enter(const char* entry, unsigned need) {
    Refresh();
    const std::string name = entry ? entry : "";
    ++callCounts_[name];
    for (FailureRule& rule : state_.rules) {
        if (rule.entryPoint != name) continue;
        ++rule.seen;
        if ((rule.call == 0 || rule.seen == rule.call) && rule.status != kOk) return rule.status;
    }
    if ((need & kNeedAttached) && !state_.attached) {
        opened_ = false;
        return kNotFound;
    }
    if ((need & kNeedOpen) && !opened_) return kNotOpen;
    if (need & kTransfer) ++transfers_;
    if ((need & kTransfer) && state_.latencyMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(state_.latencyMs));
    if (spec_.staged && !cacheValid_) {
        cache_ = state_.image;
        cacheValid_ = true;
    }
    return kOk;
}

const Field* SimDevice::Element(FieldId id, int index) const {
    const Field* field = FindField(spec_.fields, id);
    if (!field || index < 0 || index >= field->count) return nullptr;
    return field;
}

int SimDevice::ProfileCount() const {
    return state_.variant != 0 && spec_.variantProfiles ? spec_.variantProfiles : spec_.profiles;
}

int SimDevice::FireMacroCountLocked() const {
    return state_.variant != 0 && spec_.variantFireMacros ? spec_.variantFireMacros : spec_.fireMacros;
}

int32_t SimDevice::GetInt(const char* entry, FieldId id, int index, int32_t* out) {
    return Run(entry, kNeedReady | Access(), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || f->kind != FieldKind::Int || !out) return kBadArgument;
        *out = ReadInt(memory, f->ElementOffset(index), f->width, f->isSigned);
        return kOk;
    });
}

int32_t SimDevice::SetInt(const char* entry, FieldId id, int index, int32_t value) {
    return Run(entry, kNeedReady | kWrites | Access(), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || f->kind != FieldKind::Int || value < f->min || value > f->max) return kBadArgument;
        if (id == FieldId::Profile && value >= ProfileCount()) return kBadArgument;
        WriteInt(memory, f->ElementOffset(index), f->width, value);
        return kOk;
    });
}

int32_t SimDevice::GetBytes(const char* entry, FieldId id, int index, std::initializer_list<uint8_t*> outs) {
    return Run(entry, kNeedReady | Access(), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || f->kind != FieldKind::Bytes || outs.size() != f->width) return kBadArgument;
        for (uint8_t* out : outs)
            if (!out) return kBadArgument;
        uint32_t at = f->ElementOffset(index);
        for (uint8_t* out : outs) *out = memory[at++];
        return kOk;
    });
}

int32_t SimDevice::SetBytes(const char* entry, FieldId id, int index, std::initializer_list<int32_t> values) {
    return Run(entry, kNeedReady | kWrites | Access(), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || f->kind != FieldKind::Bytes || values.size() != f->width) return kBadArgument;
        for (int32_t v : values)
            if (!FitsByte(v)) return kBadArgument;
        uint32_t at = f->ElementOffset(index);
        for (int32_t v : values) memory[at++] = static_cast<uint8_t>(v);
        return kOk;
    });
}

int32_t SimDevice::GetKey(const char* entry, int profile, int key, std::initializer_list<uint8_t*> outs) {
    {
        std::lock_guard lock(mutex_);
        Refresh();
        if (profile < 0 || profile >= ProfileCount() || key < 0 || key >= spec_.keysPerProfile) {
            profile = -1;  // counted and refused below
        }
    }
    const int index = profile < 0 ? -1 : profile * spec_.keysPerProfile + key;
    return GetBytes(entry, FieldId::KeyCode, index, outs);
}

int32_t SimDevice::SetKey(const char* entry, int profile, int key, std::initializer_list<int32_t> values) {
    {
        std::lock_guard lock(mutex_);
        Refresh();
        if (profile < 0 || profile >= ProfileCount() || key < 0 || key >= spec_.keysPerProfile) profile = -1;
    }
    const int index = profile < 0 ? -1 : profile * spec_.keysPerProfile + key;
    return SetBytes(entry, FieldId::KeyCode, index, values);
}

int32_t SimDevice::GetBlock(const char* entry, FieldId id, int index, uint8_t* out, int32_t size,
                            unsigned transfer) {
    return Run(entry, kNeedReady | Access() | (transfer & kTransfer), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || !out || size < f->width) return kBadArgument;
        std::memcpy(out, memory.data() + f->ElementOffset(index), f->width);
        return kOk;
    });
}

int32_t SimDevice::SetBlock(const char* entry, FieldId id, int index, const uint8_t* in, int32_t size,
                            unsigned transfer) {
    return Run(entry, kNeedReady | kWrites | Access() | (transfer & kTransfer), [&](Image& memory) {
        const Field* f = Element(id, index);
        if (!f || !in || size < f->width) return kBadArgument;
        std::memcpy(memory.data() + f->ElementOffset(index), in, f->width);
        return kOk;
    });
}

int32_t SimDevice::Open(const char* entry, int32_t vid, int32_t pid) {
    return Run(entry, kNeedAttached | kTransfer, [&](Image&) {
        if (vid != spec_.vid || pid != spec_.pid) return kNotFound;
        opened_ = true;
        if (spec_.staged && spec_.syncCacheOnOpen) cache_ = state_.image;
        return kOk;
    });
}

int32_t SimDevice::Close(const char* entry) {
    return Run(entry, kNeedAttached, [&](Image&) {
        opened_ = false;
        return kOk;
    });
}

int32_t SimDevice::Pull(const char* entry) {
    return Run(entry, kNeedReady | kTransfer | kDeviceMemory, [&](Image& memory) {
        if (spec_.staged) cache_ = memory;
        return kOk;
    });
}

int32_t SimDevice::Push(const char* entry) {
    return PushRange(entry, 0, spec_.imageSize);
}

int32_t SimDevice::PushRange(const char* entry, uint32_t offset, uint32_t size) {
    return Run(entry, kNeedReady | kTransfer | kDeviceMemory | kWrites, [&](Image& memory) {
        if (offset > memory.size() || size > memory.size() - offset) return kBadArgument;
        if (spec_.staged) std::memcpy(memory.data() + offset, cache_.data() + offset, size);
        return kOk;
    });
}

int32_t SimDevice::SaveImage(const char* entry, uint8_t* out, int32_t size) {
    return Run(entry, kNeedReady | kTransfer | kDeviceMemory, [&](Image& memory) {
        if (!out || size < static_cast<int32_t>(memory.size())) return kBadArgument;
        std::memcpy(out, memory.data(), memory.size());
        return kOk;
    });
}

int32_t SimDevice::LoadImage(const char* entry, const uint8_t* in, int32_t size) {
    return Run(entry, kNeedReady | kTransfer | kDeviceMemory | kWrites, [&](Image& memory) {
        if (!in || size < static_cast<int32_t>(spec_.signature.size()) ||
            size > static_cast<int32_t>(memory.size()))
            return kBadArgument;
        if (std::memcmp(in, spec_.signature.data(), spec_.signature.size()) != 0) return kBadImage;
        Image next(memory.size(), 0);
        std::memcpy(next.data(), in, static_cast<size_t>(size));
        if (!Acceptable(next)) return kBadImage;  // the device keeps what it had
        memory = next;
        if (spec_.staged) cache_ = std::move(next);
        return kOk;
    });
}

bool SimDevice::Acceptable(const Image& image) const {
    for (const Field& f : spec_.fields) {
        if (f.kind != FieldKind::Int) continue;
        for (int i = 0; i < f.count; ++i) {
            const int32_t value = ReadInt(image, f.ElementOffset(i), f.width, f.isSigned);
            if (value < f.min || value > f.max) return false;
        }
    }
    const auto read = [&](FieldId id) {
        const Field* f = FindField(spec_.fields, id);
        return f ? ReadInt(image, f->offset, f->width, f->isSigned) : 0;
    };
    if (read(FieldId::Profile) >= ProfileCount()) return false;
    if (FindField(spec_.fields, FieldId::StageCount) &&
        read(FieldId::CurrentStage) - spec_.stageBase >= read(FieldId::StageCount))
        return false;
    return !spec_.validImage || spec_.validImage(image);
}

int32_t SimDevice::Variant(const char* entry, int32_t* out) {
    return Run(entry, kNeedReady | kTransfer, [&](Image&) {
        if (!out) return kBadArgument;
        *out = state_.variant;
        return kOk;
    });
}

int32_t SimDevice::SetCallback(const char* entry, ChangeCallback callback, void* context) {
    return Run(entry, kNeedReady, [&](Image&) {
        callback_ = callback;
        callbackContext_ = context;
        deliveredPresses_ = state_.pressCount;
        if (callback && !pump_.joinable()) pump_ = std::thread([this] { PumpLoop(); });
        return kOk;
    });
}

// Delivers device-side button presses, whether made through this process's control surface (woken
// at once) or by devsim in another process (noticed on the next poll).
void SimDevice::PumpLoop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, kPollInterval);
        if (stopping_) break;
        Refresh();
        if (!callback_ || state_.pressCount == deliveredPresses_) continue;
        deliveredPresses_ = state_.pressCount;
        const Field* profileField = FindField(spec_.fields, FieldId::Profile);
        const Field* stageField = FindField(spec_.fields, FieldId::CurrentStage);
        int32_t profile =
            profileField ? ReadInt(state_.image, profileField->offset, profileField->width, false) : 0;
        int32_t stage = stageField ? ReadInt(state_.image, stageField->offset, stageField->width, false) : 0;
        const ChangeCallback callback = callback_;
        void* const context = callbackContext_;
        lock.unlock();
        callback(&profile, &stage, context);
        lock.lock();
    }
}

template <class Change>
int32_t SimDevice::Control(Change&& change) {
    std::unique_lock lock(mutex_);
    ProcessLock processLock(StatePath());
    Refresh();
    int32_t status = change();
    if (status == kOk) status = Store();
    lock.unlock();
    wake_.notify_all();
    return status;
}

int32_t SimDevice::SetAttached(bool attached) {
    return Control([&] {
        state_.attached = attached;
        if (!attached) opened_ = false;
        return kOk;
    });
}

int32_t SimDevice::Press(Button button) {
    return Control([&] {
        if (!state_.attached) return kNotFound;
        const Field* profile = FindField(spec_.fields, FieldId::Profile);
        const Field* stage = FindField(spec_.fields, FieldId::CurrentStage);
        const Field* count = FindField(spec_.fields, FieldId::StageCount);
        if (!profile || !stage || !count) return kBadArgument;
        Image& m = state_.image;
        if (button == Button::Profile) {
            const int32_t p = ReadInt(m, profile->offset, profile->width, false);
            WriteInt(m, profile->offset, profile->width, (p + 1) % ProfileCount());
        } else {
            int32_t n = ReadInt(m, count->offset, count->width, false);
            if (n < 1) n = 1;
            int32_t s = ReadInt(m, stage->offset, stage->width, false) - spec_.stageBase;
            if (s < 0 || s >= n) s = 0;
            s = button == Button::StageUp ? (s + 1) % n : (s + n - 1) % n;
            WriteInt(m, stage->offset, stage->width, s + spec_.stageBase);
        }
        ++state_.pressCount;
        return kOk;
    });
}

int32_t SimDevice::SetVariant(int32_t variant) {
    return Control([&] {
        if (!spec_.variantProfiles) return kBadArgument;  // only models that come in variants
        state_.variant = variant;
        return kOk;
    });
}

int32_t SimDevice::Reset() {
    return Control([&] {
        state_.image = FactoryState().image;
        cacheValid_ = false;
        return kOk;
    });
}

int32_t SimDevice::SetLatency(int32_t ms) {
    return Control([&] {
        if (ms < 0 || ms > 10000) return kBadArgument;
        state_.latencyMs = static_cast<uint32_t>(ms);
        return kOk;
    });
}

int32_t SimDevice::InjectFailure(const char* entry, int32_t call, int32_t status) {
    return Control([&] {
        if (!entry || !*entry || std::strlen(entry) > SimState::kMaxNameLength || call < 0 || status == kOk ||
            state_.rules.size() >= SimState::kMaxRules)
            return kBadArgument;
        state_.rules.push_back({entry, call, status, 0});
        return kOk;
    });
}

int32_t SimDevice::ClearFailures() {
    return Control([&] {
        state_.rules.clear();
        return kOk;
    });
}

int32_t SimDevice::CallCount(const char* entry) {
    std::lock_guard lock(mutex_);
    const auto it = callCounts_.find(entry ? entry : "");
    return it == callCounts_.end() ? 0 : it->second;
}

void SimDevice::ResetCallCounts() {
    std::lock_guard lock(mutex_);
    callCounts_.clear();
    transfers_ = 0;
}

int32_t SimDevice::TransferCount() {
    std::lock_guard lock(mutex_);
    return transfers_;
}

int32_t SimDevice::FactoryImage(int32_t preset, uint8_t* out, int32_t size) const {
    if (!out || size != static_cast<int32_t>(spec_.imageSize) || preset < 1 || preset > spec_.presets)
        return kBadArgument;
    Image image(spec_.imageSize, 0);
    spec_.factory(image, preset);
    std::memcpy(out, image.data(), image.size());
    return kOk;
}

std::string SimDevice::Describe() {
    std::lock_guard lock(mutex_);
    Refresh();
    std::string out;
    char line[256];
    std::snprintf(line, sizeof line, "%s (%s, vid 0x%04x, pid 0x%04x)\n", spec_.name, spec_.libraryFile,
                  spec_.vid, spec_.pid);
    out += line;
    std::snprintf(line, sizeof line, "  attached: %s\n  variant: %d\n  latency: %u ms\n  presses: %u\n",
                  state_.attached ? "yes" : "no", state_.variant, state_.latencyMs, state_.pressCount);
    out += line;
    for (const FailureRule& rule : state_.rules) {
        std::snprintf(line, sizeof line, "  failure: %s call %d -> status %d\n", rule.entryPoint.c_str(),
                      rule.call, rule.status);
        out += line;
    }
    const Image& m = state_.image;
    for (const Field& f : spec_.fields) {
        out += "  ";
        out += f.name;
        out += ":";
        for (int i = 0; i < f.count; ++i) {
            const uint32_t at = f.ElementOffset(i);
            if (f.kind == FieldKind::Int) {
                out += " " + std::to_string(ReadInt(m, at, f.width, f.isSigned));
            } else {
                out += " ";
                AppendHex(out, m.data() + at, f.width);
            }
        }
        out += "\n";
    }
    if (spec_.describeExtra) spec_.describeExtra(m, out);
    return out;
}

}  // namespace sim

#include "device/DeviceLibraryBinding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "device/DeviceName.h"

namespace {

std::mutex gFolderMutex;
std::string gLibraryFolder;  // empty: the executable's folder

std::string ExecutableFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "./";
    path[n] = 0;
    const std::string full(path);
    return full.substr(0, full.rfind('/') + 1);
}

// Heron macros: a 34-byte name buffer on a read, 32 bytes on a write; events 256 bytes on a read
// and 224 on a write. The driver uses 2016 event bytes both ways and a 16-bit length.
struct MacroBufferShape {
    EntryPoint get;
    EntryPoint set;
    size_t readEvents;
    size_t writeEvents;
    size_t lengthBytes;
};

const MacroBufferShape* ShapeOf(DeviceModel model) {
    static const MacroBufferShape kHeron{EntryPoint::Device_Get_Marco_Buffer_Heron,
                                         EntryPoint::Device_Set_Marco_Buffer_Heron, 256, 224, 1};
    static const MacroBufferShape kDriver{EntryPoint::Device_Get_Marco_Buffer_Heron_Driver,
                                          EntryPoint::Device_Set_Marco_Buffer_Heron_Driver, 2016, 2016, 2};
    // In DeviceModel order; only the Heron family keeps its macros in a buffer.
    static const std::array<const MacroBufferShape*, kDeviceModelCount> kByModel = {
        nullptr, &kHeron, nullptr, nullptr, nullptr, &kDriver};
    const auto index = static_cast<size_t>(model);
    return index < kByModel.size() ? kByModel[index] : nullptr;
}

constexpr size_t kMacroNameRead = 34;
constexpr size_t kMacroNameWrite = 32;

}  // namespace

void DeviceLibraryBinding::SetLibraryFolder(const std::string& folder) {
    std::lock_guard lock(gFolderMutex);
    gLibraryFolder = folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

DeviceLibraryBinding& DeviceLibraryBinding::Instance() {
    static DeviceLibraryBinding* const instance = [] {
        std::string folder;
        {
            std::lock_guard lock(gFolderMutex);
            folder = gLibraryFolder.empty() ? ExecutableFolder() : gLibraryFolder;
        }
        return new DeviceLibraryBinding(folder);  // lives until the process ends
    }();
    return *instance;
}

DeviceLibraryBinding::DeviceLibraryBinding(const std::string& folder) {
    Load(folder.empty() || folder.back() == '/' ? folder : folder + '/');
}

DeviceLibraryBinding::~DeviceLibraryBinding() = default;

// A missing library or name leaves its handle or slot empty; calls through it then fail.
void DeviceLibraryBinding::Load(const std::string& folder) {
    for (const ModelRow& row : Models()) {
        const DeviceModel model = row.model;
        const std::string path = folder + row.libraryFile;
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) continue;
        handles_[Index(model)] = handle;
        ++loadCounts_[Index(model)];
        const auto entryPoints = AllEntryPoints();
        for (size_t slot = 0; slot < entryPoints.size(); ++slot) {
            if (entryPoints[slot].model == model) slots_[slot] = dlsym(handle, entryPoints[slot].name);
        }
    }
}

HeronMacroCache* DeviceLibraryBinding::MacroCache(DeviceModel model) {
    return ShapeOf(model) ? &macroCaches_[static_cast<size_t>(model)] : nullptr;
}

bool DeviceLibraryBinding::ReadMacroBuffer(DeviceModel model, int index) {
    const MacroBufferShape* shape = ShapeOf(model);
    if (!shape) return false;
    std::vector<uint8_t> name(kMacroNameRead, 0);
    std::vector<uint8_t> events(shape->readEvents, 0);
    if (Call(shape->get, int32_t{index}, AsBuffer(name), AsBuffer(events)) != 0)
        return GaveUp("ReadMacroBuffer");
    MacroEntry entry;
    entry.name = DecodeDeviceName(name.data(), name.size());
    // Keep the encoded length: flag byte, length field, then the bytes it counts.
    size_t length = events.size();
    const size_t header = 1 + shape->lengthBytes;
    if (events.size() >= header) {
        const size_t counted = shape->lengthBytes == 1 ? events[1] : (size_t{events[1]} << 8) | events[2];
        if (header + counted < length) length = header + counted;
    }
    entry.data.assign(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(length));
    MacroCache(model)->Put(index, std::move(entry));
    return true;
}

bool DeviceLibraryBinding::WriteMacroBuffer(DeviceModel model, int index) {
    const MacroBufferShape* shape = ShapeOf(model);
    if (!shape) return false;
    const std::optional<MacroEntry> entry = MacroCache(model)->Find(index);
    if (!entry) return false;
    std::vector<uint8_t> name = EncodeDeviceName(entry->name, kMacroNameWrite);
    std::vector<uint8_t> events(shape->writeEvents, 0);
    std::copy_n(entry->data.begin(), std::min(entry->data.size(), events.size()), events.begin());
    return Call(shape->set, int32_t{index}, AsBuffer(name), AsBuffer(events)) == 0 ||
           GaveUp("WriteMacroBuffer");
}

bool DeviceLibraryBinding::WriteCachedMacros(DeviceModel model) {
    const HeronMacroCache* cache = MacroCache(model);
    if (!cache) return true;
    bool ok = true;
    for (int id : cache->Ids()) ok = WriteMacroBuffer(model, id) && ok;
    return ok;
}

std::optional<MacroEntry> DeviceLibraryBinding::CachedMacro(DeviceModel model, int id) {
    HeronMacroCache* cache = MacroCache(model);
    if (!cache) return std::nullopt;
    if (auto entry = cache->Find(id)) return entry;
    if (!ReadMacroBuffer(model, id)) return std::nullopt;
    return cache->Find(id);
}

#include "ui/core/Toolkit.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/Window.h"
#include "ui/render/ImageCache.h"

namespace ui {
namespace {

struct State {
    // Other threads post through the backend; this keeps it alive while they do.
    std::mutex backendMutex;
    std::unique_ptr<Backend> backend;
    std::string resourcePath;
    std::string instancePath;
    std::thread::id uiThread;
    Toolkit::SkinErrorHandler skinErrorHandler;
    std::map<uint64_t, WindowImplBase*> windows;
    uint64_t nextWindowId = 1;
};

State& S() {
    static State state;
    return state;
}

}  // namespace

void Toolkit::Init(std::unique_ptr<Backend> backend) {
    std::lock_guard lock(S().backendMutex);
    S().backend = std::move(backend);
    S().uiThread = std::this_thread::get_id();
}

void Toolkit::Shutdown() {
    ImageCache::Instance().Clear();
    S().windows.clear();
    std::unique_ptr<Backend> gone;
    {
        std::lock_guard lock(S().backendMutex);
        gone = std::move(S().backend);
    }
}

bool Toolkit::IsInitialised() {
    return S().backend != nullptr;
}

Backend& Toolkit::GetBackend() {
    if (!S().backend) throw std::logic_error("toolkit used before Toolkit::Init");
    return *S().backend;
}

std::string Toolkit::NormaliseSeparators(std::string path) {
    for (auto& c : path)
        if (c == '\\') c = '/';
    return path;
}

void Toolkit::SetResourcePath(std::string path) {
    path = NormaliseSeparators(std::move(path));
    if (!path.empty() && path.back() != '/') path += '/';
    S().resourcePath = std::move(path);
}

const std::string& Toolkit::GetResourcePath() {
    return S().resourcePath;
}

std::string Toolkit::ResolvePath(const std::string& relative) {
    std::string p = NormaliseSeparators(relative);
    if (!p.empty() && p.front() == '/') return p;
    return S().resourcePath + p;
}

void Toolkit::SetInstancePath(std::string path) {
    S().instancePath = std::move(path);
}
const std::string& Toolkit::GetInstancePath() {
    return S().instancePath;
}

int Toolkit::MessageLoop() {
    return GetBackend().Run();
}

void Toolkit::PostQuitMessage(int code) {
    GetBackend().Post([code] { GetBackend().Quit(code); });
}

void Toolkit::PostTask(std::function<void()> task) {
    // A device library's thread may report after the windows are gone; its news is dropped then.
    std::lock_guard lock(S().backendMutex);
    if (S().backend) S().backend->Post(std::move(task));
}

bool Toolkit::IsUiThread() {
    return std::this_thread::get_id() == S().uiThread;
}

void Toolkit::SetSkinErrorHandler(SkinErrorHandler handler) {
    S().skinErrorHandler = std::move(handler);
}

void Toolkit::ReportSkinError(const std::string& report) {
    if (S().skinErrorHandler) {
        S().skinErrorHandler(report);
        return;
    }
    std::fprintf(stderr, "Oakridge: the skin cannot be loaded.\n%s\n", report.c_str());
    std::fflush(stderr);
    // Nothing is held in memory that a later save would need, so ending here loses nothing.
    std::_Exit(0);
}

uint64_t Toolkit::RegisterWindow(WindowImplBase* window) {
    uint64_t id = S().nextWindowId++;
    S().windows[id] = window;
    return id;
}

void Toolkit::UnregisterWindow(uint64_t id) {
    S().windows.erase(id);
}

WindowImplBase* Toolkit::LookupWindow(uint64_t id) {
    auto it = S().windows.find(id);
    return it == S().windows.end() ? nullptr : it->second;
}

std::vector<WindowImplBase*> Toolkit::Windows() {
    std::vector<WindowImplBase*> out;
    for (auto& [id, w] : S().windows) out.push_back(w);
    return out;
}

WindowImplBase* Toolkit::FindWindowByClass(const std::string& className) {
    // Newest first: the most recently opened window of a class is the one a user sees on top.
    for (auto it = S().windows.rbegin(); it != S().windows.rend(); ++it) {
        if (it->second->HasNativeWindow() && EqualsNoCase(it->second->GetWindowClassName(), className))
            return it->second;
    }
    return nullptr;
}

}  // namespace ui

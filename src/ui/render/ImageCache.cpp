#include "ui/render/ImageCache.h"

#include <cairo.h>

namespace ui {

ImageCache& ImageCache::Instance() {
    static ImageCache cache;
    return cache;
}

ImageCache::~ImageCache() {
    Clear();
}

cairo_surface_t* ImageCache::Get(const std::string& path) {
    auto it = images_.find(path);
    if (it != images_.end()) return it->second;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        surface = nullptr;
    }
    images_[path] = surface;
    return surface;
}

void ImageCache::Clear() {
    for (auto& [path, surface] : images_)
        if (surface) cairo_surface_destroy(surface);
    images_.clear();
}

}  // namespace ui

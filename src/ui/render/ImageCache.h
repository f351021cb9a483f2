#pragma once
// Decoded PNG images by absolute path, loaded once and shared by every window.
#include <map>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace ui {

class ImageCache {
  public:
    static ImageCache& Instance();
    ~ImageCache();
    // Null when the file is missing or not a PNG; failures are remembered too.
    cairo_surface_t* Get(const std::string& path);
    void Clear();

  private:
    std::map<std::string, cairo_surface_t*> images_;
};

}  // namespace ui

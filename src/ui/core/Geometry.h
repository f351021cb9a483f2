#pragma once
// Integer geometry in window pixels.
#include <algorithm>

namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Point Center() const { return {left + Width() / 2, top + Height() / 2}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Deflate(const Rect& by) const {
        return {left + by.left, top + by.top, std::max(left + by.left, right - by.right),
                std::max(top + by.top, bottom - by.bottom)};
    }
    Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        if (r.IsEmpty()) return {};
        return r;
    }
    bool operator==(const Rect&) const = default;
};

// 0xAARRGGBB; alpha 0 means "not set" for optional colours.
using Color = unsigned int;

}  // namespace ui

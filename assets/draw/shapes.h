#pragma once

// Signed distance functions, in pixels, for the few shapes the pictures are made of.

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/draw/canvas.h"

namespace draw {

inline Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

// Close to a true distance for the gentle ellipses used here (highlights), which is all the edge needs.
inline Shape ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float k = std::hypot((x - cx) / rx, (y - cy) / ry);
        return (k - 1.0f) * std::min(rx, ry);
    };
}

inline Shape rounded_box(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

inline Shape intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

inline Shape subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

inline float segment_distance(float x, float y, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

struct Point {
    float x, y;
};

// A stroke of the given width along an open polyline, with round caps.
inline Shape stroke(std::vector<Point> points, float width) {
    return [points = std::move(points), half = width / 2](float x, float y) {
        float best = 1e9f;
        for (std::size_t i = 1; i < points.size(); ++i) {
            best = std::min(best, segment_distance(x, y, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y));
        }
        return best - half;
    };
}

}  // namespace draw

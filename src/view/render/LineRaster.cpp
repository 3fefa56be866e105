#include "view/render/LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vandra {
namespace {

// Cuts the segment to the box [lo, hiX] x [lo, hiY] (Liang-Barsky); false when nothing is left.
bool Clip(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY) {
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    return true;
}

// The smallest integer not below v, for |v| well inside the int range (std::ceil is a library call
// on the baseline x86-64 target).
int CeilInt(double v) {
    const int i = static_cast<int>(v);
    return i + (v > i ? 1 : 0);
}

int FloorInt(double v) {
    const int i = static_cast<int>(v);
    return i - (v < i ? 1 : 0);
}

} // namespace

LineRaster::LineRaster(QImage& image) {
    const QImage::Format f = image.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
        f != QImage::Format_ARGB32_Premultiplied)
        return;
    if (image.width() <= 0 || image.height() <= 0) return;
    bits_ = reinterpret_cast<uint32_t*>(image.bits());
    stride_ = image.bytesPerLine() / 4;
    width_ = image.width();
    height_ = image.height();
}

void LineRaster::Line(int x1, int y1, int x2, int y2, QRgb color) {
    if (!bits_) return;
    // Keep the direction of the whole line: the clipped part has the same slope.
    const double fullDx = static_cast<double>(x2) - x1, fullDy = static_cast<double>(y2) - y1;
    const double length = std::sqrt(fullDx * fullDx + fullDy * fullDy);
    if (length == 0) {
        // A line of no length (a column seen end on) is a square of the pen's width, as the
        // painter's square caps make it: the pixels above and left of the point and the point's.
        const uint32_t c = color | 0xFF000000u;
        for (int y = std::max(0, y1 - 1); y <= std::min(height_ - 1, y1); ++y)
            for (int x = std::max(0, x1 - 1); x <= std::min(width_ - 1, x1); ++x)
                bits_[y * stride_ + x] = c;
        return;
    }
    double ax = x1, ay = y1, bx = x2, by = y2;
    // A line within the box is its own clipped part (cutting it would give the same numbers).
    const bool inside = std::min(x1, x2) >= -4 && std::min(y1, y2) >= -4 &&
                        std::max(x1, x2) <= width_ + 4 && std::max(y1, y2) <= height_ + 4;
    if (!inside && !Clip(ax, ay, bx, by, -4.0, width_ + 4.0, height_ + 4.0)) return;
    const uint32_t c = color | 0xFF000000u;
    const bool xMajor = std::fabs(fullDx) >= std::fabs(fullDy);
    // In the frame where u runs along the major axis and v across it: the pen covers the pixels
    // whose centres lie within the half width 1 of the line (measured across it, 1 / cos along
    // v), and the square ends reach 1 beyond the end points along the line.
    double u0 = xMajor ? ax : ay, v0 = xMajor ? ay : ax;
    double u1 = xMajor ? bx : by, v1 = xMajor ? by : bx;
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const double du = xMajor ? std::fabs(fullDx) : std::fabs(fullDy);
    const double slope = u1 > u0 ? (v1 - v0) / (u1 - u0) : 0.0;
    const double half = length / du; // half width 1 measured along v
    const double cap = du / length;  // half width 1 along the line, measured along u
    const int uLimit = xMajor ? width_ : height_, vLimit = xMajor ? height_ : width_;
    const int uFirst = std::max(0, CeilInt(u0 - cap - 0.5));
    const int uLast = std::min(uLimit - 1, CeilInt(u1 + cap - 0.5) - 1);
    // Columns whose centres lie beyond an end point take that end's v (the square end).
    const int inFirst = CeilInt(u0 - 0.5), inLast = FloorInt(u1 - 0.5);
    // v in fixed point with 16 fractional bits, stepped from column to column.
    constexpr double kOne = 65536.0;
    const auto fixed = [](double v) {
        const double f = v * kOne;
        return static_cast<int64_t>(f < 0 ? f - 0.5 : f + 0.5);
    };
    const int64_t v0Fixed = fixed(v0), v1Fixed = fixed(v1), step = fixed(slope);
    const int64_t below = fixed(half + 0.5), above = fixed(half - 0.5);
    const int64_t vStart = fixed(v0 + (uFirst + 0.5 - u0) * slope);
    const int64_t belowOffset = 0xFFFF - below, aboveOffset = above + 0xFFFF;
    const qsizetype uStride = xMajor ? 1 : stride_, vStride = xMajor ? stride_ : 1;
    // The pixels across the line at column u, centred at v; ceil(x) of a fixed-point x is
    // (x + 0xFFFF) >> 16, the shift rounding towards minus infinity.
    const auto across = [&](int u, int64_t v) {
        const int64_t vFirst = std::max<int64_t>(0, (v + belowOffset) >> 16);
        const int64_t vLast = std::min<int64_t>(vLimit - 1, ((v + aboveOffset) >> 16) - 1);
        uint32_t* pixel = bits_ + u * uStride + vFirst * vStride;
        for (int64_t w = vFirst; w <= vLast; ++w, pixel += vStride)
            *pixel = c;
    };
    // Columns before end 0 take its v, columns after end 1 (and not before end 0) its v: the
    // square ends; between them v is stepped from column to column.
    const int capEnd = std::min(uLast, inFirst - 1), bodyFirst = std::max(uFirst, inFirst);
    const int bodyLast = std::min(uLast, inLast);
    const int capStart = std::max({uFirst, inFirst, inLast + 1});
    for (int u = uFirst; u <= capEnd; ++u)
        across(u, v0Fixed);
    int64_t v = vStart + static_cast<int64_t>(bodyFirst - uFirst) * step;
    for (int u = bodyFirst; u <= bodyLast; ++u, v += step)
        across(u, v);
    for (int u = capStart; u <= uLast; ++u)
        across(u, v1Fixed);
}

} // namespace vandra

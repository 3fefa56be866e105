#include "sections/SectionProperties.h"

#include <algorithm>
#include <numbers>

namespace vandra {
namespace {

using Real = long double; // computed in extended precision, stored as double
constexpr Real kPi = std::numbers::pi_v<Real>;

struct Properties {
    Real area = 0, i22 = 0, i33 = 0, as2 = 0, as3 = 0, torsJ = 0;
};

Properties Rectangle(Real depth, Real width) {
    Properties p;
    p.area = depth * width;
    p.i22 = width * width * width * depth / 12;
    p.i33 = depth * depth * depth * width / 12;
    p.as2 = p.as3 = Real(5) / 6 * depth * width;
    const Real a = std::max(depth, width) / 2, b = std::min(depth, width) / 2;
    if (a > 0) {
        const Real ratio = b / a;
        p.torsJ = a * b * b * b *
                  (Real(16) / 3 - Real(3.36L) * ratio * (1 - ratio * ratio * ratio * ratio / 12));
    }
    return p;
}

// An I section is three rectangles: two flanges b x tf and a web tw x (h - 2 tf) between them.
Properties IShape(Real h, Real b, Real tf, Real tw) {
    Properties p;
    const Real web = h - 2 * tf; // the clear height of the web
    p.area = web * tw + 2 * tf * b;
    p.as2 = Real(5) / 6 * h * tw;
    p.as3 = Real(5) / 3 * b * tf;
    p.i22 = 2 * tf * b * b * b / 12 + web * tw * tw * tw / 12;
    p.i33 = b * h * h * h / 12 - (b - tw) * web * web * web / 12;
    p.torsJ = (h * tw * tw * tw + 2 * b * tf * tf * tf) / 3;
    return p;
}

// A box is four rectangles: flanges b x tf at top and bottom, webs tw x (h - 2 tf) at the sides.
Properties Box(Real h, Real b, Real tf, Real tw) {
    Properties p;
    const Real web = h - 2 * tf, inside = b - 2 * tw;
    p.area = 2 * web * tw + 2 * tf * b;
    p.as2 = 2 * h * tw;
    p.as3 = 2 * b * tf;
    p.i22 = h * b * b * b / 12 - web * inside * inside * inside / 12;
    p.i33 = b * h * h * h / 12 - inside * web * web * web / 12;
    // Without flanges or webs there is no closed cell and no torsional stiffness.
    if (tf > 0 && tw > 0) p.torsJ = 2 * (h * b) * (h * b) / (b / tf + h / tw);
    return p;
}

Properties Pipe(Real outside, Real wall) {
    Properties p;
    const Real inside = outside - 2 * wall;
    const Real d2 = outside * outside, i2 = inside * inside;
    p.area = (d2 - i2) * kPi / 4;
    p.as2 = p.as3 = p.area;
    p.i22 = p.i33 = (d2 * d2 - i2 * i2) * kPi / 64;
    const Real r = outside / 2, ri = inside / 2;
    p.torsJ = (r * r * r * r - ri * ri * ri * ri) * kPi / 2;
    return p;
}

} // namespace

TSectionProps SectionPropertiesOf(const TSECTION& sec) {
    if (sec.GivenProps) return *sec.GivenProps;
    const Real t1 = sec.T[1], t2 = sec.T[2], t3 = sec.T[3], t4 = sec.T[4];
    Properties p;
    switch (sec.Shape) {
    case kShapeRectangle:
        p = Rectangle(t1, t2);
        break;
    case kShapeI:
        p = IShape(t1, t2, t3, t4);
        break;
    case kShapeBox:
        p = Box(t1, t2, t3, t4);
        break;
    case kShapePipe:
        p = Pipe(t1, t2);
        break;
    default:
        break;
    }
    return {static_cast<double>(p.area), static_cast<double>(p.i22), static_cast<double>(p.i33),
            static_cast<double>(p.as2),  static_cast<double>(p.as3), static_cast<double>(p.torsJ)};
}

} // namespace vandra

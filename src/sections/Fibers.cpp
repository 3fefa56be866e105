#include "sections/Fibers.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vandra {
namespace {

using Real = long double; // every layout is computed in extended precision, stored as double

// The fibers of one section, numbered from 1 as the layouts count them.
class FiberTable {
public:
    FiberTable(std::vector<TFIBER>& fibers, int count) : fibers_(fibers) {
        fibers_.assign(static_cast<size_t>(count), TFIBER{});
    }
    void Set(int k, Real y, Real z, Real area, int mat) {
        TFIBER& f = fibers_[static_cast<size_t>(k - 1)];
        f.FibY = static_cast<double>(y);
        f.FibZ = static_cast<double>(z);
        f.FibArea = static_cast<double>(area);
        f.FibMat = mat;
    }

private:
    std::vector<TFIBER>& fibers_;
};

// Position m (1-based) of a row of n bars spread over `span` from `first`; a single bar stands on
// the centre line.
Real Spread(Real first, Real span, int n, int m) {
    if (n == 1) return 0;
    return first + span / (n - 1) * (m - 1);
}

// A count typed as zero or negative means none of that item.
int NoneBelowZero(int n) {
    return std::max(n, 0);
}

void Rectangle(const TSECTION& s, int rebarMat, std::vector<TFIBER>& fibers) {
    const Real h = s.T[1], b = s.T[2], c = s.Cover;
    const int fx = NoneBelowZero(s.DivideFX), fy = NoneBelowZero(s.DivideFY);
    const int nx = NoneBelowZero(s.BarNumNX), ny = NoneBelowZero(s.BarNumNY);
    const int cells = fx * fy;
    int bars = 0;
    if (s.SectionKind == kBeamSection) bars = nx + ny;
    if (s.SectionKind == kColumnSection) bars = 2 * (nx + ny);
    FiberTable table(fibers, cells + bars);

    for (int j = 1; j <= fy; ++j)
        for (int i = 1; i <= fx; ++i)
            table.Set((j - 1) * fx + i, -(b / 2 - b / fx / 2) + (b / fx) * (i - 1),
                      -(h / 2 - h / fy / 2) + (h / fy) * (j - 1), (b / fx) * (h / fy), s.MatIdx);

    const Real left = -(b / 2 - c), right = b / 2 - c, span = b - 2 * c;
    const Real bottom = -(h / 2 - c), top = h / 2 - c;
    if (s.SectionKind == kBeamSection) {
        for (int m = 1; m <= nx; ++m)
            table.Set(cells + m, Spread(left, span, nx, m), top, Real(s.BarTop) / nx, rebarMat);
        for (int m = 1; m <= ny; ++m)
            table.Set(cells + nx + m, Spread(left, span, ny, m), bottom, Real(s.BarBot) / ny,
                      rebarMat);
    } else if (s.SectionKind == kColumnSection) {
        // The corner bars belong to the X rows; the Y rows are spaced so that none is a corner.
        for (int m = 1; m <= nx; ++m) {
            const Real y = Spread(left, span, nx, m);
            table.Set(cells + m, y, bottom, Real(s.BarTop) / nx, rebarMat);
            table.Set(cells + nx + m, y, top, Real(s.BarTop) / nx, rebarMat);
        }
        for (int m = 1; m <= ny; ++m) {
            const Real z = bottom + (h - 2 * c) / (ny + 1) * m;
            table.Set(cells + 2 * nx + m, left, z, Real(s.BarBot) / ny, rebarMat);
            table.Set(cells + 2 * nx + ny + m, right, z, Real(s.BarBot) / ny, rebarMat);
        }
    }
}

// The flanges of an I or box section: fx fibers across the bottom flange, then fx across the top.
void Flanges(FiberTable& table, const TSECTION& s, int fx) {
    const Real h = s.T[1], b = s.T[2], tf = s.T[3];
    for (int i = 1; i <= fx; ++i) {
        const Real y = b / fx / 2 - b / 2 + (b / fx) * (i - 1);
        table.Set(i, y, -(h / 2 - tf / 2), b * tf / fx, s.MatIdx);
        table.Set(fx + i, y, h / 2 - tf / 2, b * tf / fx, s.MatIdx);
    }
}

// fy fibers over the clear height of a web whose centre line is at y, numbered from first + 1.
void Web(FiberTable& table, const TSECTION& s, int first, int fy, Real y) {
    const Real h = s.T[1], tf = s.T[3], tw = s.T[4];
    const Real clear = h - 2 * tf;
    for (int k = 1; k <= fy; ++k)
        table.Set(first + k, y, -h / 2 + tf + clear / fy / 2 + clear / fy * (k - 1),
                  clear * tw / fy, s.MatIdx);
}

void IShape(const TSECTION& s, std::vector<TFIBER>& fibers) {
    const int fx = NoneBelowZero(s.DivideFX), fy = NoneBelowZero(s.DivideFY);
    FiberTable table(fibers, 2 * fx + fy);
    Flanges(table, s, fx);
    Web(table, s, 2 * fx, fy, 0);
}

void Box(const TSECTION& s, std::vector<TFIBER>& fibers) {
    const Real b = s.T[2], tw = s.T[4];
    const int fx = NoneBelowZero(s.DivideFX), fy = NoneBelowZero(s.DivideFY);
    FiberTable table(fibers, 2 * fx + 2 * fy);
    Flanges(table, s, fx);
    Web(table, s, 2 * fx, fy, -(b / 2 - tw / 2));
    Web(table, s, 2 * fx + fy, fy, b / 2 - tw / 2);
}

void Pipe(const TSECTION& s, std::vector<TFIBER>& fibers) {
    const Real d = s.T[1], t = s.T[2];
    const int n = NoneBelowZero(s.DivideFX);
    const Real radius = d / 2 - t / 2;
    const Real inner = d - 2 * t;
    FiberTable table(fibers, n);
    for (int i = 1; i <= n; ++i) {
        const Real theta = (Real(360) / n) * (i - 1) * (std::numbers::pi_v<Real> / 180);
        table.Set(i, radius * std::cos(theta), radius * std::sin(theta),
                  (d * d - inner * inner) * (std::numbers::pi_v<Real> / 4) / n, s.MatIdx);
    }
}

using Fault = std::optional<LayoutFault>;

Fault Bad(const TSECTION& s, const char* field, const std::string& what) {
    return LayoutFault{field, "Frame section " + s.Name + ": " + what};
}

Fault Divisions(const TSECTION& s, const char* field, int n, int least) {
    if (n < least)
        return Bad(s, field, text::Format("%s must be at least %d, not %d", {field, least, n}));
    return std::nullopt;
}

// The bars of one face pair: a bar area needs bars to carry it, two at least for the corners.
Fault Bars(const TSECTION& s, const char* countField, int count, const char* areaField,
           double area) {
    if (area < 0)
        return Bad(s, areaField,
                   text::Format("the bar area %s must not be negative, not %s",
                                {areaField, text::FormatGeneral(area)}));
    if (area > 0 && count < 2)
        return Bad(s, countField,
                   text::Format("%s must be at least 2 to carry the bar area %s = %s, not %d",
                                {countField, areaField, text::FormatGeneral(area), count}));
    return std::nullopt;
}

Fault RectangleFault(const TSECTION& s) {
    if (Fault f = Divisions(s, "DivideFX", s.DivideFX, 1)) return f;
    if (Fault f = Divisions(s, "DivideFY", s.DivideFY, 1)) return f;
    if (s.SectionKind != kBeamSection && s.SectionKind != kColumnSection) return std::nullopt;
    if (Fault f = Bars(s, "BarNumNX", s.BarNumNX, "BarTop", s.BarTop)) return f;
    if (Fault f = Bars(s, "BarNumNY", s.BarNumNY, "BarBot", s.BarBot)) return f;
    const bool bars = (s.BarNumNX > 0 && s.BarTop > 0) || (s.BarNumNY > 0 && s.BarBot > 0);
    const double side = std::min(s.T[1], s.T[2]);
    if (bars && !(s.Cover >= 0 && 2 * s.Cover < side))
        return Bad(s, "Cover",
                   text::Format("Cover %s puts the bars outside the %s x %s section (the cover "
                                "must lie from 0 to less than half of %s)",
                                {text::FormatGeneral(s.Cover), text::FormatGeneral(s.T[2]),
                                 text::FormatGeneral(s.T[1]), text::FormatGeneral(side)}));
    return std::nullopt;
}

} // namespace

std::optional<LayoutFault> FiberLayoutFault(const TSECTION& s) {
    if (s.FrameType == kBeamWithHinge)
        for (const auto& [field, length] :
             {std::pair{"HingeLenI", s.HingeLenI}, std::pair{"HingeLenJ", s.HingeLenJ}})
            if (!(length >= 0))
                return Bad(s, field,
                           text::Format("the hinge length %s must not be negative, not %s",
                                        {field, text::FormatGeneral(length)}));
    if (!HasFiberSection(s.FrameType)) return std::nullopt;
    switch (s.Shape) {
    case kShapeRectangle:
        return RectangleFault(s);
    case kShapeI:
    case kShapeBox:
        if (Fault f = Divisions(s, "DivideFX", s.DivideFX, 1)) return f;
        return Divisions(s, "DivideFY", s.DivideFY, 1);
    case kShapePipe:
        return Divisions(s, "DivideFX", s.DivideFX, 3);
    default:
        return std::nullopt;
    }
}

void CheckFiberLayout(const TSECTION& s) {
    if (const std::optional<LayoutFault> fault = FiberLayoutFault(s))
        throw InputError(fault->message);
}

long long FiberCountOf(const TSECTION& s) {
    const long long fx = NoneBelowZero(s.DivideFX), fy = NoneBelowZero(s.DivideFY);
    const long long nx = NoneBelowZero(s.BarNumNX), ny = NoneBelowZero(s.BarNumNY);
    switch (s.Shape) {
    case kShapeRectangle:
        if (s.SectionKind == kBeamSection) return fx * fy + nx + ny;
        if (s.SectionKind == kColumnSection) return fx * fy + 2 * (nx + ny);
        return fx * fy;
    case kShapeI:
        return 2 * fx + fy;
    case kShapeBox:
        return 2 * fx + 2 * fy;
    case kShapePipe:
        return fx;
    default:
        return -1;
    }
}

bool HasFiberSection(int frameType) {
    return frameType >= kNonlinearBeamColumn && frameType <= kCorotTruss;
}

std::vector<TFIBER> SectionFibers(const TSECTION& section, int rebarMat) {
    const long long count = FiberCountOf(section);
    if (count > kMaxFibersPerSection)
        throw InputError("Frame section " + section.Name + " would have " + text::FormatInt(count) +
                         " fibers; a section may have at most " +
                         text::FormatInt(kMaxFibersPerSection));
    std::vector<TFIBER> fibers;
    switch (section.Shape) {
    case kShapeRectangle:
        Rectangle(section, rebarMat, fibers);
        break;
    case kShapeI:
        IShape(section, fibers);
        break;
    case kShapeBox:
        Box(section, fibers);
        break;
    case kShapePipe:
        Pipe(section, fibers);
        break;
    default:
        break;
    }
    return fibers;
}

} // namespace vandra

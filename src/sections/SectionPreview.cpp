#include "sections/SectionPreview.h"

#include "model/NumberText.h"
#include "sections/Fibers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vandra {
namespace {

constexpr double kPixelLimit = 1e6;

PreviewPrimitive Make(PreviewPrimitive::Kind kind, int x1, int y1, int x2, int y2,
                      PreviewColor color = PreviewColor::Black, std::string text = {}) {
    return {kind, x1, y1, x2, y2, color, std::move(text)};
}

// At most this many grid lines, rays or dots of one kind: a mistyped division count must not
// stall the dialog.
int Bounded(int n) {
    return static_cast<int>(std::clamp<long long>(n, 0, kMaxFibersPerSection));
}

class Picture {
public:
    explicit Picture(double scale) : scale_(scale) {
        Add(Make(PreviewPrimitive::Rectangle, 0, 0, kPreviewSize, kPreviewSize));
    }

    int X(double y) const { return kPreviewCentre + PreviewPixel(y * scale_); }
    int Row(double z) const { return kPreviewCentre - PreviewPixel(z * scale_); }

    // A black rectangle between two corners of the section plane.
    void Box(double y1, double z1, double y2, double z2) {
        Add(Make(PreviewPrimitive::Rectangle, X(std::min(y1, y2)), Row(std::max(z1, z2)),
                 X(std::max(y1, y2)), Row(std::min(z1, z2))));
    }
    void Line(double y1, double z1, double y2, double z2, PreviewColor color) {
        Add(Make(PreviewPrimitive::Line, X(y1), Row(z1), X(y2), Row(z2), color));
    }
    void Dot(double y, double z, PreviewColor color) {
        const int x = X(y), row = Row(z);
        Add(Make(PreviewPrimitive::Dot, x - kPreviewDotRadius, row - kPreviewDotRadius,
                 x + kPreviewDotRadius, row + kPreviewDotRadius, color));
    }
    void Count(long long fibers) {
        Add(Make(PreviewPrimitive::Text, kPreviewTextX, kPreviewTextY, 0, 0, PreviewColor::Black,
                 text::Format("NUM OF FIBERS = %D", {fibers})));
    }
    void Add(PreviewPrimitive p) { primitives_.push_back(std::move(p)); }
    std::vector<PreviewPrimitive> Take() { return std::move(primitives_); }

private:
    double scale_;
    std::vector<PreviewPrimitive> primitives_;
};

// Vertical division lines of a band from y = -b/2 to b/2 between z1 and z2.
void Columns(Picture& p, double b, int fx, double z1, double z2) {
    for (int i = 1; i <= Bounded(fx - 1); ++i) {
        const double y = -b / 2 + (b / fx) * i;
        p.Line(y, z1, y, z2, PreviewColor::Blue);
    }
}

// Horizontal division lines of a web between y1 and y2 over the clear height.
void WebRows(Picture& p, const TSECTION& s, int fy, double y1, double y2) {
    const double h = s.T[1], tf = s.T[3];
    for (int j = 1; j <= Bounded(fy - 1); ++j) {
        const double z = (h / 2 - tf) - ((h - 2 * tf) / fy) * j;
        p.Line(y1, z, y2, z, PreviewColor::Blue);
    }
}

void Rectangle(Picture& p, const TSECTION& s) {
    const double h = s.T[1], b = s.T[2];
    p.Box(-b / 2, -h / 2, b / 2, h / 2);
    Columns(p, b, s.DivideFX, h / 2, -h / 2);
    for (int j = 1; j <= Bounded(s.DivideFY - 1); ++j) {
        const double z = h / 2 - (h / s.DivideFY) * j;
        p.Line(-b / 2, z, b / 2, z, PreviewColor::Blue);
    }

    // The bars stand where generation puts them: the bar fibers follow the cells in the table.
    const long long count = FiberCountOf(s);
    if (count > kMaxFibersPerSection) return;
    const std::vector<TFIBER> fibers = SectionFibers(s, 0);
    const size_t cells = static_cast<size_t>(std::max(s.DivideFX, 0) * std::max(s.DivideFY, 0));
    const size_t nx = static_cast<size_t>(std::max(s.BarNumNX, 0));
    const size_t redBars = s.SectionKind == kColumnSection ? 2 * nx : nx;
    for (size_t k = cells; k < fibers.size(); ++k)
        p.Dot(fibers[k].FibY, fibers[k].FibZ,
              k - cells < redBars ? PreviewColor::Red : PreviewColor::Blue);
}

void Flanges(Picture& p, const TSECTION& s) {
    const double h = s.T[1], b = s.T[2], tf = s.T[3];
    p.Box(-b / 2, h / 2 - tf, b / 2, h / 2);
    p.Box(-b / 2, -h / 2, b / 2, -(h / 2 - tf));
}

void FlangeColumns(Picture& p, const TSECTION& s) {
    const double h = s.T[1], b = s.T[2], tf = s.T[3];
    Columns(p, b, s.DivideFX, h / 2, h / 2 - tf);
    Columns(p, b, s.DivideFX, -(h / 2 - tf), -h / 2);
}

void IShape(Picture& p, const TSECTION& s) {
    const double h = s.T[1], tf = s.T[3], tw = s.T[4];
    Flanges(p, s);
    p.Box(-tw / 2, -(h / 2 - tf), tw / 2, h / 2 - tf);
    FlangeColumns(p, s);
    WebRows(p, s, s.DivideFY, -tw / 2, tw / 2);
}

void BoxShape(Picture& p, const TSECTION& s) {
    const double h = s.T[1], b = s.T[2], tf = s.T[3], tw = s.T[4];
    Flanges(p, s);
    p.Box(-b / 2, -(h / 2 - tf), -(b / 2 - tw), h / 2 - tf);
    p.Box(b / 2 - tw, -(h / 2 - tf), b / 2, h / 2 - tf);
    FlangeColumns(p, s);
    WebRows(p, s, s.DivideFY, -b / 2, -(b / 2 - tw));
    WebRows(p, s, s.DivideFY, b / 2 - tw, b / 2);
}

// The pipe is drawn with the screen row growing with sin(theta), as the dialog always showed it.
void Pipe(Picture& p, const TSECTION& s, double scale) {
    const double d = s.T[1], t = s.T[2];
    const double outer = d / 2, inner = (d - 2 * t) / 2;
    const auto circle = [&](double r) {
        const int px = PreviewPixel(r * scale);
        p.Add(Make(PreviewPrimitive::Ellipse, kPreviewCentre - px, kPreviewCentre - px,
                   kPreviewCentre + px, kPreviewCentre + px));
    };
    circle(outer);
    circle(inner);
    const int n = s.DivideFX;
    for (int i = 1; i <= Bounded(n); ++i) {
        const double theta = (360.0 / n) * (i - 1) * (std::numbers::pi / 180);
        const double c = std::cos(theta), sn = std::sin(theta);
        p.Add(Make(PreviewPrimitive::Line, kPreviewCentre + PreviewPixel(inner * c * scale),
                   kPreviewCentre + PreviewPixel(inner * sn * scale),
                   kPreviewCentre + PreviewPixel(outer * c * scale),
                   kPreviewCentre + PreviewPixel(outer * sn * scale), PreviewColor::Black));
    }
}

} // namespace

int PreviewPixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

std::vector<PreviewPrimitive> DrawSectionPreview(const TSECTION& s) {
    const double larger = std::max(s.T[1], s.T[2]);
    const bool drawable = larger > 0 && std::isfinite(larger);
    const double scale = drawable ? kPreviewSpan / larger : 0;
    Picture p(scale);
    if (drawable) {
        switch (s.Shape) {
        case kShapeRectangle:
            Rectangle(p, s);
            break;
        case kShapeI:
            IShape(p, s);
            break;
        case kShapeBox:
            BoxShape(p, s);
            break;
        case kShapePipe:
            Pipe(p, s, scale);
            break;
        default:
            break;
        }
    }
    if (s.Shape == kShapeRectangle || s.Shape == kShapeI || s.Shape == kShapeBox)
        p.Count(FiberCountOf(s));
    return p.Take();
}

} // namespace vandra

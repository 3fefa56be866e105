#include "view/render/DeformedLayers.h"

#include "model/NumberText.h"
#include "post/DisplacementScale.h"
#include "post/FrameGeometry.h"
#include "post/RecorderReaders.h"
#include "view/render/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vandra {
namespace {

constexpr int kAlongSegments = 8;
constexpr int kAlongPen = 4;
constexpr double kAlongOffset = 4; // pixels right of the frame seen from end I to end J
constexpr int kLegendPoints = 9;
constexpr int kMargin = 6;
constexpr int kCell = 14;

std::string Number(double v) {
    return text::FormatE(v, 3);
}

bool Drawable(const TModel& m, const TFRAME& f) {
    return IsRecord(m.Nodes, m.NodeCount, f.NodeI) && IsRecord(m.Nodes, m.NodeCount, f.NodeJ);
}

std::string ComponentText(int component, int lengthUnit) {
    const std::string perLength = " (1/" + std::string(LengthUnitName(lengthUnit)) + ")";
    switch (component) {
    case kAxialStrain:
        return "Axial strain";
    case kCurvatureZ:
        return "Curvature Kz" + perLength;
    case kCurvatureY:
        return "Curvature Ky" + perLength;
    default:
        return "Section value";
    }
}

// The values colour step k stands for: the ends of its range, the outer steps open.
std::string StepRange(int k, const TResults& r) {
    const double range = r.ResultMax - r.ResultMin;
    const auto edge = [&](double f) { return r.ResultMin + f / kResultColourSteps * range; };
    if (k == 1) return "below " + Number(edge(1.5));
    if (k == kResultColourSteps) return Number(edge(kResultColourSteps - 0.5)) + " and above";
    return Number(edge(k - 0.5)) + " to " + Number(edge(k + 0.5));
}

} // namespace

QRgb ResultStepColour(int k) {
    const uint32_t c = Palette[static_cast<size_t>(kResultColourBase + k)];
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

int ResultColourStep(double value, const TResults& r) {
    const double range = r.ResultMax - r.ResultMin;
    if (range == 0) return 3;
    const int k = RoundPixel((value - r.ResultMin) / range * kResultColourSteps);
    return std::clamp(k, 1, kResultColourSteps);
}

bool ShowsDeformation(const TResults& results, const TViewState& view) {
    return view.DisplacementScale != 0 && !results.Disp.X.empty();
}

void DrawUndeformedFrames(Canvas& c, const TModel& m, const TViewState& view) {
    TProjection p;
    ProjectNodes(m, view, c.Width(), c.Height(), TNodeOffsets(), p);
    c.SetPen(kUndeformedColour, 1);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (FrameTypeOf(m, f) == kRigidBeam || !Drawable(m, fr)) continue;
        const TScreenPoint& a = p.Nodes[static_cast<size_t>(fr.NodeI)];
        const TScreenPoint& b = p.Nodes[static_cast<size_t>(fr.NodeJ)];
        c.Line(a.X, a.Y, b.X, b.Y);
    }
    c.Flush();
}

void DrawSectionValuesAlong(Canvas& c, const TModel& m, const TProjection& p,
                            const TResults& results) {
    const TFrameEnds& ends = results.Ends;
    const size_t have = std::min({ends.I.size(), ends.J.size(), ends.HasI.size(), ends.HasJ.size()});
    const int last = std::min(LastRecord(m.Frames, m.FrameCount), static_cast<int>(have) - 1);
    for (int f = 1; f <= last; ++f) {
        const auto k = static_cast<size_t>(f);
        const TFRAME& fr = m.Frames[k];
        if (!ends.HasI[k] || !ends.HasJ[k] || !Drawable(m, fr)) continue;
        const TScreenPoint& a = p.Nodes[static_cast<size_t>(fr.NodeI)];
        const TScreenPoint& b = p.Nodes[static_cast<size_t>(fr.NodeJ)];
        const double dx = b.X - a.X, dy = b.Y - a.Y, length = std::hypot(dx, dy);
        if (length == 0) continue;
        const double ox = -dy / length * kAlongOffset, oy = dx / length * kAlongOffset;
        const auto at = [&](double t, int from, int to, double offset) {
            return RoundPixel(from + t * (to - from) + offset);
        };
        for (int s = 0; s < kAlongSegments; ++s) {
            const double t0 = static_cast<double>(s) / kAlongSegments;
            const double t1 = static_cast<double>(s + 1) / kAlongSegments;
            const double mid = (t0 + t1) / 2;
            const double value = ends.I[k] + mid * (ends.J[k] - ends.I[k]);
            c.SetPen(ResultStepColour(ResultColourStep(value, results)), kAlongPen);
            c.Line(at(t0, a.X, b.X, ox), at(t0, a.Y, b.Y, oy), at(t1, a.X, b.X, ox),
                   at(t1, a.Y, b.Y, oy));
        }
    }
    c.Flush();
}

std::vector<std::string> DeformationLegendLines(const TModel& model, const TResults& r,
                                                const TViewState& view) {
    std::vector<std::string> lines;
    if (r.DispStep == kEnvelopeStep)
        lines.push_back("Envelope of " + text::FormatInt(r.History.Steps) +
                        " steps: each joint at its extreme");
    else if (r.DispMode > 0)
        lines.push_back("Mode " + text::FormatInt(r.DispMode) +
                        (r.DispPeriod > 0 ? ", period " + Number(r.DispPeriod) + " s" : ""));
    else if (r.DispStep > 0)
        lines.push_back("Load step " + text::FormatInt(r.DispStep));
    if (ShowsDeformation(r, view)) {
        const std::string unit(LengthUnitName(model.LengthUnit));
        lines.push_back("Displacements x " + text::FormatGeneral(view.DisplacementScale) +
                        ", largest " + Number(LargestDisplacement(model, r.Disp)) + " " + unit);
    }
    if (r.Ends.Any)
        lines.push_back(ComponentText(r.EndsComponent, model.LengthUnit) +
                        (r.EndsStep > 0 ? " at load step " + text::FormatInt(r.EndsStep) : ""));
    return lines;
}

void DrawDeformationLegend(QPainter& p, int width, const TModel& model, const TResults& results,
                           const TViewState& view) {
    const std::vector<std::string> lines = DeformationLegendLines(model, results, view);
    if (lines.empty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(QFont(p.font().family(), kLegendPoints));
    const QFontMetrics metrics = p.fontMetrics();
    const int lineHeight = std::max(metrics.height(), kCell + 2);
    std::vector<std::string> steps;
    if (results.Ends.Any)
        for (int k = kResultColourSteps; k >= 1; --k)
            steps.push_back(StepRange(k, results));
    int textWidth = 0;
    for (const std::string& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(line)));
    for (const std::string& s : steps)
        textWidth = std::max(textWidth,
                             kCell + kMargin + metrics.horizontalAdvance(QString::fromStdString(s)));
    const int rows = static_cast<int>(lines.size() + steps.size());
    const QRect box(width - textWidth - 3 * kMargin, kMargin, textWidth + 2 * kMargin,
                    rows * lineHeight + 2 * kMargin);
    p.setPen(QColor(Qt::black));
    p.setBrush(QColor(Qt::white));
    p.drawRect(box);
    const int left = box.left() + kMargin;
    int top = box.top() + kMargin;
    for (const std::string& line : lines) {
        p.drawText(left, top + (lineHeight + metrics.ascent() - metrics.descent()) / 2,
                   QString::fromStdString(line));
        top += lineHeight;
    }
    for (size_t s = 0; s < steps.size(); ++s) {
        const int k = kResultColourSteps - static_cast<int>(s);
        p.fillRect(left, top + 1, kCell, kCell, QColor::fromRgb(ResultStepColour(k)));
        p.drawText(left + kCell + kMargin,
                   top + (lineHeight + metrics.ascent() - metrics.descent()) / 2,
                   QString::fromStdString(steps[s]));
        top += lineHeight;
    }
    p.restore();
}

} // namespace vandra

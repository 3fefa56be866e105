#include "view/render/ResultLayers.h"

#include "model/NumberText.h"
#include "post/CurvedFrames.h"
#include "post/DisplacementScale.h"
#include "post/Envelopes.h"
#include "post/FrameGeometry.h"
#include "view/render/Canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace vandra {
namespace {

constexpr QRgb kPositiveLine = qRgb(0, 50, 200);
constexpr QRgb kNegativeLine = qRgb(200, 30, 0);
constexpr QRgb kArrow = qRgb(0, 120, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr int kFramePen = 2;
constexpr int kCurvePoints = 9;
constexpr int kLabelPoints = 8;
constexpr int kLegendPoints = 9;
constexpr int kLegendMargin = 6;
constexpr int kMaxLabels = 2000;
constexpr double kArrowMinPixels = 12;
constexpr double kArrowHeadPixels = 6;

struct Point2 {
    double x = 0, y = 0;
};

Point2 operator+(Point2 a, Point2 b) {
    return {a.x + b.x, a.y + b.y};
}
Point2 operator-(Point2 a, Point2 b) {
    return {a.x - b.x, a.y - b.y};
}
Point2 operator*(double s, Point2 a) {
    return {s * a.x, s * a.y};
}

// Where the diagrams and arrows go on the image: a point of the model's space, a direction.
class Screen {
public:
    Screen(const TViewState& view, int width, int height) : project_(view, width, height) {
        project_.Place(0, 0, 0, origin_.x, origin_.y);
    }
    Point2 At(const Vec3& p) const {
        Point2 s;
        project_.Place(p[0], p[1], p[2], s.x, s.y);
        return s;
    }
    // The image displacement of a displacement v of the model (the projection is affine).
    Point2 Along(const Vec3& v) const { return At(v) - origin_; }

private:
    ViewProjector project_;
    Point2 origin_;
};

// A value at a place along the member, as a fraction of its length.
struct Station {
    double t = 0;
    double value = 0;
};

// The curves of one frame: their stations lie in Stations[First .. First + Count) (one curve of a
// step, the largest and the smallest values of an envelope one after the other).
struct FrameCurves {
    int Frame = 0;
    TFrameGeometry Geometry;
    size_t First = 0;
    int Count[2] = {0, 0};
};

bool HasComponent(ForceKind kind, int component) {
    return kind == ForceKind::Beam || (kind == ForceKind::Axial && component == kForceN);
}

// The direction a component's values are drawn along: the plane of the component, moments on
// their tension side.
Vec3 DrawnAlong(const TFrameGeometry& g, int component) {
    switch (component) {
    case kForceVy:
        return g.Y;
    case kForceMz:
        return {-g.Y[0], -g.Y[1], -g.Y[2]};
    default:
        return g.Z;
    }
}

std::string ValueText(double v) {
    return text::FormatE(v, 3);
}

// The curves of frame f (its stations in stations, which it clears, from index 0), when it has
// the component and its axes are known.
bool FrameCurve(const TModel& model, const TForceResults& forces, int component, size_t f,
                FrameCurves& curves, std::vector<Station>& stations) {
    const bool envelope = forces.Step == kEnvelopeStep;
    const std::vector<ForceKind>& kinds = envelope ? forces.Envelope.Kind : forces.AtStep.Kind;
    if (!HasComponent(kinds[f], component)) return false;
    curves.Frame = static_cast<int>(f);
    curves.Geometry = FrameGeometryOf(model, curves.Frame);
    if (!curves.Geometry.HasAxes) return false;
    stations.clear();
    curves.First = 0;
    const double length = curves.Geometry.Length;
    const auto add = [&](double t, double v) { stations.push_back({t, v}); };
    if (envelope) {
        const TComponentEnvelope& e = forces.Envelope.Frames[f][static_cast<size_t>(component)];
        const TDiagramPoint along[2] = {e.Along.Max, e.Along.Min};
        const double ends[2][2] = {{e.I.Max, e.J.Max}, {e.I.Min, e.J.Min}};
        for (int k = 0; k < 2; ++k) {
            const size_t before = stations.size();
            add(0, ends[k][0]);
            if (along[k].X > 0 && along[k].X < length) add(along[k].X / length, along[k].Value);
            add(1, ends[k][1]);
            curves.Count[k] = static_cast<int>(stations.size() - before);
        }
    } else if (forces.Shapes.Shaped(curves.Frame)) {
        const auto values = forces.Shapes.Of(curves.Frame, component);
        for (int k = 0; k < kDiagramStations; ++k)
            add(static_cast<double>(k) / (kDiagramStations - 1), values[static_cast<size_t>(k)]);
        curves.Count[0] = kDiagramStations;
        curves.Count[1] = 0;
    } else {
        add(0, forces.AtStep.Ends[f].I[static_cast<size_t>(component)]);
        add(1, forces.AtStep.Ends[f].J[static_cast<size_t>(component)]);
        curves.Count[0] = 2;
        curves.Count[1] = 0;
    }
    return true;
}

// The largest magnitude of the component on frame f (0 when the frame does not have it).
double LargestOf(const TForceResults& forces, int component, size_t f) {
    const auto c = static_cast<size_t>(component);
    double largest = 0;
    const auto add = [&](double v) { largest = std::max(largest, std::abs(v)); };
    if (forces.Step == kEnvelopeStep) {
        if (!HasComponent(forces.Envelope.Kind[f], component)) return 0;
        const TComponentEnvelope& e = forces.Envelope.Frames[f][c];
        for (const double v : {e.I.Max, e.I.Min, e.J.Max, e.J.Min, e.Along.Max.Value, e.Along.Min.Value})
            add(v);
        return largest;
    }
    if (!HasComponent(forces.AtStep.Kind[f], component)) return 0;
    if (forces.Shapes.Shaped(static_cast<int>(f))) {
        for (const double v : forces.Shapes.Of(static_cast<int>(f), component))
            add(v);
        return largest;
    }
    add(forces.AtStep.Ends[f].I[c]);
    add(forces.AtStep.Ends[f].J[c]);
    return largest;
}

size_t FrameSlots(const TForceResults& forces) {
    return (forces.Step == kEnvelopeStep ? forces.Envelope.Kind : forces.AtStep.Kind).size();
}

QPointF ToPoint(Point2 p) {
    return {p.x, p.y};
}

// Fills one curve between the member (from a to b on the image) and its values (offset along
// `up` per unit value), one colour per sign, and draws the curve: each run of one sign is one
// band and one polyline.
void DrawCurve(Canvas& c, Point2 a, Point2 b, Point2 up, const Station* s, int count) {
    static thread_local std::vector<QPointF> curve;
    curve.clear();
    double sign = 0; // of the run being collected
    Point2 from, to; // its base
    const auto flush = [&] {
        if (curve.size() >= 2) {
            const int n = static_cast<int>(curve.size());
            c.FillBand(ToPoint(from), ToPoint(to), curve.data(), n,
                       sign > 0 ? kPositiveFill : kNegativeFill);
            c.Polyline(curve.data(), n, sign > 0 ? kPositiveLine : kNegativeLine);
        }
        curve.clear();
    };
    const auto extend = [&](double pieceSign, Point2 base0, Point2 tip0, Point2 base1, Point2 tip1) {
        if ((pieceSign > 0) != (sign > 0) || curve.empty()) {
            flush();
            sign = pieceSign;
            from = base0;
            curve.push_back(ToPoint(tip0));
        }
        to = base1;
        curve.push_back(ToPoint(tip1));
    };
    const auto base = [&](double t) { return a + t * (b - a); };
    const auto tip = [&](const Station& st) { return base(st.t) + st.value * up; };
    for (int k = 0; k + 1 < count; ++k) {
        const Station& s0 = s[k];
        const Station& s1 = s[k + 1];
        const Point2 p0 = base(s0.t), p1 = base(s1.t), q0 = tip(s0), q1 = tip(s1);
        if ((s0.value > 0 && s1.value < 0) || (s0.value < 0 && s1.value > 0)) {
            const double t = s0.t + (s1.t - s0.t) * s0.value / (s0.value - s1.value);
            const Point2 zero = base(t);
            extend(s0.value, p0, q0, zero, zero);
            extend(s1.value, zero, zero, p1, q1);
            continue;
        }
        const double pieceSign = s0.value != 0 ? s0.value : s1.value;
        if (pieceSign == 0) {
            flush();
            continue;
        }
        extend(pieceSign, p0, q0, p1, q1);
    }
    flush();
}

// A value printed beside its place on the diagram.
struct Label {
    Point2 at;
    double value;
};

// The values printed on one frame: the ends and the extreme of larger magnitude inside the
// member (of a step), or the largest and smallest values along it (of an envelope).
void FrameLabels(const TModel& model, const TForceResults& forces, const FrameCurves& curves,
                 int component, const std::vector<Station>& stations,
                 const std::function<Point2(double t, double value)>& place,
                 std::vector<Label>& labels) {
    const double length = curves.Geometry.Length;
    if (forces.Step == kEnvelopeStep) {
        const TAlongRange& along =
            forces.Envelope.Frames[static_cast<size_t>(curves.Frame)][static_cast<size_t>(component)]
                .Along;
        for (const TDiagramPoint& p : {along.Max, along.Min})
            labels.push_back({place(p.X / length, p.Value), p.Value});
        return;
    }
    const Station& first = stations[curves.First];
    const Station& last = stations[curves.First + static_cast<size_t>(curves.Count[0]) - 1];
    labels.push_back({place(0, first.value), first.value});
    labels.push_back({place(1, last.value), last.value});
    if (!forces.Shapes.Shaped(curves.Frame)) return;
    static thread_local TMemberDiagram diagram;
    if (!BuildFrameDiagram(model, forces.Loads, forces.AtStep, curves.Frame, diagram)) return;
    const TDiagramPoint peak = diagram.Peak(component);
    if (peak.X > 0 && peak.X < length) labels.push_back({place(peak.X / length, peak.Value), peak.Value});
}

// Draws the diagram; returns the largest magnitude drawn (0 when nothing was).
double DrawDiagrams(Canvas& c, const TModel& model, const TViewOptions& options,
                    const TViewState& view, const TForceResults& forces, double size,
                    std::vector<Label>& labels) {
    const int component = options.Diagram - 1;
    // The largest value comes from the values alone, and each frame's curve is made when it is
    // drawn: a large model's curves and geometry, kept, would take tens of megabytes.
    FrameCurves curves;
    std::vector<Station> stations;
    const size_t frameSlots = FrameSlots(forces);
    double largest = 0;
    for (size_t f = 1; f < frameSlots; ++f)
        largest = std::max(largest, LargestOf(forces, component, f));
    if (largest == 0 || !(size > 0)) return largest;
    const double scale = kDiagramFraction * size * options.DiagramScale / largest;
    const Screen screen(view, c.Width(), c.Height());
    for (size_t f = 1; f < frameSlots; ++f) {
        if (!FrameCurve(model, forces, component, f, curves, stations)) continue;
        const TFrameGeometry& g = curves.Geometry;
        const Point2 a = screen.At(g.I), b = screen.At(g.J);
        const Vec3 along = DrawnAlong(g, component);
        const Point2 up = scale * screen.Along(along);
        size_t at = curves.First;
        for (int count : curves.Count) {
            DrawCurve(c, a, b, up, stations.data() + at, count);
            at += static_cast<size_t>(count);
        }
        const Point2 d = b - a;
        if (!options.DiagramValues || labels.size() >= kMaxLabels ||
            d.x * d.x + d.y * d.y < kDiagramLabelPixels * kDiagramLabelPixels)
            continue;
        FrameLabels(model, forces, curves, component, stations,
                    [&](double t, double value) { return a + t * d + value * up; }, labels);
    }
    return largest;
}

std::string StepText(int step, int envelopeSteps) {
    return step == kEnvelopeStep ? "envelope of " + text::FormatInt(envelopeSteps) + " steps"
                                 : "step " + text::FormatInt(step);
}

// The reaction of a support at the drawn step; of an envelope, the extreme of larger magnitude.
TReaction ReactionShown(const TResults& results, const TReactionEnvelope* envelope, size_t k) {
    if (envelope == nullptr) return results.Reactions.At(results.ReactionStep, k);
    TReaction r{};
    for (size_t c = 0; c < r.size(); ++c) {
        const TValueRange& range = envelope->Joints[k][c];
        r[c] = -range.Min > range.Max ? range.Min : range.Max;
    }
    return r;
}

// The forces of the supports as arrows pointing at their joints, each with its value.
void DrawReactions(QPainter& p, const TModel& model, const TViewState& view, int width,
                   int height, const TResults& results, double size) {
    const TReactionHistory& reactions = results.Reactions;
    const bool envelope = results.ReactionStep == kEnvelopeStep;
    if (!envelope && (results.ReactionStep < 1 || results.ReactionStep > reactions.Steps)) return;
    TReactionEnvelope env;
    if (envelope) env = EnvelopeOf(reactions);
    double largest = 0;
    for (size_t k = 0; k < reactions.Joints.size(); ++k) {
        const TReaction r = ReactionShown(results, envelope ? &env : nullptr, k);
        for (size_t c = 0; c < 3; ++c)
            largest = std::max(largest, std::abs(r[c]));
    }
    if (largest == 0 || !(size > 0)) return;
    const Screen screen(view, width, height);
    p.setPen(QPen(QColor::fromRgb(kArrow), 2));
    p.setFont(QFont(p.font().family(), kLabelPoints));
    for (size_t k = 0; k < reactions.Joints.size(); ++k) {
        Vec3 joint;
        if (!JointPlace(model, reactions.Joints[k], joint)) continue;
        const TReaction r = ReactionShown(results, envelope ? &env : nullptr, k);
        const Point2 head = screen.At(joint);
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(r[c]) < 1e-9 * largest) continue;
            Vec3 unit{};
            unit[c] = r[c] > 0 ? 1 : -1;
            Point2 d = screen.Along(unit);
            const double pixelsPerUnit = std::hypot(d.x, d.y);
            if (pixelsPerUnit == 0) continue; // seen end on
            d = (1 / pixelsPerUnit) * d;
            const double pixels = std::max(
                kArrowMinPixels, kDiagramFraction * size * std::abs(r[c]) / largest * pixelsPerUnit);
            const Point2 tail = head - pixels * d;
            p.drawLine(QPointF(tail.x, tail.y), QPointF(head.x, head.y));
            const Point2 side{-d.y, d.x};
            for (double s : {1.0, -1.0}) {
                const Point2 barb = head - kArrowHeadPixels * d + s * kArrowHeadPixels / 2 * side;
                p.drawLine(QPointF(barb.x, barb.y), QPointF(head.x, head.y));
            }
            p.drawText(QPointF(tail.x, tail.y), QString::fromStdString(ValueText(r[c])));
        }
    }
}

// Labels never cover one another (members meeting at a joint print their end values at the same
// place): a label that would overlap one already drawn moves a line down, then a line up, and is
// left out when both overlap too, or when what it overlaps says the same value.
void DrawLabels(QPainter& p, const std::vector<Label>& labels) {
    p.setFont(QFont(p.font().family(), kLabelPoints));
    const QFontMetricsF metrics(p.font());
    const double line = metrics.height();
    struct Drawn {
        QRectF box;
        QString text;
    };
    std::vector<Drawn> drawn;
    for (const Label& label : labels) {
        const QString text = QString::fromStdString(ValueText(label.value));
        const QPointF base(label.at.x + 2, label.at.y - 2);
        const QRectF box(base.x(), base.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                         line);
        bool same = false;
        const auto free = [&](const QRectF& r) {
            for (const Drawn& d : drawn)
                if (d.box.intersects(r)) {
                    same = same || d.text == text;
                    return false;
                }
            return true;
        };
        for (const double shift : {0.0, line, -line}) {
            if (!free(box.translated(0, shift))) {
                if (same) break;
                continue;
            }
            p.setPen(QColor::fromRgb(label.value >= 0 ? kPositiveLine : kNegativeLine));
            p.drawText(base + QPointF(0, shift), text);
            drawn.push_back({box.translated(0, shift), text});
            break;
        }
    }
}

void DrawLegend(QPainter& p, int imageHeight, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    p.setFont(QFont(p.font().family(), kLegendPoints));
    const QFontMetrics metrics = p.fontMetrics();
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(line)));
    const int height = metrics.height() * static_cast<int>(lines.size());
    const QRect box(kLegendMargin, imageHeight - height - 3 * kLegendMargin,
                    width + 2 * kLegendMargin, height + 2 * kLegendMargin);
    p.setPen(QColor::fromRgb(kBlack));
    p.setBrush(QColor::fromRgb(kWhite));
    p.drawRect(box);
    int y = box.top() + kLegendMargin + metrics.ascent();
    for (const std::string& line : lines) {
        p.drawText(box.left() + kLegendMargin, y, QString::fromStdString(line));
        y += metrics.height();
    }
}

} // namespace

bool DrawsCurvedFrames(const TResults& results, const TViewState& view) {
    return view.DisplacementScale != 0 && !results.Rotations.X.empty() && !results.Disp.X.empty();
}

void DrawCurvedFrames(Canvas& c, const TModel& model, const TViewState& view,
                      const TResults& results) {
    const ViewProjector project(view, c.Width(), c.Height());
    const TNodeField& u = results.Disp;
    const TNodeField& r = results.Rotations;
    const auto motion = [&](int joint) {
        TJointMotion m;
        const auto k = static_cast<size_t>(joint);
        if (k < u.X.size() && k < u.Y.size() && k < u.Z.size()) m.U = {u.X[k], u.Y[k], u.Z[k]};
        if (k < r.X.size() && k < r.Y.size() && k < r.Z.size()) m.R = {r.X[k], r.Y[k], r.Z[k]};
        return m;
    };
    std::array<Vec3, kCurvePoints> points;
    const int last = LastRecord(model.Frames, model.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const int type = FrameTypeOf(model, f);
        const TFrameGeometry g = FrameGeometryOf(model, f);
        if (type == kRigidBeam || !g.Valid) continue;
        const TFRAME& frame = model.Frames[static_cast<size_t>(f)];
        // A frame whose section is not in the model is drawn black, as the straight layer does.
        const uint32_t color =
            type == 0 ? 0 : model.Sections[static_cast<size_t>(frame.SecIdx)].Color;
        c.SetPen(qRgb(ColorRed(color), ColorGreen(color), ColorBlue(color)), kFramePen);
        CurvedFrame(g, motion(frame.NodeI), motion(frame.NodeJ), view.DisplacementScale,
                    IsBeamColumn(type), kCurvePoints, points.data());
        int x0 = 0, y0 = 0;
        project(points[0][0], points[0][1], points[0][2], x0, y0);
        for (int k = 1; k < kCurvePoints; ++k) {
            int x1 = 0, y1 = 0;
            const Vec3& q = points[static_cast<size_t>(k)];
            project(q[0], q[1], q[2], x1, y1);
            c.Line(x0, y0, x1, y1);
            x0 = x1;
            y0 = y1;
        }
    }
}

void DrawResultLayers(Canvas& c, const TModel& model, const TViewOptions& options,
                      const TViewState& view, const TResults& results) {
    const bool diagram = options.Diagram >= 1 && options.Diagram <= kForceComponentCount &&
                         results.Forces.Loaded();
    const bool reactions = options.ShowReactions && results.Reactions.Steps > 0;
    if ((!diagram && !reactions) || !c.IsActive()) return;
    c.Flush(); // the model's layers lie beneath
    const double size = ModelSize(model);
    std::vector<Label> labels;
    std::vector<std::string> legend;
    if (diagram) {
        const int component = options.Diagram - 1;
        const TForceResults& forces = results.Forces;
        const double largest = DrawDiagrams(c, model, options, view, forces, size, labels);
        const std::string name(ForceComponentName(component));
        legend.push_back(name + " at " + StepText(forces.Step, forces.Envelope.Steps) + ": " +
                         std::string(ForceSignConvention(component)) + " (blue +, red -)");
        legend.push_back("Local axes: x from end I to end J, z along axis 2, y = z x x");
        legend.push_back("Largest |" + name + "| " + ValueText(largest));
    }
    QPainter& p = c.Painter();
    p.setFont(QFont()); // the application's font, not the canvas's last face
    DrawLabels(p, labels);
    if (reactions) {
        DrawReactions(p, model, view, c.Width(), c.Height(), results, size);
        const bool envelope = results.ReactionStep == kEnvelopeStep;
        legend.push_back("Reactions (green) at " +
                         StepText(results.ReactionStep, results.Reactions.Steps) +
                         (envelope ? ", the extreme of each" : ""));
    }
    DrawLegend(p, c.Height(), legend);
}

void DrawResultLayers(QImage& image, const TModel& model, const TViewOptions& options,
                      const TViewState& view, const TResults& results, DrawPath path) {
    Canvas c(image, path == DrawPath::Plain);
    DrawResultLayers(c, model, options, view, results);
}

} // namespace vandra

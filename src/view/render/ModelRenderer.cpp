#include "view/render/ModelRenderer.h"

#include "model/NumberText.h"
#include "view/render/Canvas.h"
#include "view/render/DeformedLayers.h"
#include "view/render/LineRaster.h"
#include "view/render/ResultLayers.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <string>
#include <utility>

namespace vandra {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kAxisGreen = qRgb(0, 128, 0);
constexpr QRgb kGrey = qRgb(128, 128, 128);
constexpr QRgb kLightGrey = qRgb(240, 240, 240);

const char* const kLogoFace = "Comic Sans MS";
const char* const kLogoText = "VANDRA Program";
constexpr int kLogoX = 8, kLogoY = 5;
constexpr int kLogoPoints = 14;
constexpr int kLabelPoints = 10;

constexpr int kFramePen = 2;
constexpr int kHighlightPen = 5;
constexpr int kSupportHalf = 5;
constexpr int kMarkHalf = 5;
constexpr int kMomentLineOffset = 15;
constexpr int kResultScaleBase = 10; // Palette[10 + k], k = 1..6
constexpr int kMaxRestraints = 6;

QRgb ToRgb(uint32_t packed) {
    return qRgb(ColorRed(packed), ColorGreen(packed), ColorBlue(packed));
}

QRgb PaletteRgb(int k) {
    return ToRgb(Palette[static_cast<size_t>(k)]);
}

// A section index outside its table reads as slot 0, which import never fills.
const TSECTION& SectionOf(const TModel& m, int idx) {
    static const TSECTION kEmpty;
    if (idx >= 0 && idx <= m.SectionCount && static_cast<size_t>(idx) < m.Sections.size())
        return m.Sections[static_cast<size_t>(idx)];
    return kEmpty;
}

const TAREASEC& AreaSecOf(const TModel& m, int idx) {
    static const TAREASEC kEmpty;
    if (idx >= 0 && idx <= m.AreaSecCount && static_cast<size_t>(idx) < m.AreaSecs.size())
        return m.AreaSecs[static_cast<size_t>(idx)];
    return kEmpty;
}

bool HasNode(const TModel& m, int n) {
    return IsRecord(m.Nodes, m.NodeCount, n);
}
const TNODE& NodeAt(const TModel& m, int n) {
    return m.Nodes[static_cast<size_t>(n)];
}
const TScreenPoint& At(const TProjection& p, int n) {
    return p.Nodes[static_cast<size_t>(n)];
}
const TFrameScreen& FrameAt(const TProjection& p, int f) {
    return p.Frames[static_cast<size_t>(f)];
}

bool FrameDrawable(const TModel& m, const TFRAME& f) {
    return HasNode(m, f.NodeI) && HasNode(m, f.NodeJ);
}

bool ShellDrawable(const TModel& m, const TSHELL& s) {
    return HasNode(m, s.N1) && HasNode(m, s.N2) && HasNode(m, s.N3) && HasNode(m, s.N4);
}

bool SolidDrawable(const TModel& m, const TSOLID& s) {
    for (size_t k = 1; k <= 8; ++k)
        if (!HasNode(m, s.N[k])) return false;
    return true;
}

std::string IndexText(int i) {
    return text::Format("%d", {i});
}

void DrawBackgroundAndLogo(Canvas& c) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(kWhite);
    c.SetPen(kBlack, 1);
    c.Rectangle(0, 0, c.Width(), c.Height());
    c.SetFontColor(kBlack);
    c.SetBrushStyle(BrushStyle::Clear);
    c.SetFontFace(QString::fromLatin1(kLogoFace));
    c.SetFontSize(kLogoPoints);
    c.TextOut(kLogoX, kLogoY, kLogoText);
}

void DrawNodes(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetBrushColor(kBlue);
    c.SetPenClear();
    c.SetBrushStyle(BrushStyle::Solid);
    const int last = LastRecord(m.Nodes, m.NodeCount);
    for (int i = 1; i <= last; ++i)
        c.NodeDot(At(p, i).X, At(p, i).Y);
}

void DrawSupports(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetPenClear();
    const int last = LastRecord(m.Nodes, m.NodeCount);
    for (int i = 1; i <= last; ++i) {
        const TNODE& n = NodeAt(m, i);
        int k = 0;
        for (size_t d = 1; d <= 6; ++d)
            k += n.Restraint[d];
        if (k <= 0) continue;
        if (k > kMaxRestraints) k = kMaxRestraints;
        c.SetBrushColor(PaletteRgb(k));
        const TScreenPoint& at = At(p, i);
        c.Rectangle(at.X - kSupportHalf, at.Y - kSupportHalf, at.X + kSupportHalf,
                    at.Y + kSupportHalf);
    }
}

// The frames as straight lines (`lines`; else only the selected frame's highlight).
void DrawFrames(Canvas& c, const TModel& m, const TProjection& p, int selected, bool lines) {
    const int last = lines ? LastRecord(m.Frames, m.FrameCount) : 0;
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        c.SetPen(ToRgb(sec.Color), kFramePen);
        if (sec.FrameType == kRigidBeam || !FrameDrawable(m, fr)) continue;
        const TScreenPoint& ni = At(p, fr.NodeI);
        const TScreenPoint& nj = At(p, fr.NodeJ);
        c.Line(ni.X, ni.Y, nj.X, nj.Y);
    }
    if (selected == 0 || !IsRecord(m.Frames, m.FrameCount, selected)) return;
    const TFRAME& fr = m.Frames[static_cast<size_t>(selected)];
    if (!FrameDrawable(m, fr)) return;
    c.SetPen(kYellow, kHighlightPen);
    c.Line(At(p, fr.NodeI).X, At(p, fr.NodeI).Y, At(p, fr.NodeJ).X, At(p, fr.NodeJ).Y);
}

// The frame lines of an animation step, written straight into the pixels (the painter's wide
// lines are too slow for a tick of a large model).
void DrawFramesDirect(QImage& image, const TModel& m, const TProjection& p) {
    LineRaster raster(image);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        if (sec.FrameType == kRigidBeam || !FrameDrawable(m, fr)) continue;
        const TScreenPoint& ni = At(p, fr.NodeI);
        const TScreenPoint& nj = At(p, fr.NodeJ);
        raster.Line(ni.X, ni.Y, nj.X, nj.Y, ToRgb(sec.Color));
    }
}

void StartLabels(Canvas& c, QRgb cell) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(cell);
    c.SetFontColor(kBlack);
    c.SetFontSize(kLabelPoints);
}

void DrawNodeLabels(Canvas& c, const TModel& m, const TProjection& p) {
    StartLabels(c, kYellow);
    const int last = LastRecord(m.Nodes, m.NodeCount);
    for (int i = 1; i <= last; ++i)
        c.TextOut(At(p, i).X, At(p, i).Y, IndexText(i));
}

void DrawFrameLabels(Canvas& c, const TModel& m, const TProjection& p) {
    StartLabels(c, kGreen);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (!FrameDrawable(m, fr)) continue;
        const TScreenPoint& ni = At(p, fr.NodeI);
        const TScreenPoint& nj = At(p, fr.NodeJ);
        c.TextOut(RoundPixel((static_cast<double>(ni.X) + nj.X) / 2),
                  RoundPixel((static_cast<double>(ni.Y) + nj.Y) / 2), IndexText(f));
    }
}

void DrawFrameAxes(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetPen(kAxisGreen, 1);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (!FrameDrawable(m, fr)) continue;
        const TFrameScreen& at = FrameAt(p, f);
        c.Line(at.Mid.X, at.Mid.Y, at.Axis.X, at.Axis.Y);
    }
}

void DrawDiaphragms(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetPen(kGrey, 1);
    const int last = LastRecord(m.Diaphs, m.DiaphCount);
    for (int d = 1; d <= last; ++d) {
        const TDIAPH& dia = m.Diaphs[static_cast<size_t>(d)];
        if (!HasNode(m, dia.Master)) continue;
        const TScreenPoint& master = At(p, dia.Master);
        const int slaves = LastRecord(dia.DiaNodes, dia.SlaveCount);
        for (int s = 1; s <= slaves; ++s) {
            const int n = dia.DiaNodes[static_cast<size_t>(s)];
            if (HasNode(m, n)) c.Line(master.X, master.Y, At(p, n).X, At(p, n).Y);
        }
    }
}

// Colour step 1..6 of a frame end result. An empty range (ResultMax equal to ResultMin) draws
// the middle step.
int ResultStep(double value, const TResults& r) {
    return ResultColourStep(value, r);
}

// One frame end's circle, or none when results are loaded and that end has no value.
bool EndValue(const std::vector<double>& values, const std::vector<unsigned char>& has, int f,
              double& value) {
    value = 0;
    if (values.empty()) return true; // nothing loaded: every end shows 0
    const auto k = static_cast<size_t>(f);
    if (k >= values.size() || k >= has.size() || !has[k]) return false;
    value = values[k];
    return true;
}

void DrawHingeCircles(Canvas& c, const TModel& m, const TProjection& p, const TResults& results) {
    c.SetPen(kBlack, 1);
    c.SetBrushStyle(BrushStyle::Solid);
    const int last = LastRecord(m.Frames, m.FrameCount);
    double value = 0;
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (!FrameDrawable(m, fr)) continue;
        const TFrameScreen& at = FrameAt(p, f);
        if (EndValue(results.Ends.I, results.Ends.HasI, f, value)) {
            c.SetBrushColor(PaletteRgb(kResultScaleBase + ResultStep(value, results)));
            c.Ellipse(at.EndI.X - kMarkHalf, at.EndI.Y - kMarkHalf, at.EndI.X + kMarkHalf,
                      at.EndI.Y + kMarkHalf);
        }
        if (EndValue(results.Ends.J, results.Ends.HasJ, f, value)) {
            c.SetBrushColor(PaletteRgb(kResultScaleBase + ResultStep(value, results)));
            c.Ellipse(at.EndJ.X - kMarkHalf, at.EndJ.Y - kMarkHalf, at.EndJ.X + kMarkHalf,
                      at.EndJ.Y + kMarkHalf);
        }
    }
}

TNodeOffsets OffsetsOf(const TNodeField& disp) {
    const size_t count = std::min({disp.X.size(), disp.Y.size(), disp.Z.size()});
    if (count == 0) return {};
    return TNodeOffsets{disp.X.data(), disp.Y.data(), disp.Z.data(), count};
}

bool IsShellKind(const TModel& m, const TSHELL& sh) {
    return AreaSecOf(m, sh.SecIdx).ShellKind == 1;
}

void DrawShells(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetPen(kBlack, 1);
    c.SetBrushStyle(BrushStyle::DiagCross);
    const int last = LastRecord(m.Shells, m.ShellCount);
    for (int i = 1; i <= last; ++i) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(i)];
        if (!IsShellKind(m, sh) || !ShellDrawable(m, sh)) continue;
        c.SetBrushColor(ToRgb(AreaSecOf(m, sh.SecIdx).Color));
        const QPoint corners[4] = {{At(p, sh.N1).X, At(p, sh.N1).Y},
                                   {At(p, sh.N2).X, At(p, sh.N2).Y},
                                   {At(p, sh.N3).X, At(p, sh.N3).Y},
                                   {At(p, sh.N4).X, At(p, sh.N4).Y}};
        c.Polygon(corners, 4);
    }
    c.SetBrushStyle(BrushStyle::Solid);
}

void DrawShellLabels(Canvas& c, const TModel& m, const TProjection& p) {
    StartLabels(c, kGrey);
    const int last = LastRecord(m.Shells, m.ShellCount);
    for (int i = 1; i <= last; ++i) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(i)];
        if (!IsShellKind(m, sh) || !ShellDrawable(m, sh)) continue;
        double sx = 0, sy = 0;
        for (int n : {sh.N1, sh.N2, sh.N3, sh.N4}) {
            sx += At(p, n).X;
            sy += At(p, n).Y;
        }
        c.TextOut(RoundPixel(sx / 4), RoundPixel(sy / 4), IndexText(i));
    }
}

void DrawMomentReleases(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(kRed);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        c.SetPen(ToRgb(sec.Color), kFramePen);
        if (sec.FrameType != kRigidBeam || !FrameDrawable(m, fr)) continue;
        const int cx = (At(p, fr.NodeI).X + At(p, fr.NodeJ).X) / 2;
        const int cy = (At(p, fr.NodeI).Y + At(p, fr.NodeJ).Y) / 2;
        c.Ellipse(cx - kMarkHalf, cy - kMarkHalf, cx + kMarkHalf, cy + kMarkHalf);
    }
}

void DrawSolids(Canvas& c, const TModel& m, const TProjection& p) {
    c.SetPen(kBlack, 1);
    // The two outlines N1-N2-N3-N4 and N5-N6-N7-N8, then the four edges between them.
    static constexpr int kEdges[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7},
                                          {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
    const int last = LastRecord(m.Solids, m.SolidCount);
    for (int i = 1; i <= last; ++i) {
        const TSOLID& so = m.Solids[static_cast<size_t>(i)];
        if (!SolidDrawable(m, so)) continue;
        for (const auto& e : kEdges) {
            const TScreenPoint& a = At(p, so.N[static_cast<size_t>(e[0])]);
            const TScreenPoint& b = At(p, so.N[static_cast<size_t>(e[1])]);
            c.Line(a.X, a.Y, b.X, b.Y);
        }
    }
}

void DrawSolidLabels(Canvas& c, const TModel& m, const TProjection& p) {
    StartLabels(c, kGrey);
    const int last = LastRecord(m.Solids, m.SolidCount);
    for (int i = 1; i <= last; ++i) {
        const TSOLID& so = m.Solids[static_cast<size_t>(i)];
        if (!SolidDrawable(m, so)) continue;
        double sx = 0, sy = 0;
        for (size_t k = 1; k <= 8; ++k) {
            sx += At(p, so.N[k]).X;
            sy += At(p, so.N[k]).Y;
        }
        c.TextOut(RoundPixel(sx / 8), RoundPixel(sy / 8), IndexText(i));
    }
}

void DrawLoadLabels(Canvas& c, const TModel& m, const TProjection& p, const TViewOptions& s) {
    const int shown = s.ShownLoadCase;
    if (!IsRecord(m.LoadCaseNames, m.LoadCaseCount, shown)) return;
    const int last = LastRecord(m.Loads, m.LoadCount);
    if (s.ShownLoadType == kShowPointForces) {
        StartLabels(c, kLightGrey);
        for (int i = 1; i <= last; ++i) {
            const TLOAD& l = m.Loads[static_cast<size_t>(i)];
            if (l.Kind != kJointForce || l.CaseIdx != shown || !HasNode(m, l.Target)) continue;
            const TScreenPoint& n = At(p, l.Target);
            c.TextOut(n.X, n.Y,
                      text::Format("%0.0f,%0.0f,%0.0f", {l.FX / 1000, l.FY / 1000, l.FZ / 1000}));
            c.TextOut(n.X, n.Y + kMomentLineOffset,
                      text::Format("%0.0f,%0.0f,%0.0f",
                                   {l.MX / 1000000, l.MY / 1000000, l.MZ / 1000000}));
        }
    } else if (s.ShownLoadType == kShowElementLoads) {
        StartLabels(c, kYellow);
        for (int i = 1; i <= last; ++i) {
            const TLOAD& l = m.Loads[static_cast<size_t>(i)];
            if (l.Kind != kFrameDistributed || l.CaseIdx != shown ||
                !IsRecord(m.Frames, m.FrameCount, l.Target))
                continue;
            const TFRAME& fr = m.Frames[static_cast<size_t>(l.Target)];
            if (!FrameDrawable(m, fr)) continue;
            const TScreenPoint& mid = FrameAt(p, l.Target).Mid;
            c.TextOut(mid.X, mid.Y, text::Format("%D,%0.2F", {l.Dir, l.FX}));
        }
    }
}

// Every layer of the model that the view options switch on, then the load labels.
void DrawModelLayers(Canvas& c, const TModel& model, const TViewOptions& options,
                     const TViewState& view, int SelectedFrame, const TResults& results,
                     const TProjection& p) {
    if (!c.IsActive()) return;
    DrawBackgroundAndLogo(c);
    if (ShowsDeformation(results, view)) DrawUndeformedFrames(c, model, view);
    const auto& opt = options.ViewOpt;
    if (opt[kOptNode]) DrawNodes(c, model, p);
    if (opt[kOptNodeSupport]) DrawSupports(c, model, p);
    if (opt[kOptFrame] && DrawsCurvedFrames(results, view)) {
        DrawCurvedFrames(c, model, view, results);
        DrawFrames(c, model, p, SelectedFrame, false);
    } else if (opt[kOptFrame]) {
        DrawFrames(c, model, p, SelectedFrame, true);
    }
    if (opt[kOptFrame] && results.Ends.Any) DrawSectionValuesAlong(c, model, p, results);
    if (opt[kOptNodeLabels]) DrawNodeLabels(c, model, p);
    if (opt[kOptFrameLabels]) DrawFrameLabels(c, model, p);
    if (opt[kOptFrameAxis]) DrawFrameAxes(c, model, p);
    if (opt[kOptDiaphragms]) DrawDiaphragms(c, model, p);
    if (opt[kOptHingeCircle]) DrawHingeCircles(c, model, p, results);
    if (opt[kOptShellElement]) DrawShells(c, model, p);
    if (opt[kOptShellLabels]) DrawShellLabels(c, model, p);
    if (opt[kOptMomentRelease]) DrawMomentReleases(c, model, p);
    if (opt[kOptSolidElement]) DrawSolids(c, model, p);
    if (opt[kOptSolidLabel]) DrawSolidLabels(c, model, p);
    if (options.ShownLoadCase != 0) DrawLoadLabels(c, model, p, options);
}

} // namespace

void RedrawModel(QImage& image, const TModel& model, const TViewOptions& options,
                 const TViewState& view, int SelectedFrame, const TResults& results,
                 TProjection& projection, DrawPath path) {
    ProjectModel(model, view, image.width(), image.height(), OffsetsOf(results.Disp), projection);
    {
        Canvas c(image, path == DrawPath::Plain);
        if (!c.IsActive()) return;
        DrawModelLayers(c, model, options, view, SelectedFrame, results, projection);
        DrawResultLayers(c, model, options, view, results);
    }
    if (!options.ResultLegend) return;
    QPainter painter(&image);
    DrawDeformationLegend(painter, image.width(), model, results, view);
}

void PaintModel(QPainter& painter, int width, int height, const TModel& model,
                const TViewOptions& options, const TViewState& view, int SelectedFrame,
                const TResults& results) {
    TProjection projection;
    ProjectModel(model, view, width, height, OffsetsOf(results.Disp), projection);
    {
        Canvas c(painter, width, height);
        DrawModelLayers(c, model, options, view, SelectedFrame, results, projection);
        DrawResultLayers(c, model, options, view, results);
    }
    if (options.ResultLegend) DrawDeformationLegend(painter, width, model, results, view);
}

Picture ModelViewPicture(const TModel& model, const TViewOptions& options, const TViewState& view,
                         int SelectedFrame, const TResults& results, int width, int height,
                         std::string title) {
    Picture picture{width, height, {}, std::move(title), {}};
    picture.Paint = [&model, &options, view, SelectedFrame, &results, width,
                     height](QPainter& painter) {
        if (painter.device()->devType() == QInternal::Image) {
            QImage image(width, height, QImage::Format_RGB32);
            RedrawModel(image, model, options, view, SelectedFrame, results);
            painter.drawImage(0, 0, image);
            return;
        }
        painter.translate(0.5, 0.5);
        PaintModel(painter, width, height, model, options, view, SelectedFrame, results);
    };
    return picture;
}

TProjection RedrawModel(QImage& image, const TModel& model, const TViewOptions& options,
                        const TViewState& view, int SelectedFrame, const TResults& results,
                        DrawPath path) {
    TProjection projection;
    RedrawModel(image, model, options, view, SelectedFrame, results, projection, path);
    return projection;
}

void RedrawAnimationFrame(QImage& image, const TModel& model, const TViewState& view,
                          const TNodeHistory& history, int step, TProjection& projection,
                          DrawPath path) {
    TNodeOffsets offsets;
    if (step >= 1 && step <= history.Steps &&
        std::min({history.X.size(), history.Y.size(), history.Z.size()}) >=
            static_cast<size_t>(step) * history.Stride)
        offsets = TNodeOffsets{history.StepX(step), history.StepY(step), history.StepZ(step),
                               history.Stride};
    ProjectNodes(model, view, image.width(), image.height(), offsets, projection);
    const TProjection& p = projection;
    const bool direct = path == DrawPath::Fast && LineRaster(image).IsUsable();
    {
        Canvas c(image, path == DrawPath::Plain);
        if (!c.IsActive()) return;
        DrawBackgroundAndLogo(c);
        DrawNodes(c, model, p);
        DrawSupports(c, model, p);
        if (!direct) DrawFrames(c, model, p, 0, true);
    }
    if (direct) DrawFramesDirect(image, model, p);
}

} // namespace vandra

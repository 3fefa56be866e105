#include "view/render/ModelRenderer.h"

#include "model/NumberText.h"
#include "view/render/Canvas.h"
#include "view/render/LineRaster.h"

#include <algorithm>
#include <string>

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
constexpr int kResultSteps = 6;
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

void DrawNodes(Canvas& c, const TModel& m) {
    c.SetBrushColor(kBlue);
    c.SetPenClear();
    c.SetBrushStyle(BrushStyle::Solid);
    const int last = LastRecord(m.Nodes, m.NodeCount);
    for (int i = 1; i <= last; ++i)
        c.NodeDot(NodeAt(m, i).ScreenX, NodeAt(m, i).ScreenY);
}

void DrawSupports(Canvas& c, const TModel& m) {
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
        c.Rectangle(n.ScreenX - kSupportHalf, n.ScreenY - kSupportHalf, n.ScreenX + kSupportHalf,
                    n.ScreenY + kSupportHalf);
    }
}

void DrawFrames(Canvas& c, const TModel& m, int selected) {
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        c.SetPen(ToRgb(sec.Color), kFramePen);
        if (sec.FrameType == kRigidBeam || !FrameDrawable(m, fr)) continue;
        const TNODE& ni = NodeAt(m, fr.NodeI);
        const TNODE& nj = NodeAt(m, fr.NodeJ);
        c.Line(ni.ScreenX, ni.ScreenY, nj.ScreenX, nj.ScreenY);
    }
    if (selected == 0 || !IsRecord(m.Frames, m.FrameCount, selected)) return;
    const TFRAME& fr = m.Frames[static_cast<size_t>(selected)];
    if (!FrameDrawable(m, fr)) return;
    c.SetPen(kYellow, kHighlightPen);
    c.Line(NodeAt(m, fr.NodeI).ScreenX, NodeAt(m, fr.NodeI).ScreenY, NodeAt(m, fr.NodeJ).ScreenX,
           NodeAt(m, fr.NodeJ).ScreenY);
}

// The frame lines of an animation step, written straight into the pixels (the painter's wide
// lines are too slow for a tick of a large model).
void DrawFramesDirect(QImage& image, const TModel& m) {
    LineRaster raster(image);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        if (sec.FrameType == kRigidBeam || !FrameDrawable(m, fr)) continue;
        const TNODE& ni = NodeAt(m, fr.NodeI);
        const TNODE& nj = NodeAt(m, fr.NodeJ);
        raster.Line(ni.ScreenX, ni.ScreenY, nj.ScreenX, nj.ScreenY, ToRgb(sec.Color));
    }
}

void StartLabels(Canvas& c, QRgb cell) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(cell);
    c.SetFontColor(kBlack);
    c.SetFontSize(kLabelPoints);
}

void DrawNodeLabels(Canvas& c, const TModel& m) {
    StartLabels(c, kYellow);
    const int last = LastRecord(m.Nodes, m.NodeCount);
    for (int i = 1; i <= last; ++i)
        c.TextOut(NodeAt(m, i).ScreenX, NodeAt(m, i).ScreenY, IndexText(i));
}

void DrawFrameLabels(Canvas& c, const TModel& m) {
    StartLabels(c, kGreen);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (!FrameDrawable(m, fr)) continue;
        const TNODE& ni = NodeAt(m, fr.NodeI);
        const TNODE& nj = NodeAt(m, fr.NodeJ);
        c.TextOut(RoundPixel((static_cast<double>(ni.ScreenX) + nj.ScreenX) / 2),
                  RoundPixel((static_cast<double>(ni.ScreenY) + nj.ScreenY) / 2), IndexText(f));
    }
}

void DrawFrameAxes(Canvas& c, const TModel& m) {
    c.SetPen(kAxisGreen, 1);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (FrameDrawable(m, fr)) c.Line(fr.ScrMidX, fr.ScrMidY, fr.ScrAxisX, fr.ScrAxisY);
    }
}

void DrawDiaphragms(Canvas& c, const TModel& m) {
    c.SetPen(kGrey, 1);
    const int last = LastRecord(m.Diaphs, m.DiaphCount);
    for (int d = 1; d <= last; ++d) {
        const TDIAPH& dia = m.Diaphs[static_cast<size_t>(d)];
        if (!HasNode(m, dia.Master)) continue;
        const TNODE& master = NodeAt(m, dia.Master);
        const int slaves = LastRecord(dia.DiaNodes, dia.SlaveCount);
        for (int s = 1; s <= slaves; ++s) {
            const int n = dia.DiaNodes[static_cast<size_t>(s)];
            if (HasNode(m, n))
                c.Line(master.ScreenX, master.ScreenY, NodeAt(m, n).ScreenX, NodeAt(m, n).ScreenY);
        }
    }
}

// Colour step 1..6 of a frame end result. An empty range (ResultMax equal to ResultMin) draws
// the middle step.
int ResultStep(double value, const TSettings& s) {
    const double range = s.ResultMax - s.ResultMin;
    if (range == 0) return 3;
    int k = RoundPixel((value - s.ResultMin) / range * kResultSteps);
    if (k >= kResultSteps) k = kResultSteps;
    if (k <= 1) k = 1;
    return k;
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

void DrawHingeCircles(Canvas& c, const TModel& m, const TSettings& s, const TFrameEnds& ends) {
    c.SetPen(kBlack, 1);
    c.SetBrushStyle(BrushStyle::Solid);
    const int last = LastRecord(m.Frames, m.FrameCount);
    double value = 0;
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        if (!FrameDrawable(m, fr)) continue;
        if (EndValue(ends.I, ends.HasI, f, value)) {
            c.SetBrushColor(PaletteRgb(kResultScaleBase + ResultStep(value, s)));
            c.Ellipse(fr.ScrEndIX - kMarkHalf, fr.ScrEndIY - kMarkHalf, fr.ScrEndIX + kMarkHalf,
                      fr.ScrEndIY + kMarkHalf);
        }
        if (EndValue(ends.J, ends.HasJ, f, value)) {
            c.SetBrushColor(PaletteRgb(kResultScaleBase + ResultStep(value, s)));
            c.Ellipse(fr.ScrEndJX - kMarkHalf, fr.ScrEndJY - kMarkHalf, fr.ScrEndJX + kMarkHalf,
                      fr.ScrEndJY + kMarkHalf);
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

void DrawShells(Canvas& c, const TModel& m) {
    c.SetPen(kBlack, 1);
    c.SetBrushStyle(BrushStyle::DiagCross);
    const int last = LastRecord(m.Shells, m.ShellCount);
    for (int i = 1; i <= last; ++i) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(i)];
        if (!IsShellKind(m, sh) || !ShellDrawable(m, sh)) continue;
        c.SetBrushColor(ToRgb(AreaSecOf(m, sh.SecIdx).Color));
        const QPoint corners[4] = {{NodeAt(m, sh.N1).ScreenX, NodeAt(m, sh.N1).ScreenY},
                                   {NodeAt(m, sh.N2).ScreenX, NodeAt(m, sh.N2).ScreenY},
                                   {NodeAt(m, sh.N3).ScreenX, NodeAt(m, sh.N3).ScreenY},
                                   {NodeAt(m, sh.N4).ScreenX, NodeAt(m, sh.N4).ScreenY}};
        c.Polygon(corners, 4);
    }
    c.SetBrushStyle(BrushStyle::Solid);
}

void DrawShellLabels(Canvas& c, const TModel& m) {
    StartLabels(c, kGrey);
    const int last = LastRecord(m.Shells, m.ShellCount);
    for (int i = 1; i <= last; ++i) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(i)];
        if (!IsShellKind(m, sh) || !ShellDrawable(m, sh)) continue;
        double sx = 0, sy = 0;
        for (int n : {sh.N1, sh.N2, sh.N3, sh.N4}) {
            sx += NodeAt(m, n).ScreenX;
            sy += NodeAt(m, n).ScreenY;
        }
        c.TextOut(RoundPixel(sx / 4), RoundPixel(sy / 4), IndexText(i));
    }
}

void DrawMomentReleases(Canvas& c, const TModel& m) {
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(kRed);
    const int last = LastRecord(m.Frames, m.FrameCount);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        const TSECTION& sec = SectionOf(m, fr.SecIdx);
        c.SetPen(ToRgb(sec.Color), kFramePen);
        if (sec.FrameType != kRigidBeam || !FrameDrawable(m, fr)) continue;
        const int cx = (NodeAt(m, fr.NodeI).ScreenX + NodeAt(m, fr.NodeJ).ScreenX) / 2;
        const int cy = (NodeAt(m, fr.NodeI).ScreenY + NodeAt(m, fr.NodeJ).ScreenY) / 2;
        c.Ellipse(cx - kMarkHalf, cy - kMarkHalf, cx + kMarkHalf, cy + kMarkHalf);
    }
}

void DrawSolids(Canvas& c, const TModel& m) {
    c.SetPen(kBlack, 1);
    // The two outlines N1-N2-N3-N4 and N5-N6-N7-N8, then the four edges between them.
    static constexpr int kEdges[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7},
                                          {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
    const int last = LastRecord(m.Solids, m.SolidCount);
    for (int i = 1; i <= last; ++i) {
        const TSOLID& so = m.Solids[static_cast<size_t>(i)];
        if (!SolidDrawable(m, so)) continue;
        for (const auto& e : kEdges) {
            const TNODE& a = NodeAt(m, so.N[static_cast<size_t>(e[0])]);
            const TNODE& b = NodeAt(m, so.N[static_cast<size_t>(e[1])]);
            c.Line(a.ScreenX, a.ScreenY, b.ScreenX, b.ScreenY);
        }
    }
}

void DrawSolidLabels(Canvas& c, const TModel& m) {
    StartLabels(c, kGrey);
    const int last = LastRecord(m.Solids, m.SolidCount);
    for (int i = 1; i <= last; ++i) {
        const TSOLID& so = m.Solids[static_cast<size_t>(i)];
        if (!SolidDrawable(m, so)) continue;
        double sx = 0, sy = 0;
        for (size_t k = 1; k <= 8; ++k) {
            sx += NodeAt(m, so.N[k]).ScreenX;
            sy += NodeAt(m, so.N[k]).ScreenY;
        }
        c.TextOut(RoundPixel(sx / 8), RoundPixel(sy / 8), IndexText(i));
    }
}

void DrawLoadLabels(Canvas& c, const TModel& m, const TSettings& s) {
    const int shown = s.ShownLoadCase;
    if (!IsRecord(m.LoadCaseNames, m.LoadCaseCount, shown)) return;
    const int last = LastRecord(m.Loads, m.LoadCount);
    if (s.ShownLoadType == kShowPointForces) {
        StartLabels(c, kLightGrey);
        for (int i = 1; i <= last; ++i) {
            const TLOAD& l = m.Loads[static_cast<size_t>(i)];
            if (l.Kind != kJointForce || l.CaseIdx != shown || !HasNode(m, l.Target)) continue;
            const TNODE& n = NodeAt(m, l.Target);
            c.TextOut(n.ScreenX, n.ScreenY,
                      text::Format("%0.0f,%0.0f,%0.0f", {l.FX / 1000, l.FY / 1000, l.FZ / 1000}));
            c.TextOut(n.ScreenX, n.ScreenY + kMomentLineOffset,
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
            c.TextOut(fr.ScrMidX, fr.ScrMidY, text::Format("%D,%0.2F", {l.Dir, l.FX}));
        }
    }
}

} // namespace

void RedrawModel(QImage& image, TModel& model, const TSettings& settings, const TViewState& view,
                 int SelectedFrame, const TResults& results, DrawPath path) {
    ProjectModel(model, view, image.width(), image.height(), OffsetsOf(results.Disp));
    Canvas c(image, path == DrawPath::Plain);
    if (!c.IsActive()) return;
    DrawBackgroundAndLogo(c);
    const auto& opt = settings.ViewOpt;
    if (opt[kOptNode]) DrawNodes(c, model);
    if (opt[kOptNodeSupport]) DrawSupports(c, model);
    if (opt[kOptFrame]) DrawFrames(c, model, SelectedFrame);
    if (opt[kOptNodeLabels]) DrawNodeLabels(c, model);
    if (opt[kOptFrameLabels]) DrawFrameLabels(c, model);
    if (opt[kOptFrameAxis]) DrawFrameAxes(c, model);
    if (opt[kOptDiaphragms]) DrawDiaphragms(c, model);
    if (opt[kOptHingeCircle]) DrawHingeCircles(c, model, settings, results.Ends);
    if (opt[kOptShellElement]) DrawShells(c, model);
    if (opt[kOptShellLabels]) DrawShellLabels(c, model);
    if (opt[kOptMomentRelease]) DrawMomentReleases(c, model);
    if (opt[kOptSolidElement]) DrawSolids(c, model);
    if (opt[kOptSolidLabel]) DrawSolidLabels(c, model);
    if (settings.ShownLoadCase != 0) DrawLoadLabels(c, model, settings);
}

void RedrawModel(QImage& image, TModel& model, const TSettings& settings, const TViewState& view,
                 int SelectedFrame, DrawPath path) {
    static const TResults kNone;
    RedrawModel(image, model, settings, view, SelectedFrame, kNone, path);
}

void RedrawAnimationFrame(QImage& image, TModel& model, const TViewState& view,
                          const TNodeHistory& history, int step, DrawPath path) {
    TNodeOffsets offsets;
    if (step >= 1 && step <= history.Steps &&
        std::min({history.X.size(), history.Y.size(), history.Z.size()}) >=
            static_cast<size_t>(step) * history.Stride)
        offsets = TNodeOffsets{history.StepX(step), history.StepY(step), history.StepZ(step),
                               history.Stride};
    ProjectNodes(model, view, image.width(), image.height(), offsets);
    const bool direct = path == DrawPath::Fast && LineRaster(image).IsUsable();
    {
        Canvas c(image, path == DrawPath::Plain);
        if (!c.IsActive()) return;
        DrawBackgroundAndLogo(c);
        DrawNodes(c, model);
        DrawSupports(c, model);
        if (!direct) DrawFrames(c, model, 0);
    }
    if (direct) DrawFramesDirect(image, model);
}

} // namespace vandra

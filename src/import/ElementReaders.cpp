// Readers of elements: FRAME, SHELL and SOLID, with each frame's local axis 2 and the joint
// links of rigid beams.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <unordered_map>

namespace vandra {

using s2k::CheckRange;
using s2k::ForEachDataLine;
using s2k::MisplacedKey;
using s2k::NameIndex;
using s2k::QuotedToken;
using s2k::RebuildTable;
using s2k::SectionWarnings;
using s2k::SharedNames;
using s2k::UnmatchedNames;

namespace {

double ClampUnit(double v) {
    return std::clamp(v, -1.0, 1.0);
}

bool SamePoint(const TModel& model, int a, int b) {
    const TNODE& p = model.Nodes[static_cast<size_t>(a)];
    const TNODE& q = model.Nodes[static_cast<size_t>(b)];
    return p.X == q.X && p.Y == q.Y && p.Z == q.Z;
}

// A frame joins two joints; two at one point are refused too, but for a rigid link, which ties
// two joints that stand together.
void CheckFrameJoints(const TModel& model, const TFRAME& frame, int record, int lineIndex) {
    if (frame.NodeI == frame.NodeJ)
        throw InputError(text::Format("Line %d: frame %d joins joint %d to itself",
                                      {lineIndex + 1, record, frame.NodeI}));
    const bool rigid = frame.SecIdx > 0 &&
                       model.Sections[static_cast<size_t>(frame.SecIdx)].FrameType == kRigidBeam;
    if (!rigid && SamePoint(model, frame.NodeI, frame.NodeJ))
        throw InputError(text::Format("Line %d: frame %d joins joints %d and %d, which stand at "
                                      "the same point; it would have no length",
                                      {lineIndex + 1, record, frame.NodeI, frame.NodeJ}));
}

// A shell's corners must stand at three points at least (a triangle may repeat a corner); with
// fewer it has no area and the solver fails on it.
void CheckShellCorners(const TModel& model, const TSHELL& shell, int record, int lineIndex) {
    const int corners[4] = {shell.N1, shell.N2, shell.N3, shell.N4};
    int points = 0;
    for (int a = 0; a < 4; ++a) {
        bool seen = false;
        for (int b = 0; b < a && !seen; ++b)
            seen = SamePoint(model, corners[a], corners[b]);
        if (!seen) ++points;
    }
    if (points < 3)
        throw InputError(
            text::Format("Line %d: shell %d has its corners (joints %d, %d, %d, %d) "
                         "at fewer than three points; it would have no area",
                         {lineIndex + 1, record, shell.N1, shell.N2, shell.N4, shell.N3}));
}

} // namespace

// alpha is the plan angle of the frame axis (a vertical frame takes cos alpha = -1), beta its
// elevation, theta the frame's own angle; axis 2 = (sin a sin t - cos t sin b cos a,
// -cos t sin b sin a - cos a sin t, cos t cos b). A frame whose joints coincide has no axis: it
// gets (0, 0, 1), the axis 2 of a horizontal frame with angle 0.
Axis2 LocalAxis2(const TNODE& nodeI, const TNODE& nodeJ, double angleDegrees) {
    double dx = nodeJ.X - nodeI.X;
    double dy = nodeJ.Y - nodeI.Y;
    double dz = nodeJ.Z - nodeI.Z;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(dz)) {
        // Coordinates so large that their difference overflows: halve both, same direction.
        dx = nodeJ.X / 2 - nodeI.X / 2;
        dy = nodeJ.Y / 2 - nodeI.Y / 2;
        dz = nodeJ.Z / 2 - nodeI.Z / 2;
    }
    double h = std::sqrt(dx * dx + dy * dy);
    double length = std::sqrt(dz * dz + h * h);
    if (!std::isfinite(length)) {
        const double scale = std::max({std::fabs(dx), std::fabs(dy), std::fabs(dz)});
        dx /= scale;
        dy /= scale;
        dz /= scale;
        h = std::sqrt(dx * dx + dy * dy);
        length = std::sqrt(dz * dz + h * h);
    }
    if (length == 0) return {0, 0, 1};

    double s = 0;
    double c = -1;
    if (h > 0) {
        s = dy / h;
        c = dx / h;
    }
    constexpr double kPi = std::numbers::pi;
    const double alpha = s >= 0 ? std::acos(ClampUnit(c)) : 2 * kPi - std::acos(ClampUnit(c));
    const double cb = h / length;
    const double sb = dz / length;
    const double beta = sb >= 0 ? std::acos(ClampUnit(cb)) : 2 * kPi - std::acos(ClampUnit(cb));
    // A whole number of turns changes nothing; taking them off keeps a huge angle finite.
    const double theta = std::fmod(angleDegrees, 360.0) * kPi / 180;

    // sin 0 and cos 0 are exactly 0 and 1: most frames have no angle and need no more.
    const double sinTheta = theta == 0 ? 0.0 : std::sin(theta);
    const double cosTheta = theta == 0 ? 1.0 : std::cos(theta);
    Axis2 axis;
    axis.X = std::sin(alpha) * sinTheta - cosTheta * std::sin(beta) * std::cos(alpha);
    axis.Y = -cosTheta * std::sin(beta) * std::sin(alpha) - std::cos(alpha) * sinTheta;
    axis.Z = cosTheta * std::cos(beta);
    return axis;
}

// "  1  J=1,7  SEC=NCOL400  NSEG=2  ANG=0  IREL=R2,R3": joints T2, T3, section T5, T7 an integer,
// angle T9; IREL and JREL anywhere among T0..T19, the last one on the line deciding.
void ReadFrames(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kFrameKeyword);
    model.FrameCount = bounds.LineCount();
    RebuildTable(model.Frames, model.FrameCount);
    const NameIndex<TSECTION> sections(model.Sections, model.SectionCount);
    SharedNames names;
    UnmatchedNames unmatched;
    SectionWarnings keys(in, model, kFrameKeyword);
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kFrameKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        TFRAME& frame = model.Frames[static_cast<size_t>(++k)];
        if (std::string misplaced =
                MisplacedKey(t, {{1, "J"}, {4, "SEC"}, {6, "NSEG"}, {8, "ANG"}});
            !misplaced.empty())
            keys.Add(i, text::Format("frame %d: ", {k}) + misplaced,
                     "the line is read by position as it stands");
        frame.NodeI = parse::Integer(t[2]);
        frame.NodeJ = parse::Integer(t[3]);
        CheckRange(frame.NodeI, model.NodeCount, "joint", i);
        CheckRange(frame.NodeJ, model.NodeCount, "joint", i);
        frame.SecName = names.Of(t[5]);
        frame.Nseg = parse::Integer(t[7]);
        frame.SecIdx = sections.Find(frame.SecName);
        if (frame.SecIdx == 0) unmatched.Add(frame.SecName, i, k);
        CheckFrameJoints(model, frame, k, i);
        frame.Angle = parse::Float(t[9]);
        frame.Release = kNoRelease;
        for (int j = 0; j < 20; ++j) {
            if (t[j] == "JREL") frame.Release = kReleaseJ;
            if (t[j] == "IREL") frame.Release = kReleaseI;
        }
        const Axis2 axis = LocalAxis2(model.Nodes[static_cast<size_t>(frame.NodeI)],
                                      model.Nodes[static_cast<size_t>(frame.NodeJ)], frame.Angle);
        frame.Axis2X = axis.X;
        frame.Axis2Y = axis.Y;
        frame.Axis2Z = axis.Z;
    });
    keys.Finish("keys out of place");
    unmatched.Report(
        in, model, kFrameKeyword,
        [](const std::string& name, int record, int count) {
            return text::Format(
                "frame %d names section %s, which matches no frame section%s",
                {record, QuotedToken(name),
                 count == 1 ? std::string() : text::Format(" (%d frames in all)", {count})});
        },
        "no element is written for such a frame");
}

// "  1  J=1,2,4,5  SEC=WALL200": the file's joints 1, 2, 3, 4 become N1, N2, N4, N3, so that
// N1..N4 run round the element.
void ReadShells(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kShellKeyword);
    model.ShellCount = bounds.LineCount();
    RebuildTable(model.Shells, model.ShellCount);
    const NameIndex<TAREASEC> sections(model.AreaSecs, model.AreaSecCount);
    SharedNames names;
    UnmatchedNames unmatched;
    SectionWarnings keys(in, model, kShellKeyword);
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kShellKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        TSHELL& shell = model.Shells[static_cast<size_t>(++k)];
        if (std::string misplaced = MisplacedKey(t, {{1, "J"}, {6, "SEC"}}); !misplaced.empty())
            keys.Add(i, text::Format("shell %d: ", {k}) + misplaced,
                     "the line is read by position as it stands");
        shell.N1 = parse::Integer(t[2]);
        shell.N2 = parse::Integer(t[3]);
        shell.N4 = parse::Integer(t[4]);
        shell.N3 = parse::Integer(t[5]);
        for (int n : {shell.N1, shell.N2, shell.N3, shell.N4})
            CheckRange(n, model.NodeCount, "joint", i);
        CheckShellCorners(model, shell, k, i);
        shell.SecName = names.Of(t[7]);
        shell.SecIdx = sections.Find(shell.SecName);
        if (shell.SecIdx == 0) unmatched.Add(shell.SecName, i, k);
    });
    keys.Finish("keys out of place");
    unmatched.Report(
        in, model, kShellKeyword,
        [](const std::string& name, int record, int count) {
            return text::Format(
                "shell %d names section %s, which matches no shell section%s",
                {record, QuotedToken(name),
                 count == 1 ? std::string() : text::Format(" (%d shells in all)", {count})});
        },
        "no element is written for such a shell");
    model.ShellCount1 = 0;
    for (int s = 1; s <= model.ShellCount; ++s) {
        const int sec = model.Shells[static_cast<size_t>(s)].SecIdx;
        if (sec > 0 && model.AreaSecs[static_cast<size_t>(sec)].ShellKind == 1) ++model.ShellCount1;
    }
}

// "  1  J=1,2,3,4,5,6,7,8  SEC=100": the file's joints 1..8 become N[1..8] in the order
// 1, 2, 4, 3, 5, 6, 8, 7; SecNo is T11.
void ReadSolids(const S2kInput& in, TModel& model) {
    static constexpr int kTokenOfCorner[9] = {0, 2, 3, 5, 4, 6, 7, 9, 8};
    const SectionBounds bounds = in.Sections.Of(kSolidKeyword);
    model.SolidCount = bounds.LineCount();
    RebuildTable(model.Solids, model.SolidCount);
    SectionWarnings keys(in, model, kSolidKeyword);
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kSolidKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        TSOLID& solid = model.Solids[static_cast<size_t>(++k)];
        if (std::string misplaced = MisplacedKey(t, {{1, "J"}, {10, "SEC"}}); !misplaced.empty())
            keys.Add(i, text::Format("solid %d: ", {k}) + misplaced,
                     "the line is read by position as it stands");
        for (int c = 1; c <= 8; ++c) {
            const int n = parse::Integer(t[kTokenOfCorner[c]]);
            CheckRange(n, model.NodeCount, "joint", i);
            solid.N[static_cast<size_t>(c)] = n;
        }
        solid.SecNo = parse::Integer(t[11]);
    });
    keys.Finish("keys out of place");
}

// A rigid-beam frame with a JREL puts its I joint onto its J joint, one with an IREL its J joint
// onto its I joint; the script writes the linked joint at the other's coordinates.
void LinkRigidBeams(TModel& model) {
    for (int k = 1; k <= model.FrameCount; ++k) {
        const TFRAME& frame = model.Frames[static_cast<size_t>(k)];
        if (frame.SecIdx < 1 || frame.SecIdx > model.SectionCount) continue;
        if (model.Sections[static_cast<size_t>(frame.SecIdx)].FrameType != kRigidBeam) continue;
        if (frame.Release == kReleaseJ)
            model.Nodes[static_cast<size_t>(frame.NodeI)].LinkNode = frame.NodeJ;
        else if (frame.Release == kReleaseI)
            model.Nodes[static_cast<size_t>(frame.NodeJ)].LinkNode = frame.NodeI;
    }
}

} // namespace vandra

// Readers of materials and sections: MATERIAL, FRAME SECTION and SHELL SECTION.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <cmath>

namespace vandra {

using s2k::ForEachDataLine;
using s2k::MisplacedKey;
using s2k::NameIndex;
using s2k::QuotedToken;
using s2k::RebuildTable;
using s2k::SectionWarnings;
using s2k::UnmatchedNames;

namespace {

constexpr double kDefaultCoverMM = 35.0;
constexpr double kDefaultBarAreaMM2 = 1000.0;

// Shear modulus from E and the Poisson ratio; a ratio of -1 gives 0.
double ShearModulus(double e, double u, int lineIndex) {
    if (u == -1) return 0;
    const double g = e / 2 / (1 + u);
    if (!std::isfinite(g))
        throw InputError(
            text::Format("Line %d: the shear modulus E/2/(1+U) is outside the range of numbers",
                         {lineIndex + 1}));
    return g;
}

} // namespace

int FrameTypeOfName(std::string_view name) {
    if (name.empty()) return kElasticBeamColumn;
    switch (name.front()) {
    case 'E':
        return kElasticBeamColumn;
    case 'N':
        return kNonlinearBeamColumn;
    case 'D':
        return kDispBeamColumn;
    case 'H':
        return kBeamWithHinge;
    case 'T':
        return kTruss;
    case 'C':
        return kCorotTruss;
    case 'R':
        return kRigidBeam;
    default:
        return kElasticBeamColumn;
    }
}

// Two lines per material: "  NAME=CONC  IDES=C ..." and "    T=0  E=25000  U=0.2 ...". After
// every data line, the line that follows it is looked at for E at T3 and U at T5, and G is
// recomputed. NAME lines beyond (line count) / 2 are ignored. Each line is tokenized once: the
// tokens of the following line become the current ones at the next step.
void ReadMaterials(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kMaterialKeyword);
    const int lineCount = bounds.LineCount();
    model.MatCount = lineCount / 2; // an absent section (-1) gives 0
    RebuildTable(model.Mats, model.MatCount);
    SectionWarnings keys(in, model, kMaterialKeyword);
    SectionWarnings beyond(in, model, kMaterialKeyword);
    const int lastLine = static_cast<int>(in.Lines.size()) - 1;
    S2kTokens t;
    S2kTokens next;
    bool nextFilled = false;
    int k = 0;
    ForEachDataLine(in, kMaterialKeyword, [&](int i) {
        if (nextFilled)
            std::swap(t, next);
        else
            Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") {
            ++k;
            if (k <= model.MatCount) {
                TMAT& mat = model.Mats[static_cast<size_t>(k)];
                mat.Name = std::string(t[1]);
                mat.MatType = 1;
            } else {
                beyond.Add(i, "material " + QuotedToken(t[1]) + " is beyond the table",
                           "ignored: give each material a NAME line and one property line");
            }
        }
        nextFilled = false;
        if (k < 1 || k > model.MatCount) return;
        TMAT& mat = model.Mats[static_cast<size_t>(k)];
        Tokenize(i + 1 <= lastLine ? in.Lines[static_cast<size_t>(i + 1)] : std::string_view(),
                 next);
        nextFilled = i + 1 <= bounds.End - 1;
        if (t[0] == "NAME") {
            if (std::string misplaced = MisplacedKey(next, {{3, "E"}, {5, "U"}});
                !misplaced.empty())
                keys.Add(i + 1, "material " + QuotedToken(t[1]) + ": " + misplaced,
                         "a modulus or ratio not found at its place stays 0");
        }
        try {
            if (next[3] == "E") mat.E = parse::Float(next[4]);
            if (next[5] == "U") mat.U = parse::Float(next[6]);
        } catch (const ConversionError& e) {
            s2k::ThrowConversionAt(e, i + 1, kMaterialKeyword);
        }
        mat.G = ShearModulus(mat.E, mat.U, i + 1);
    });
    keys.Finish("keys out of place");
    beyond.Finish("materials beyond the table");
}

namespace {

// A dimension must be positive: a section of no size has no stiffness and the solver fails on it.
void CheckPositive(double value, int lineIndex, std::string_view keyword, const std::string& what) {
    if (!(value > 0))
        throw InputError(text::Format("Line %d (%s): %s must be positive, not %s",
                                      {lineIndex + 1, keyword, what, text::FormatGeneral(value)}));
}

// A material name looked up for a section; one that matches nothing is remembered for a warning.
int SectionMaterial(const NameIndex<TMAT>& materials, std::string_view name, int lineIndex,
                    int record, UnmatchedNames& unmatched) {
    const int found = materials.Find(name);
    if (found == 0) unmatched.Add(name, lineIndex, record);
    return found;
}

} // namespace

// "  NAME=NCOL400  MAT=CONC  SH=R  T=400,400": name T1, material T3, shape T5, dimensions from T7.
void ReadFrameSections(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kFrameSectionKeyword);
    model.SectionCount = bounds.LineCount();
    RebuildTable(model.Sections, model.SectionCount);
    // The default bar cover and bar areas, 35 mm and 1000 mm^2, in the model's unit.
    const double millimetres = MillimetresPerUnit(model.LengthUnit);
    const NameIndex<TMAT> materials(model.Mats, model.MatCount);
    UnmatchedNames unmatched;
    SectionWarnings keys(in, model, kFrameSectionKeyword);
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kFrameSectionKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        TSECTION& sec = model.Sections[static_cast<size_t>(++k)];
        sec.Name = std::string(t[1]);
        sec.Color = SectionColor(k);
        sec.FrameType = FrameTypeOfName(sec.Name);
        sec.DivideFX = sec.DivideFY = sec.BarNumNX = sec.BarNumNY = 5;
        sec.Cover = kDefaultCoverMM / millimetres;
        sec.BarTop = sec.BarBot = kDefaultBarAreaMM2 / (millimetres * millimetres);
        sec.SectionKind = kColumnSection;
        sec.GeoTransf = kLinear;
        if (std::string misplaced = MisplacedKey(t, {{0, "NAME"}, {2, "MAT"}, {4, "SH"}, {6, "T"}});
            !misplaced.empty())
            keys.Add(i, "section " + QuotedToken(sec.Name) + ": " + misplaced,
                     "the line is read by position as it stands");
        sec.MatIdx = SectionMaterial(materials, t[3], i, k, unmatched);

        int dimensions = 0;
        const std::string_view shape = t[5];
        if (shape == "R") {
            sec.Shape = kShapeRectangle;
            dimensions = 2;
        } else if (shape == "I") {
            sec.Shape = kShapeI;
            dimensions = 6;
        } else if (shape == "B") {
            sec.Shape = kShapeBox;
            dimensions = 4;
        } else if (shape == "P") {
            sec.Shape = kShapePipe;
            dimensions = 2;
            sec.DivideFX = 20;
        }
        for (int d = 1; d <= dimensions; ++d) {
            sec.T[static_cast<size_t>(d)] = parse::Float(t[6 + d]);
            CheckPositive(
                sec.T[static_cast<size_t>(d)], i, kFrameSectionKeyword,
                text::Format("section %s: dimension %d of T", {QuotedToken(sec.Name), d}));
        }
        if (dimensions > 0) sec.HingeLenI = sec.HingeLenJ = sec.T[1];
    });
    keys.Finish("keys out of place");
    unmatched.Report(
        in, model, kFrameSectionKeyword,
        [&](const std::string& name, int record, int count) {
            const std::string section =
                QuotedToken(model.Sections[static_cast<size_t>(record)].Name);
            return count == 1 ? "section " + section + " names material " + QuotedToken(name) +
                                    ", which matches no material"
                              : text::Format("material %s matches no material (%d sections, the "
                                             "first %s)",
                                             {QuotedToken(name), count, section});
        },
        "no material: E = 0 for these sections");
}

// "  NAME=WALL200  MAT=CONC  TYPE=Thin,Shell  TH=200,200": a line whose T6 is "Shell" is the next
// shell section (name T1, material T3, thickness T9). Other lines still count in AreaSecCount and
// leave empty records at the end of the table.
void ReadShellSections(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kShellSectionKeyword);
    model.AreaSecCount = bounds.LineCount();
    RebuildTable(model.AreaSecs, model.AreaSecCount);
    const NameIndex<TMAT> materials(model.Mats, model.MatCount);
    UnmatchedNames unmatched;
    SectionWarnings keys(in, model, kShellSectionKeyword);
    SectionWarnings notShell(in, model, kShellSectionKeyword);
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kShellSectionKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (std::string misplaced =
                MisplacedKey(t, {{0, "NAME"}, {2, "MAT"}, {4, "TYPE"}, {7, "TH"}});
            !misplaced.empty())
            keys.Add(i, "section " + QuotedToken(t[1]) + ": " + misplaced,
                     "the line is read by position as it stands");
        if (t[6] != "Shell") {
            notShell.Add(i,
                         "section " + QuotedToken(t[1]) + " is not of type Shell (found " +
                             QuotedToken(t[6]) + " at field 7)",
                         "skipped: shells that name it get no element");
            return;
        }
        TAREASEC& sec = model.AreaSecs[static_cast<size_t>(++k)];
        sec.Name = std::string(t[1]);
        sec.MatIdx = SectionMaterial(materials, t[3], i, k, unmatched);
        sec.Color = SectionColor(k);
        sec.ShellKind = 1;
        sec.Thickness = parse::Float(t[9]);
        CheckPositive(sec.Thickness, i, kShellSectionKeyword,
                      "section " + QuotedToken(sec.Name) + ": the thickness TH");
        sec.NonlinType = kShellMITC4;
    });
    keys.Finish("keys out of place");
    notShell.Finish("sections not of type Shell");
    unmatched.Report(
        in, model, kShellSectionKeyword,
        [&](const std::string& name, int record, int count) {
            const std::string section =
                QuotedToken(model.AreaSecs[static_cast<size_t>(record)].Name);
            return count == 1 ? "section " + section + " names material " + QuotedToken(name) +
                                    ", which matches no material"
                              : text::Format("material %s matches no material (%d sections, the "
                                             "first %s)",
                                             {QuotedToken(name), count, section});
        },
        "no material: E = 0 for these sections");
}

} // namespace vandra

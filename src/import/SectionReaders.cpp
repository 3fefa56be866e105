// Readers of materials and sections: MATERIAL, FRAME SECTION and SHELL SECTION.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <cmath>

namespace vandra {

using s2k::DataLines;
using s2k::RebuildTable;

namespace {

constexpr double kDefaultCoverMM = 35.0;
constexpr double kDefaultBarAreaMM2 = 1000.0;

// Frame type chosen by the first letter of a section's name.
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

// Two lines per material: "  NAME=CONC  IDES=C ..." and "    T=0  E=25000  U=0.2 ...". After
// every data line, the line that follows it is looked at for E at T3 and U at T5, and G is
// recomputed. NAME lines beyond (line count) / 2 are ignored.
void ReadMaterials(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kMaterialKeyword);
    const int lineCount = bounds.LineCount();
    model.MatCount = lineCount / 2; // an absent section (-1) gives 0
    RebuildTable(model.Mats, model.MatCount);
    const DataLines data(bounds);
    const int lastLine = static_cast<int>(lines.size()) - 1;
    S2kTokens t;
    S2kTokens next;
    int k = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") {
            ++k;
            if (k <= model.MatCount) {
                TMAT& mat = model.Mats[static_cast<size_t>(k)];
                mat.Name = std::string(t[1]);
                mat.MatType = 1;
            }
        }
        if (k < 1 || k > model.MatCount) continue;
        TMAT& mat = model.Mats[static_cast<size_t>(k)];
        if (i + 1 <= lastLine)
            Tokenize(lines[static_cast<size_t>(i + 1)], next);
        else
            Tokenize(std::string_view(), next);
        if (next[3] == "E") mat.E = parse::Float(next[4]);
        if (next[5] == "U") mat.U = parse::Float(next[6]);
        mat.G = ShearModulus(mat.E, mat.U, i + 1);
    }
}

// "  NAME=NCOL400  MAT=CONC  SH=R  T=400,400": name T1, material T3, shape T5, dimensions from T7.
void ReadFrameSections(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kFrameSectionKeyword);
    model.SectionCount = bounds.LineCount();
    RebuildTable(model.Sections, model.SectionCount);
    const DataLines data(bounds);
    // The default bar cover and bar areas, 35 mm and 1000 mm^2, in the model's unit.
    const double millimetres = MillimetresPerUnit(model.LengthUnit);
    S2kTokens t;
    int k = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        TSECTION& sec = model.Sections[static_cast<size_t>(++k)];
        sec.Name = std::string(t[1]);
        sec.Color = SectionColor(k);
        sec.FrameType = FrameTypeOfName(sec.Name);
        sec.DivideFX = sec.DivideFY = sec.BarNumNX = sec.BarNumNY = 5;
        sec.Cover = kDefaultCoverMM / millimetres;
        sec.BarTop = sec.BarBot = kDefaultBarAreaMM2 / (millimetres * millimetres);
        sec.SectionKind = kColumnSection;
        sec.GeoTransf = kLinear;
        sec.MatIdx = FindMaterial(model, std::string(t[3]));

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
        for (int d = 1; d <= dimensions; ++d)
            sec.T[static_cast<size_t>(d)] = parse::Float(t[6 + d]);
        if (dimensions > 0) sec.HingeLenI = sec.HingeLenJ = sec.T[1];
    }
}

// "  NAME=WALL200  MAT=CONC  TYPE=Thin,Shell  TH=200,200": a line whose T6 is "Shell" is the next
// shell section (name T1, material T3, thickness T9). Other lines still count in AreaSecCount and
// leave empty records at the end of the table.
void ReadShellSections(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kShellSectionKeyword);
    model.AreaSecCount = bounds.LineCount();
    RebuildTable(model.AreaSecs, model.AreaSecCount);
    const DataLines data(bounds);
    S2kTokens t;
    int k = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[6] != "Shell") continue;
        TAREASEC& sec = model.AreaSecs[static_cast<size_t>(++k)];
        sec.Name = std::string(t[1]);
        sec.MatIdx = FindMaterial(model, std::string(t[3]));
        sec.Color = SectionColor(k);
        sec.ShellKind = 1;
        sec.Thickness = parse::Float(t[9]);
        sec.NonlinType = kShellMITC4;
    }
}

} // namespace vandra

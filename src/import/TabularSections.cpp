// The tabular import: frame and area sections.
#include "import/TabularSupport.h"
#include "model/NumberText.h"
#include "sections/SectionProperties.h"

#include <string>
#include <vector>

namespace vandra::tabular {

namespace {

// The defaults every new frame section takes before the dialog edits it.
void SectionDefaults(TSECTION& sec, int k) {
    sec.Color = SectionColor(k);
    sec.FrameType = kElasticBeamColumn;
    sec.DivideFX = sec.DivideFY = sec.BarNumNX = sec.BarNumNY = 5;
    sec.Cover = 35.0;
    sec.BarTop = sec.BarBot = 1000.0;
    sec.SectionKind = kColumnSection;
    sec.GeoTransf = kLinear;
}

// The dimensions of a section of a shape VANDRA draws (a circle is a solid pipe), each given and
// positive; the shape stays none for any other.
void ReadShape(Importer& im, const TabularTable& t, size_t r, std::string_view shape,
               const std::string& name, TSECTION& sec) {
    const std::string what = "frame section " + Label(name);
    auto dim = [&](std::string_view key) { return im.Positive(t, r, key, what) * im.LengthScale; };
    const TabularRow& row = t.Rows[r];
    if (shape == "Rectangular") {
        sec.Shape = kShapeRectangle;
        sec.T[1] = dim("t3");
        sec.T[2] = dim("t2");
    } else if (shape == "I/Wide Flange") {
        sec.Shape = kShapeI;
        sec.T[1] = dim("t3");
        sec.T[2] = dim("t2");
        sec.T[3] = dim("tf");
        sec.T[4] = dim("tw");
        sec.T[5] = t.Has(row, "t2b") ? dim("t2b") : sec.T[2];
        sec.T[6] = t.Has(row, "tfb") ? dim("tfb") : sec.T[3];
        if (sec.T[5] != sec.T[2] || sec.T[6] != sec.T[3])
            im.Warn(row.Line, "frame section " + name + " has a bottom flange unlike its top one",
                    "its properties are those of an I with two top flanges");
    } else if (shape == "Box/Tube") {
        sec.Shape = kShapeBox;
        sec.T[1] = dim("t3");
        sec.T[2] = dim("t2");
        sec.T[3] = dim("tf");
        sec.T[4] = dim("tw");
    } else if (shape == "Pipe") {
        sec.Shape = kShapePipe;
        sec.T[1] = dim("t3");
        sec.T[2] = dim("tw");
    } else if (shape == "Circle") {
        sec.Shape = kShapePipe; // a solid bar: the wall is the radius
        sec.T[1] = dim("t3");
        sec.T[2] = sec.T[1] / 2;
    }
}

// The properties the file gives for the section: those SAP2000 analyses it with (a rolled shape's
// fillets included), which its elastic elements get.
void ReadGivenProperties(Importer& im, const TabularTable& t, size_t r, std::string_view shape,
                         const std::string& name, TSECTION& sec) {
    const double l = im.LengthScale, l2 = l * l, l4 = l2 * l2;
    TSectionProps& props = sec.GivenProps.emplace();
    props.Area = im.Number(t, r, "Area") * l2;
    props.I33 = im.Number(t, r, "I33") * l4;
    props.I22 = im.Number(t, r, "I22") * l4;
    props.TorsJ = im.Number(t, r, "TorsConst") * l4;
    props.AS2 = im.Number(t, r, "AS2") * l2;
    props.AS3 = im.Number(t, r, "AS3") * l2;
    if (!(props.Area > 0))
        im.Warn(t.Rows[r].Line,
                "frame section " + name + " (" + std::string(shape) +
                    ") gives no cross-section area",
                "its frames have no stiffness until the section is edited");
}

// The file gives the properties of a shaped section when it gives its area and both moments of
// inertia.
bool GivesProperties(const TabularTable& t, size_t r) {
    const TabularRow& row = t.Rows[r];
    return t.Has(row, "Area") && t.Has(row, "I33") && t.Has(row, "I22");
}

constexpr std::string_view kSectionModifierKeys[8] = {"AMod",  "A2Mod", "A3Mod", "JMod",
                                                      "I2Mod", "I3Mod", "MMod",  "WMod"};

} // namespace

void ReadFrameSectionTable(Importer& im) {
    TModel& m = im.Model;
    m.Sections.assign(1, TSECTION{});
    im.WeightArea.assign(1, 0.0);
    im.SectionModifiers.assign(1, PropertyModifiers{});
    const TabularTable* t = im.Table("FRAME SECTION PROPERTIES 01 - GENERAL");
    if (t == nullptr) return;
    std::vector<std::string> given, autoSelect, filed;
    int timoshenko = 0;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string_view shape = t->Value(row, "Shape");
        const std::string name = NameOf(t->Value(row, "SectionName"));
        if (shape == "Auto Select") {
            autoSelect.push_back(name);
            continue;
        }
        TSECTION sec;
        SectionDefaults(sec, static_cast<int>(m.Sections.size()));
        sec.Name = name;
        sec.MatIdx = FindMaterial(m, NameOf(t->Value(row, "Material")));
        if (sec.MatIdx == 0)
            im.Warn(row.Line,
                    "frame section " + name + ": material \"" +
                        std::string(t->Value(row, "Material")) + "\" is not defined",
                    "the section has no material");
        ReadShape(im, *t, r, shape, name, sec);
        if (sec.Shape == kShapeNone) {
            ReadGivenProperties(im, *t, r, shape, name, sec);
            given.push_back(name + " (" + std::string(shape.empty() ? "no shape" : shape) + ")");
        } else {
            sec.HingeLenI = sec.HingeLenJ = sec.T[1];
            if (sec.Shape == kShapePipe) sec.DivideFX = 20;
            if (GivesProperties(*t, r)) {
                ReadGivenProperties(im, *t, r, shape, name, sec);
                filed.push_back(name);
            }
        }
        // SAP2000 deforms a frame in shear wherever its section has a shear area.
        const TSectionProps props = SectionPropertiesOf(sec);
        if (props.AS2 > 0 || props.AS3 > 0) {
            sec.FrameType = kElasticTimoshenkoBeam;
            ++timoshenko;
        }
        im.SectionModifiers.push_back(
            ReadModifiers(im, *t, r, kSectionModifierKeys, "frame section " + name));
        // A section whose file gives no area gets the one computed from its shape for self weight.
        const double fileArea = im.Number(*t, r, "Area") * (im.LengthScale * im.LengthScale);
        im.WeightArea.push_back(fileArea > 0 ? fileArea : props.Area);
        m.Sections.push_back(std::move(sec));
    }
    m.SectionCount = static_cast<int>(m.Sections.size()) - 1;
    im.Info("Frame sections: " + Int(m.SectionCount) + ", " + Int(timoshenko) +
            " with shear areas as ElasticTimoshenkoBeam (shear deformation), the others as "
            "Elastic BeamColumn; rectangle, I, box, pipe and circle (a solid pipe) drawn by "
            "their dimensions");
    if (!filed.empty()) {
        std::string list;
        for (const std::string& f : filed)
            list += (list.empty() ? "" : ", ") + f;
        im.Info("Sections whose elements take the area, I33, I22, torsion constant and shear areas "
                "the file gives (their dimensions draw them and make their fibers): " +
                list);
    }
    if (!given.empty()) {
        std::string list;
        for (const std::string& g : given)
            list += (list.empty() ? "" : ", ") + g;
        im.Warn(0, "frame sections without a shape VANDRA draws: " + list,
                "their area, I33, I22, torsion constant and shear areas are taken from the file; "
                "they have no fibers");
    }
    if (!autoSelect.empty())
        im.Info("Auto select lists skipped (frames use their analysis section): " +
                Int(static_cast<long long>(autoSelect.size())));
}

void ReadAreaSectionTable(Importer& im) {
    TModel& m = im.Model;
    m.AreaSecs.assign(1, TAREASEC{});
    const TabularTable* t = im.Table("AREA SECTION PROPERTIES");
    if (t == nullptr) return;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        TAREASEC sec;
        sec.Name = NameOf(t->Value(row, "Section"));
        sec.MatIdx = FindMaterial(m, NameOf(t->Value(row, "Material")));
        sec.Color = SectionColor(static_cast<int>(m.AreaSecs.size()));
        sec.Thickness = im.Number(*t, r, "Thickness") * im.LengthScale;
        const std::string_view areaType = t->Value(row, "AreaType", "Shell");
        const std::string_view type = t->Value(row, "Type");
        if (areaType == "Shell" && (type == "Shell-Thin" || type == "Shell-Thick")) {
            sec.ShellKind = 1;
            im.Positive(*t, r, "Thickness", "area section " + Label(sec.Name));
        } else {
            im.Warn(row.Line,
                    "area section " + sec.Name + " is of type " + std::string(areaType) + " " +
                        std::string(type),
                    "its areas are kept for drawing, loads and masses but get no shell element");
        }
        if (im.Number(*t, r, "BendThick", im.Number(*t, r, "Thickness")) !=
            im.Number(*t, r, "Thickness"))
            im.Warn(row.Line,
                    "area section " + sec.Name +
                        " has a bending thickness unlike its "
                        "membrane thickness",
                    "the membrane thickness is used");
        m.AreaSecs.push_back(std::move(sec));
    }
    m.AreaSecCount = static_cast<int>(m.AreaSecs.size()) - 1;
}

} // namespace vandra::tabular

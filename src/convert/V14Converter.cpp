#include "convert/V14Converter.h"

#include "import/TabularReader.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <unordered_map>

namespace vandra {
namespace {

// One row of a table, for its values and messages: "Line 7 (JOINT COORDINATES): ...".
struct RowPlace {
    const TabularTable& Table;
    const TabularRow& Row;

    std::string Prefix() const { return text::Format("Line %d (%s): ", {Row.Line, Table.Name}); }
    std::string_view Value(std::string_view key) const {
        if (!Table.Has(Row, key))
            throw InputError(Prefix() + "the row gives no " + std::string(key));
        return Table.Value(Row, key);
    }
    int Integer(std::string_view key) const {
        const std::string_view v = Value(key);
        try {
            return parse::Integer(v);
        } catch (const ConversionError& e) {
            throw ConversionError(Prefix() + e.what());
        }
    }
    double Float(std::string_view key) const {
        const std::string_view v = Value(key);
        try {
            return parse::Float(v);
        } catch (const ConversionError& e) {
            throw ConversionError(Prefix() + e.what());
        }
    }
    // A value the row may leave out: 0 then.
    double FloatOr0(std::string_view key) const { return Table.Has(Row, key) ? Float(key) : 0; }
};

size_t Slot(int k) {
    return static_cast<size_t>(k);
}

// The rows of a table, none when the file lacks it.
template <typename Body>
void ForEachRow(const TabularFile& file, std::string_view name, Body body) {
    if (const TabularTable* t = file.Find(name))
        for (const TabularRow& row : t->Rows)
            body(RowPlace{*t, row});
}

// The position (1..ConvJointCount) of each joint label of the V14 file.
class JointPositions {
public:
    // The position of the label under "Joint" of a row; InputError when the coordinate table does
    // not hold it.
    int Of(const RowPlace& place) const {
        const int label = place.Integer("Joint");
        const auto found = byLabel_.find(label);
        if (found == byLabel_.end())
            throw InputError(
                place.Prefix() +
                text::Format("joint %d is not in the table \"JOINT COORDINATES\"", {label}));
        return found->second;
    }
    int Find(int label) const {
        const auto found = byLabel_.find(label);
        return found == byLabel_.end() ? 0 : found->second;
    }
    // False when the label already has a position.
    bool Add(int label, int position, int& known) {
        const auto [it, fresh] = byLabel_.emplace(label, position);
        known = it->second;
        return fresh;
    }
    void Reserve(size_t count) { byLabel_.reserve(count); }

private:
    std::unordered_map<int, int> byLabel_;
};

// Joint coordinates: the label and X, Y, Z; a label given twice is refused, and so is a file
// without joints, which is no V14 solid model.
JointPositions ReadV14Joints(const TabularFile& file, V14Conversion& c) {
    const TabularTable* joints = file.Find("JOINT COORDINATES");
    if (joints == nullptr)
        throw InputError("The file has no table \"JOINT COORDINATES\": it is not a SAP2000 V14 "
                         "table file");
    if (joints->Rows.empty())
        throw InputError(
            text::Format("Line %d (JOINT COORDINATES): the table lists no joint", {joints->Line}));
    c.ConvJointCount = static_cast<int>(joints->Rows.size());
    c.ConvJoints.assign(Slot(c.ConvJointCount) + 1, ConvJoint());
    JointPositions positions;
    positions.Reserve(Slot(c.ConvJointCount));
    int r = 0;
    ForEachRow(file, "JOINT COORDINATES", [&](const RowPlace& place) {
        ConvJoint& joint = c.ConvJoints[Slot(++r)];
        joint.Label = place.Integer("Joint");
        joint.X = place.Float("XorR");
        joint.Y = place.Float("Y");
        joint.Z = place.Float("Z");
        int known = 0;
        if (!positions.Add(joint.Label, r, known))
            throw InputError(place.Prefix() +
                             text::Format("joint %d is given twice (first on line %d)",
                                          {joint.Label, joints->Rows[Slot(known - 1)].Line}));
    });
    return positions;
}

void WriteJoints(const V14Conversion& c, std::vector<std::string>& out) {
    out.emplace_back("SYSTEM");
    out.emplace_back("  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=mm  FORCE=N");
    out.emplace_back("");
    out.emplace_back("JOINT");
    for (int r = 1; r <= c.ConvJointCount; ++r) {
        const ConvJoint& joint = c.ConvJoints[Slot(r)];
        out.push_back(text::Format("  %D  X=%s  Y=%s  Z=%s", {r, text::FormatEAtLeast(joint.X, 4),
                                                              text::FormatEAtLeast(joint.Y, 4),
                                                              text::FormatEAtLeast(joint.Z, 4)}));
    }
    out.emplace_back("");
}

// Joint restraints: "Yes" under U1, U2, U3, R1, R2, R3 restrains that direction.
void ReadV14Restraints(const TabularFile& file, const JointPositions& positions, V14Conversion& c) {
    static constexpr std::string_view kKeys[7] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    ForEachRow(file, "JOINT RESTRAINT ASSIGNMENTS", [&](const RowPlace& place) {
        ConvJoint& joint = c.ConvJoints[Slot(positions.Of(place))];
        for (int d = 1; d <= 6; ++d)
            if (place.Table.Value(place.Row, kKeys[d]) == "Yes") joint.Fix[Slot(d)] = 1;
    });
}

// The RESTRAINT section; counts each joint's restrained directions.
void WriteRestraints(V14Conversion& c, std::vector<std::string>& out) {
    static constexpr std::string_view kDofNames[7] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    out.emplace_back("RESTRAINT");
    for (int r = 1; r <= c.ConvJointCount; ++r) {
        ConvJoint& joint = c.ConvJoints[Slot(r)];
        joint.FixCount = 0;
        std::string dofs;
        for (int d = 1; d <= 6; ++d) {
            if (joint.Fix[Slot(d)] == 0) continue;
            ++joint.FixCount;
            if (!dofs.empty()) dofs += ',';
            dofs += kDofNames[d];
        }
        if (joint.FixCount != 0) out.push_back(text::Format("  ADD=%D  DOF=%S", {r, dofs}));
    }
    out.emplace_back("");
}

// Joint forces: F1, F2, F3, M1, M2, M3 (0 when a row leaves one out); a later row for a joint
// replaces all six values of an earlier one. Every load pattern goes into the one load case.
void ReadV14Forces(const TabularFile& file, const JointPositions& positions, V14Conversion& c) {
    static constexpr std::string_view kKeys[7] = {"", "F1", "F2", "F3", "M1", "M2", "M3"};
    ForEachRow(file, "JOINT LOADS - FORCE", [&](const RowPlace& place) {
        const int r = positions.Of(place);
        std::array<double, 7> load{};
        for (int k = 1; k <= 6; ++k)
            load[Slot(k)] = place.FloatOr0(kKeys[k]);
        c.ConvJoints[Slot(r)].Load = load;
    });
}

void WriteLoads(const V14Conversion& c, std::vector<std::string>& out) {
    static constexpr std::string_view kLoadKeys[7] = {"", "UX", "UY", "UZ", "MX", "MY", "MZ"};
    out.emplace_back("LOAD");
    out.emplace_back("  NAME=PUSH");
    out.emplace_back("    TYPE=FORCE");
    for (int r = 1; r <= c.ConvJointCount; ++r) {
        const ConvJoint& joint = c.ConvJoints[Slot(r)];
        for (int k = 1; k <= 6; ++k) {
            const double value = joint.Load[Slot(k)];
            if (value == 0) continue;
            out.push_back(text::Format("      ADD=%D  %s=%s",
                                       {r, kLoadKeys[k], text::FormatEAtLeast(value, 5)}));
        }
    }
    out.emplace_back("");
}

// Solids: the label and the eight joints Joint1..Joint8, written as joint positions.
void ConvertSolids(const TabularFile& file, const JointPositions& positions, V14Conversion& c,
                   std::vector<std::string>& out) {
    const TabularTable* solids = file.Find("CONNECTIVITY - SOLID");
    c.ConvSolidCount = solids == nullptr ? 0 : static_cast<int>(solids->Rows.size());
    c.ConvSolids.assign(Slot(c.ConvSolidCount) + 1, ConvSolid());
    out.emplace_back("SOLID");
    int r = 0;
    ForEachRow(file, "CONNECTIVITY - SOLID", [&](const RowPlace& place) {
        ConvSolid& solid = c.ConvSolids[Slot(++r)];
        solid.Label = place.Integer("Solid");
        std::array<int, 9> at{};
        for (int k = 1; k <= 8; ++k) {
            solid.J[Slot(k)] = place.Integer("Joint" + text::FormatInt(k));
            at[Slot(k)] = positions.Find(solid.J[Slot(k)]);
            if (at[Slot(k)] == 0)
                throw InputError(place.Prefix() +
                                 text::Format("solid %d names joint %d, which is not in the table "
                                              "\"JOINT COORDINATES\"",
                                              {solid.Label, solid.J[Slot(k)]}));
        }
        out.push_back(
            text::Format("  %D  J=%D,%D,%D,%D,%D,%D,%D,%D  SEC=100",
                         {solid.Label, at[1], at[2], at[3], at[4], at[5], at[6], at[7], at[8]}));
    });
    out.emplace_back("");
}

} // namespace

V14Conversion ConvertV14(const S2kText& V14Lines) {
    const TabularFile file = ReadTabular(V14Lines);
    V14Conversion c;
    std::vector<std::string>& out = c.V6Lines;
    const JointPositions positions = ReadV14Joints(file, c);
    WriteJoints(c, out);
    ReadV14Restraints(file, positions, c);
    WriteRestraints(c, out);
    ReadV14Forces(file, positions, c);
    WriteLoads(c, out);
    ConvertSolids(file, positions, c, out);
    out.emplace_back("");
    out.emplace_back("END");

    c.Log = {"VANDRA import Sap2000 V14 S2k file", text::Format("NJOINT = %D", {c.ConvJointCount}),
             text::Format("NSOLID = %D", {c.ConvSolidCount}), "Finish!!"};
    return c;
}

std::string V6Text(const std::vector<std::string>& V6Lines) {
    std::string content;
    for (const std::string& line : V6Lines)
        content.append(line).append("\r\n");
    return content;
}

void WriteV6File(const std::string& path, const std::vector<std::string>& V6Lines) {
    WriteFileAtomically(path, V6Text(V6Lines));
}

} // namespace vandra

#include "convert/V14Converter.h"

#include "import/S2kSection.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <unordered_map>

namespace vandra {
namespace {

std::string_view TrimBlanksAndControls(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

// The table a row belongs to, for messages: its name and the 0-based line of the row.
struct RowPlace {
    std::string_view Table;
    int LineIndex = 0;

    std::string Prefix() const { return text::Format("Line %d (%s): ", {LineIndex + 1, Table}); }
    int Integer(const std::string& field) const {
        try {
            return parse::Integer(field);
        } catch (const ConversionError& e) {
            throw ConversionError(Prefix() + e.what());
        }
    }
    double Float(const std::string& field) const {
        try {
            return parse::Float(field);
        } catch (const ConversionError& e) {
            throw ConversionError(Prefix() + e.what());
        }
    }
};

// The quoted name of a table's header line.
std::string_view TableName(std::string_view headerLine) {
    const size_t open = headerLine.find('"');
    return headerLine.substr(open + 1, headerLine.size() - open - 2);
}

size_t Slot(int k) {
    return static_cast<size_t>(k);
}

} // namespace

void SplitV14Line(std::string_view line, V14FieldList& V14Fields) {
    for (std::string& field : V14Fields)
        field.clear();
    const int length = static_cast<int>(line.size());
    // s(q) is the q-th character of the line, counted from 1.
    const auto s = [line](int q) { return line[static_cast<size_t>(q - 1)]; };
    int previousCut = -1;
    bool haveCut = false;
    int field = 0;
    const auto cut = [&](int p) {
        if (haveCut && field < kV14FieldSlots) {
            const std::string_view between = line.substr(static_cast<size_t>(previousCut),
                                                         static_cast<size_t>(p - previousCut - 1));
            V14Fields[Slot(++field)] = std::string(TrimBlanksAndControls(between));
        }
        previousCut = p;
        haveCut = true;
    };
    for (int p = 0; p <= length && field < kV14FieldSlots; ++p) {
        const int q = p == 0 ? 1 : p; // position 0 looks at the first character
        if (q + 2 <= length && s(q) == ' ' && s(q + 1) == ' ' && s(q + 2) == ' ' &&
            (!haveCut || previousCut != p - 1))
            cut(p);
        if (q <= length && (s(q) == '=' || s(q) == ',' || s(q) == '"')) cut(p);
        if (p == length) cut(length + 1);
    }
}

V14Table FindV14Table(const S2kText& V14Lines, std::string_view headerLine) {
    V14Table table;
    const size_t count = V14Lines.size();
    size_t header = 0;
    while (header < count && V14Lines[header] != headerLine)
        ++header;
    if (header >= count) return table;
    size_t end = header + 1;
    while (end < count && !IsBlankLine(V14Lines[end]))
        ++end;
    table.First = static_cast<int>(header + 1);
    table.Last = static_cast<int>(end) - 1;
    return table;
}

namespace {

// The position (1..ConvJointCount) of each joint label of the V14 file.
class JointPositions {
public:
    // The position of a label; 0 for a label the joint table does not hold.
    int Of(int label) const {
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

// Joint coordinates: label (pair 1) and X, Y, Z (pairs 4 to 6); a label given twice is refused.
JointPositions ReadV14Joints(const S2kText& V14Lines, V14Conversion& c) {
    V14FieldList f;
    const V14Table joints = FindV14Table(V14Lines, kV14JointTable);
    c.ConvJointCount = joints.RowCount();
    c.ConvJoints.assign(Slot(c.ConvJointCount) + 1, ConvJoint());
    JointPositions positions;
    positions.Reserve(Slot(c.ConvJointCount));
    for (int r = 1; r <= c.ConvJointCount; ++r) {
        const RowPlace place{TableName(kV14JointTable), joints.First + r - 1};
        SplitV14Line(V14Lines[Slot(place.LineIndex)], f);
        ConvJoint& joint = c.ConvJoints[Slot(r)];
        joint.Label = place.Integer(f[2]);
        joint.X = place.Float(f[8]);
        joint.Y = place.Float(f[10]);
        joint.Z = place.Float(f[12]);
        int known = 0;
        if (!positions.Add(joint.Label, r, known))
            throw InputError(place.Prefix() +
                             text::Format("joint %d is given twice (first on line %d)",
                                          {joint.Label, joints.First + known}));
    }
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

// Joint restraints: "Yes" in pairs 2 to 7 restrains U1, U2, U3, R1, R2, R3.
void ReadV14Restraints(const S2kText& V14Lines, const JointPositions& positions, V14Conversion& c) {
    V14FieldList f;
    const V14Table restraints = FindV14Table(V14Lines, kV14RestraintTable);
    for (int row = 0; row < restraints.RowCount(); ++row) {
        const RowPlace place{TableName(kV14RestraintTable), restraints.First + row};
        SplitV14Line(V14Lines[Slot(place.LineIndex)], f);
        const int r = positions.Of(place.Integer(f[2]));
        if (r == 0) continue;
        for (int d = 1; d <= 6; ++d)
            if (f[Slot(2 * d + 2)] == "Yes") c.ConvJoints[Slot(r)].Fix[Slot(d)] = 1;
    }
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

// Joint forces: F1, F2, F3, M1, M2, M3 in pairs 4 to 9; a later row for a joint replaces all six
// values of an earlier one.
void ReadV14Forces(const S2kText& V14Lines, const JointPositions& positions, V14Conversion& c) {
    V14FieldList f;
    const V14Table forces = FindV14Table(V14Lines, kV14ForceTable);
    for (int row = 0; row < forces.RowCount(); ++row) {
        const RowPlace place{TableName(kV14ForceTable), forces.First + row};
        SplitV14Line(V14Lines[Slot(place.LineIndex)], f);
        const int r = positions.Of(place.Integer(f[2]));
        if (r == 0) continue;
        std::array<double, 7> load{};
        for (int k = 1; k <= 6; ++k)
            load[Slot(k)] = place.Float(f[Slot(2 * k + 6)]);
        c.ConvJoints[Slot(r)].Load = load;
    }
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

// Solids: label (pair 1) and the eight joints (pairs 2 to 9), written as joint positions.
void ConvertSolids(const S2kText& V14Lines, const JointPositions& positions, V14Conversion& c,
                   std::vector<std::string>& out) {
    V14FieldList f;
    const V14Table solids = FindV14Table(V14Lines, kV14SolidTable);
    c.ConvSolidCount = solids.RowCount();
    c.ConvSolids.assign(Slot(c.ConvSolidCount) + 1, ConvSolid());
    out.emplace_back("SOLID");
    for (int r = 1; r <= c.ConvSolidCount; ++r) {
        const RowPlace place{TableName(kV14SolidTable), solids.First + r - 1};
        SplitV14Line(V14Lines[Slot(place.LineIndex)], f);
        ConvSolid& solid = c.ConvSolids[Slot(r)];
        solid.Label = place.Integer(f[2]);
        std::array<int, 9> at{};
        for (int k = 1; k <= 8; ++k) {
            solid.J[Slot(k)] = place.Integer(f[Slot(2 * k + 2)]);
            at[Slot(k)] = positions.Of(solid.J[Slot(k)]);
            if (at[Slot(k)] == 0)
                throw InputError(place.Prefix() +
                                 text::Format("solid %d names joint %d, which is not in the table "
                                              "\"JOINT COORDINATES\"",
                                              {solid.Label, solid.J[Slot(k)]}));
        }
        out.push_back(
            text::Format("  %D  J=%D,%D,%D,%D,%D,%D,%D,%D  SEC=100",
                         {solid.Label, at[1], at[2], at[3], at[4], at[5], at[6], at[7], at[8]}));
    }
    out.emplace_back("");
}

} // namespace

V14Conversion ConvertV14(const S2kText& V14Lines) {
    V14Conversion c;
    std::vector<std::string>& out = c.V6Lines;
    const JointPositions positions = ReadV14Joints(V14Lines, c);
    WriteJoints(c, out);
    ReadV14Restraints(V14Lines, positions, c);
    WriteRestraints(c, out);
    ReadV14Forces(V14Lines, positions, c);
    WriteLoads(c, out);
    ConvertSolids(V14Lines, positions, c, out);
    out.emplace_back("");
    out.emplace_back("END");

    c.Log = {"VANDRA import Sap2000 V14 S2k file", text::Format("NJOINT = %D", {c.ConvJointCount}),
             text::Format("NSOLID = %D", {c.ConvSolidCount}), "Finish!!"};
    return c;
}

void WriteV6File(const std::string& path, const std::vector<std::string>& V6Lines) {
    std::string content;
    for (const std::string& line : V6Lines)
        content.append(line).append("\r\n");
    WriteFileAtomically(path, content);
}

} // namespace vandra

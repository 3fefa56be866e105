// V14 text tables for the converter's tests, written as SAP2000 V14 writes them: a header line,
// then rows of KEY=VALUE pairs separated by three blanks, each table closed by an empty line.
#pragma once

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace v14_test {

struct Joint {
    int label;
    double x, y, z;
};

inline std::string Number(double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
}

inline std::string JointTable(const std::vector<Joint>& joints) {
    std::string t = "TABLE:  \"JOINT COORDINATES\"\n";
    for (const Joint& j : joints)
        t += "   Joint=" + std::to_string(j.label) +
             "   CoordSys=GLOBAL   CoordType=Cartesian   XorR=" + Number(j.x) +
             "   Y=" + Number(j.y) + "   Z=" + Number(j.z) +
             "   SpecialJt=No   GlobalX=" + Number(j.x) + "   GlobalY=" + Number(j.y) +
             "   GlobalZ=" + Number(j.z) + "\n";
    return t + "\n";
}

// flags: six of "Yes"/"No" for U1, U2, U3, R1, R2, R3.
inline std::string RestraintRow(int label, const std::array<const char*, 6>& flags) {
    std::string row = "   Joint=" + std::to_string(label);
    const char* keys[6] = {"U1", "U2", "U3", "R1", "R2", "R3"};
    for (int d = 0; d < 6; ++d)
        row += std::string("   ") + keys[d] + "=" + flags[static_cast<size_t>(d)];
    return row + "\n";
}

inline std::string ForceRow(int label, const std::array<double, 6>& values,
                            const char* pattern = "PUSH") {
    std::string row =
        "   Joint=" + std::to_string(label) + "   LoadPat=" + pattern + "   CoordSys=GLOBAL";
    const char* keys[6] = {"F1", "F2", "F3", "M1", "M2", "M3"};
    for (int k = 0; k < 6; ++k)
        row += std::string("   ") + keys[k] + "=" + Number(values[static_cast<size_t>(k)]);
    return row + "\n";
}

inline std::string SolidRow(int label, const std::array<int, 8>& joints) {
    std::string row = "   Solid=" + std::to_string(label);
    for (int k = 0; k < 8; ++k)
        row += "   Joint" + std::to_string(k + 1) + "=" +
               std::to_string(joints[static_cast<size_t>(k)]);
    return row + "\n";
}

inline std::vector<Joint> CubeJoints() {
    return {{1, 0, 0, 0},    {2, 1000, 0, 0},    {3, 0, 1000, 0},    {4, 1000, 1000, 0},
            {5, 0, 0, 1000}, {6, 1000, 0, 1000}, {7, 0, 1000, 1000}, {8, 1000, 1000, 1000}};
}

// The eight-joint cube (joints 1 to 4 fixed in U1, U2, U3, F3 = -1000 at joint 8, one solid) and
// what it converts to: tests/cases/convert/cube.v14 and cube.v6.
inline std::string CubeText(const char* name) {
    std::ifstream in(std::string(VANDRA_SOURCE_DIR) + "/tests/cases/convert/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline std::string CubeFile() {
    return CubeText("cube.v14");
}
inline std::vector<std::string> CubeV6Lines() {
    std::vector<std::string> lines;
    std::istringstream in(CubeText("cube.v6"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

} // namespace v14_test

// V14 text tables for the converter's tests, written as SAP2000 V14 writes them: a header line,
// then rows of KEY=VALUE pairs separated by three blanks, each table closed by an empty line.
#pragma once

#include <array>
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

// The eight-joint cube: joints 1 to 4 fixed in U1, U2, U3, F3 = -1000 at joint 8, one solid.
inline std::string CubeFile() {
    std::string t = "File C:\\models\\cube.s2k was saved on 12/7/26 at 9:14:00\n\n";
    t += "TABLE:  \"PROGRAM CONTROL\"\n   ProgramName=SAP2000   Version=14.0.0   "
         "CurrUnits=\"N, mm, C\"\n\n";
    t += JointTable(CubeJoints());
    t += "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n";
    for (int j = 1; j <= 4; ++j)
        t += RestraintRow(j, {"Yes", "Yes", "Yes", "No", "No", "No"});
    t += "\nTABLE:  \"JOINT LOADS - FORCE\"\n" + ForceRow(8, {0, 0, -1000, 0, 0, 0}) + "\n";
    t += "TABLE:  \"CONNECTIVITY - SOLID\"\n" + SolidRow(1, {1, 2, 3, 4, 5, 6, 7, 8}) + "\n";
    return t + "END TABLE DATA\n";
}

// What the cube converts to.
inline std::vector<std::string> CubeV6Lines() {
    return {"SYSTEM",
            "  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=mm  FORCE=N",
            "",
            "JOINT",
            "  1  X=0.000E+000  Y=0.000E+000  Z=0.000E+000",
            "  2  X=1.000E+003  Y=0.000E+000  Z=0.000E+000",
            "  3  X=0.000E+000  Y=1.000E+003  Z=0.000E+000",
            "  4  X=1.000E+003  Y=1.000E+003  Z=0.000E+000",
            "  5  X=0.000E+000  Y=0.000E+000  Z=1.000E+003",
            "  6  X=1.000E+003  Y=0.000E+000  Z=1.000E+003",
            "  7  X=0.000E+000  Y=1.000E+003  Z=1.000E+003",
            "  8  X=1.000E+003  Y=1.000E+003  Z=1.000E+003",
            "",
            "RESTRAINT",
            "  ADD=1  DOF=U1,U2,U3",
            "  ADD=2  DOF=U1,U2,U3",
            "  ADD=3  DOF=U1,U2,U3",
            "  ADD=4  DOF=U1,U2,U3",
            "",
            "LOAD",
            "  NAME=PUSH",
            "    TYPE=FORCE",
            "      ADD=8  UZ=-1.0000E+003",
            "",
            "SOLID",
            "  1  J=1,2,3,4,5,6,7,8  SEC=100",
            "",
            "",
            "END"};
}

} // namespace v14_test

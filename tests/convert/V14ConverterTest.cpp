// The V14 solid model converter: the tables, the version 6 text it writes, and that the importer
// reads that text as the model the V14 file describes.
#include "CaseFile.h"
#include "convert/V14TestSupport.h"

#include "convert/V14Converter.h"
#include "import/S2kImport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <random>

using namespace vandra;
using namespace v14_test;

namespace {

V14Conversion Convert(const std::string& text) {
    return ConvertV14(SplitS2kLines(text));
}

std::string Cube(const std::string& restraints, const std::string& forces,
                 const std::string& solids = SolidRow(1, {1, 2, 3, 4, 5, 6, 7, 8})) {
    return "title\n\n" + JointTable(CubeJoints()) + "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n" +
           restraints + "\n" + "TABLE:  \"JOINT LOADS - FORCE\"\n" + forces + "\n" +
           "TABLE:  \"CONNECTIVITY - SOLID\"\n" + solids + "\n";
}

// The lines of one section of the converted text, header excluded.
std::vector<std::string> Section(const V14Conversion& c, const std::string& header) {
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < c.V6Lines.size() && c.V6Lines[i] != header)
        ++i;
    for (++i; i < c.V6Lines.size() && !c.V6Lines[i].empty(); ++i)
        lines.push_back(c.V6Lines[i]);
    return lines;
}

} // namespace

// The cases of tests/cases/convert/converter.case. The cube converts byte for byte to
// tests/cases/convert/cube.v6 with its log: a cli case.
TEST(V14Converter, TheCasesConvertOrAreRefused) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("convert/converter.case")) {
        SCOPED_TRACE(c.where + ": " + c.title);
        std::string error;
        try {
            const V14Conversion out = Convert(c.One("text"));
            const std::vector<std::string> sections = c.All("section"), gives = c.All("gives");
            for (size_t k = 0; k < sections.size(); ++k) {
                std::string lines;
                for (const std::string& line : Section(out, sections[k]))
                    lines += line + "\n";
                EXPECT_EQ(lines, gives[k]) << sections[k];
            }
        } catch (const ConversionError& e) {
            error = std::string("ConversionError: ") + e.what();
        } catch (const InputError& e) {
            error = std::string("InputError: ") + e.what();
        }
        EXPECT_EQ(error, c.One("error"));
    }
}

TEST(V14Converter, MissingTablesAndTablesRunningToTheEnd) {
    // Only joints and solids, the solid table running to the end of the file.
    const std::string text =
        "title\n" + JointTable(CubeJoints()) + "TABLE:  \"CONNECTIVITY - SOLID\"\n" +
        SolidRow(1, {1, 2, 3, 4, 5, 6, 7, 8}) + SolidRow(2, {5, 6, 7, 8, 1, 2, 3, 4});
    const V14Conversion c = Convert(text);
    EXPECT_EQ(c.ConvSolidCount, 2);
    EXPECT_TRUE(Section(c, "RESTRAINT").empty());
    EXPECT_EQ(Section(c, "SOLID").back(), "  2  J=5,6,7,8,1,2,3,4  SEC=100");
}

TEST(V14Converter, ConvertingTwiceGivesTheSameOutput) {
    const std::string other = Cube("", ForceRow(3, {1, 0, 0, 0, 0, 0}));
    const V14Conversion first = Convert(CubeFile());
    Convert(other);
    const V14Conversion again = Convert(CubeFile());
    EXPECT_EQ(first.V6Lines, again.V6Lines);
    EXPECT_EQ(first.Log, again.Log);
}

// Labels that are not 1..N in table order: every line names the joint by its position in the table,
// so the imported model has the restraints, loads and solid corners of the joints meant.
TEST(V14Converter, JointLabelsOtherThanTheirPositions) {
    std::vector<Joint> joints = CubeJoints();
    for (Joint& j : joints)
        j.label = 100 - 10 * j.label; // 90, 80, ..., 20
    const std::string text =
        "title\n" + JointTable(joints) + "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n" +
        RestraintRow(90, {"Yes", "Yes", "Yes", "No", "No", "No"}) + "\n" +
        "TABLE:  \"JOINT LOADS - FORCE\"\n" + ForceRow(20, {0, 0, -1000, 0, 0, 0}) + "\n" +
        "TABLE:  \"CONNECTIVITY - SOLID\"\n" + SolidRow(7, {90, 80, 70, 60, 50, 40, 30, 20}) + "\n";
    const V14Conversion c = Convert(text);
    EXPECT_EQ(Section(c, "JOINT")[7], "  8  X=1.000E+003  Y=1.000E+003  Z=1.000E+003");
    EXPECT_EQ(Section(c, "RESTRAINT"), std::vector<std::string>{"  ADD=1  DOF=U1,U2,U3"});
    EXPECT_EQ(Section(c, "LOAD").back(), "      ADD=8  UZ=-1.0000E+003");
    EXPECT_EQ(Section(c, "SOLID"), std::vector<std::string>{"  7  J=1,2,3,4,5,6,7,8  SEC=100"});
    EXPECT_EQ(c.ConvSolids[1].J[1], 90);

    const TModel model = ImportS2k(SplitS2kLines([&] {
        std::string all;
        for (const std::string& line : c.V6Lines)
            all += line + "\r\n";
        return all;
    }()));
    ASSERT_EQ(model.NodeCount, 8);
    EXPECT_EQ(model.Nodes[1].Restraint[3], 1);
    EXPECT_EQ(model.Nodes[1].X, 0);
    EXPECT_EQ(model.Loads[1].Target, 8);
    EXPECT_EQ(model.Nodes[8].Z, 1000);
    EXPECT_EQ(model.Solids[1].N[3], 4); // the importer swaps corners 3 and 4
}

// Columns in another order and a quoted value with blanks convert to the same text.
TEST(V14Converter, ValuesAreFoundByTheirKeys) {
    std::string text = CubeFile();
    const std::string row = "CoordSys=GLOBAL   CoordType=Cartesian   XorR=1000   Y=0   Z=0";
    text.replace(text.find(row), row.size(), "Z=0   Y=0   XorR=1000");
    text.replace(text.find("LoadPat=PUSH"), 12, "LoadPat=\"PU SH\"");
    EXPECT_EQ(Convert(text).V6Lines, CubeV6Lines());
}

// Randomly corrupted V14 files: a conversion whose text imports, or a clear error; never a crash.
TEST(V14Converter, CorruptedFilesConvertOrStopWithAMessage) {
    const std::string original =
        Cube(RestraintRow(1, {"Yes", "Yes", "Yes", "No", "No", "No"}) +
                 RestraintRow(2, {"No", "Yes", "Yes", "Yes", "No", "No"}),
             ForceRow(8, {1.5, 0, -1000, 5, 0, 0}) + ForceRow(7, {0, 2, 0, 0, 0, 1e30}),
             SolidRow(1, {1, 2, 3, 4, 5, 6, 7, 8}) + SolidRow(2, {8, 7, 6, 5, 4, 3, 2, 1}));
    std::mt19937 rng(20261207);
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    int converted = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text = original;
        for (int k = pick(1, 4); k > 0 && !text.empty(); --k) {
            const size_t at = static_cast<size_t>(pick(0, static_cast<int>(text.size()) - 1));
            switch (pick(0, 4)) {
            case 0:
                text[at] = static_cast<char>(pick(0, 255));
                break;
            case 1:
                text.insert(at, std::string(static_cast<size_t>(pick(1, 5)), ' '));
                break;
            case 2:
                text.insert(at, 1, "=,\"\r\n-.9"[pick(0, 8)]);
                break;
            case 3:
                text.erase(at, static_cast<size_t>(pick(1, 40)));
                break;
            default:
                text.insert(at, "99999999999");
                break;
            }
        }
        V14Conversion c;
        try {
            c = Convert(text);
        } catch (const ConversionError&) {
            continue;
        } catch (const InputError&) {
            continue;
        }
        std::string v6;
        for (const std::string& line : c.V6Lines)
            v6 += line + "\r\n";
        const TModel model = ImportS2k(SplitS2kLines(v6)); // what converts always imports
        EXPECT_EQ(model.NodeCount, c.ConvJointCount);
        EXPECT_EQ(model.SolidCount, c.ConvSolidCount);
        ++converted;
    }
    EXPECT_GT(converted, 100);
}

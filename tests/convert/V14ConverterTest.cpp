// The V14 solid model converter: the tables, the version 6 text it writes, and that the importer
// reads that text as the model the V14 file describes.
#include "CaseFile.h"
#include "ModelDump.h"
#include "convert/V14TestSupport.h"
#include "import/Mutator.h"

#include "convert/V14Converter.h"
#include "import/S2kImport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>


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

// The model the converted text imports as.
TModel Imported(const V14Conversion& c) {
    std::string v6;
    for (const std::string& line : c.V6Lines)
        v6 += line + "\r\n";
    return ImportS2k(SplitS2kLines(v6));
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

// The cases of tests/cases/convert/converter.case, and the fields of the model their text imports
// as. The cube converts byte for byte to
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
            const vandra::testing::ModelDump model(Imported(out));
            for (const std::string& e : c.All("expect")) {
                const size_t cut = e.find('=');
                EXPECT_EQ(model[e.substr(0, cut)], e.substr(cut + 1)) << e;
            }
        } catch (const ConversionError& e) {
            error = std::string("ConversionError: ") + e.what();
        } catch (const InputError& e) {
            error = std::string("InputError: ") + e.what();
        }
        EXPECT_EQ(error, c.One("error"));
    }
}

TEST(V14Converter, ConvertingTwiceGivesTheSameOutput) {
    const std::string other = Cube("", ForceRow(3, {1, 0, 0, 0, 0, 0}));
    const V14Conversion first = Convert(CubeFile());
    Convert(other);
    const V14Conversion again = Convert(CubeFile());
    EXPECT_EQ(first.V6Lines, again.V6Lines);
    EXPECT_EQ(first.Log, again.Log);
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
    vandra::testing::Mutator mutator(20261207);
    int converted = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string text = mutator.Mutate(original);
        V14Conversion c;
        try {
            c = Convert(text);
        } catch (const ConversionError&) {
            continue;
        } catch (const InputError&) {
            continue;
        }
        const TModel model = Imported(c); // what converts always imports
        EXPECT_EQ(model.NodeCount, c.ConvJointCount);
        EXPECT_EQ(model.SolidCount, c.ConvSolidCount);
        ++converted;
    }
    EXPECT_GT(converted, 100);
}

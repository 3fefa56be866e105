// vandra-cli info and dump: the status bar counts and the whole model store as JSON.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

using namespace cli_test;

namespace {

std::string Example(const std::string& name) {
    return "'" + SourcePath("examples/" + name) + "'";
}

// A read-only view of the dump, through Qt's own JSON parser.
struct Json {
    QJsonValue v;

    Json operator[](const std::string& key) const {
        return {v.toObject().value(QString::fromStdString(key))};
    }
    Json operator[](int i) const { return {v.toArray().at(i)}; }
    double Number() const { return v.toDouble(); }
    std::string Text() const { return v.toString().toStdString(); }
    size_t Size() const { return static_cast<size_t>(v.toArray().size()); }
};

Json Dump(const std::string& example) {
    const CliRun run = RunCli("dump " + Example(example));
    EXPECT_EQ(run.status, 0) << run.err;
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.substr(0, 200);
    return {document.object()};
}

} // namespace

TEST(InfoCli, PrintsTheSevenCountsOfTheStatusBar) {
    struct Case {
        const char* file;
        const char* output;
    } cases[] = {
        {"two_storey_frame.s2k", "Node 21\nFrame 29\nShell 0\nSolid 0\nMat 2\nFsec 7\nWsec 0\n"},
        {"slab_wall.s2k", "Node 15\nFrame 0\nShell 8\nSolid 0\nMat 1\nFsec 0\nWsec 2\n"},
        {"solid_block.s2k", "Node 12\nFrame 0\nShell 0\nSolid 2\nMat 1\nFsec 0\nWsec 0\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(std::string("info ") + Example(c.file));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.output);
        EXPECT_EQ(run.err, "");
    }
}

TEST(DumpCli, WritesTheModelStoreAsJson) {
    const Json m = Dump("two_storey_frame.s2k");
    struct Count {
        const char* name;
        int value;
        const char* table;
    } counts[] = {{"NodeCount", 21, "Nodes"},       {"FrameCount", 29, "Frames"},
                  {"ShellCount", -1, "Shells"},     {"SolidCount", -1, "Solids"},
                  {"MatCount", 2, "Mats"},          {"SectionCount", 7, "Sections"},
                  {"AreaSecCount", -1, "AreaSecs"}, {"LoadCount", 21, "Loads"},
                  {"DiaphCount", 2, "Diaphs"}};
    for (const Count& c : counts) {
        EXPECT_EQ(m[c.name].Number(), c.value) << c.name;
        EXPECT_EQ(m[c.table].Size(), static_cast<size_t>(std::max(c.value, 0))) << c.table;
    }
    EXPECT_EQ(m["ShellCount1"].Number(), 0);
    EXPECT_EQ(m["LoadCaseCount"].Number(), 2);
    ASSERT_EQ(m["LoadCaseNames"].Size(), 2u);
    EXPECT_EQ(m["LoadCaseNames"][1].Text(), "PUSH");

    const Json joint19 = m["Nodes"][18];
    EXPECT_EQ(joint19["Y"].Number(), -1500);
    EXPECT_EQ(joint19["LinkNode"].Number(), 8);
    ASSERT_EQ(joint19["Restraint"].Size(), 6u);
    ASSERT_EQ(m["Nodes"][0]["Restraint"][5].Number(), 1);
    EXPECT_EQ(m["Nodes"][6]["Mass"][0].Number(), 7.1);

    const Json rigid = m["Frames"][28];
    EXPECT_EQ(rigid["SecName"].Text(), "R1");
    EXPECT_EQ(rigid["SecIdx"].Number(), 7);
    EXPECT_EQ(rigid["Release"].Number(), 2);

    const Json pipe = m["Sections"][4];
    EXPECT_EQ(pipe["Name"].Text(), "TPIPE168");
    EXPECT_EQ(pipe["DivideFX"].Number(), 20);
    ASSERT_EQ(pipe["T"].Size(), 6u);
    EXPECT_EQ(pipe["T"][0].Number(), 168.3);
    EXPECT_EQ(pipe["Color"].Number(), 98 + 1 * 256 + 96 * 65536); // Palette[5] = (98, 1, 96)
    // What a script would give the truss section: the ring's area and its twenty fibers.
    const double ring = std::numbers::pi / 4 * (168.3 * 168.3 - 152.3 * 152.3);
    EXPECT_NEAR(pipe["Area"].Number(), ring, 1e-12 * ring);
    EXPECT_EQ(pipe["Fibers"].Size(), 20u);

    EXPECT_EQ(m["Mats"][0]["G"].Number(), 200000.0 / 2 / 1.3); // reads back to the same double
    EXPECT_EQ(m["Mats"][1]["G"].Number(), 25000.0 / 2 / 1.2);

    const Json floor1 = m["Diaphs"][0];
    EXPECT_EQ(floor1["Master"].Number(), 20);
    ASSERT_EQ(floor1["DiaNodes"].Size(), 6u);
    EXPECT_EQ(floor1["DiaNodes"][0].Number(), 7);

    const Json beamLoad = m["Loads"][5];
    EXPECT_EQ(beamLoad["Kind"].Number(), 2);
    EXPECT_EQ(beamLoad["Dir"].Number(), 2);
    EXPECT_EQ(beamLoad["FX"].Number(), -20);
    EXPECT_EQ(beamLoad["CaseIdx"].Number(), 1);
}

TEST(DumpCli, WritesShellsSolidsAndEightBitNames) {
    const Json wall = Dump("slab_wall.s2k");
    EXPECT_EQ(wall["Shells"][0]["N3"].Number(), 5);
    EXPECT_EQ(wall["Shells"][0]["N4"].Number(), 4);
    EXPECT_EQ(wall["Frames"].Size(), 0u);
    const Json block = Dump("solid_block.s2k");
    ASSERT_EQ(block["Solids"][0]["N"].Size(), 8u);
    EXPECT_EQ(block["Solids"][0]["N"][2].Number(), 4);
    EXPECT_EQ(block["Solids"][0]["SecNo"].Number(), 100);

    // Names are written as the bytes they are: Latin-1 stays Latin-1, UTF-8 stays UTF-8.
    for (const std::string name : {"B\xC9TON", "B\xC3\x89TON"}) {
        const std::string path = WriteTempFile("vandra_latin1.s2k", "t\nMATERIAL\n  NAME=" + name +
                                                                        "\n    T=0  E=1  U=0\n\n");
        const CliRun run = RunCli("dump '" + path + "'");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("\"" + name + "\""), std::string::npos) << name;
    }
}

TEST(InfoDumpCli, ReportsBadFilesAndUsageErrors) {
    const std::string bad = WriteTempFile("vandra_bad.s2k", "t\nJOINT\n  1  X=0  Y=0  Z=O\n\n");
    const std::string range = WriteTempFile(
        "vandra_range.s2k", "t\nJOINT\n  1  X=0  Y=0  Z=0\n\nRESTRAINT\n  ADD=2  DOF=U1\n\n");
    struct Case {
        std::string args;
        int status;
        std::string err; // a part of the message on stderr
    } cases[] = {
        {"info '" + bad + "'", 1, "'O' is not a valid floating point value\n"},
        {"dump '" + bad + "'", 1, "'O' is not a valid floating point value\n"},
        {"info '" + range + "'", 1, "Line 6: joint 2 is outside 1..1\n"},
        {"dump /nonexistent/model.s2k", 1, "/nonexistent/model.s2k"},
        {"info", 2, "info needs exactly one argument"},
        {"dump", 2, "dump needs exactly one argument"},
        {"info " + Example("slab_wall.s2k") + " " + Example("slab_wall.s2k"), 2, "info"},
        {"dump --bogus " + Example("slab_wall.s2k"), 2, "dump"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.args;
    }
}

// vandra-cli results, history and render --dir against real solver output (tests/data).
#include "CliTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace cli_test;

namespace {

std::string Data(const std::string& relative) {
    return "'" + SourcePath("tests/data/" + relative) + "'";
}

const std::string kCantilever = Data("cantilever_elastic/cantilever.s2k");
const std::string kFrame = Data("two_storey_frame.s2k");

QJsonObject Json(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

} // namespace

TEST(ResultsCli, LoadedValuesAsJson) {
    const CliRun tip = RunCli("results " + kCantilever + " --dir " + Data("cantilever_elastic") +
                              " --step 10 --section axial");
    ASSERT_EQ(tip.status, 0) << tip.err;
    const QJsonObject json = Json(tip.out);
    EXPECT_DOUBLE_EQ(json["Nodes"].toArray()[1].toObject()["DispX"].toDouble(), 0.39998);
    EXPECT_DOUBLE_EQ(json["Nodes"].toArray()[1].toObject()["DispY"].toDouble(), 0.79984);
    EXPECT_TRUE(json["Frames"].toArray()[0].isNull()); // an elastic element has no section
    EXPECT_TRUE(json["ResultMax"].isNull());

    const CliRun frame = RunCli("results " + kFrame + " --dir " + Data("frame_static") +
                                " --step 2 --section kz --set 'Sections[EIPE400].FrameType=4'");
    ASSERT_EQ(frame.status, 0) << frame.err;
    const QJsonArray frames = Json(frame.out)["Frames"].toArray();
    ASSERT_EQ(frames.size(), 29);
    EXPECT_TRUE(frames[12].toObject()["ResultJ"].isDouble()); // a beam with hinges, end J
    EXPECT_TRUE(frames[20].isNull());
    EXPECT_LE(Json(frame.out)["ResultMin"].toDouble(), Json(frame.out)["ResultMax"].toDouble());

    const CliRun mode = RunCli("results " + kFrame + " --dir " + Data("frame_modal") + " --mode 2");
    ASSERT_EQ(mode.status, 0) << mode.err;
    EXPECT_FALSE(Json(mode.out).contains("Frames"));
}

TEST(ResultsCli, ErrorsAndUsage) {
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"results " + kCantilever + " --dir " + Data("cantilever_elastic") + " --step 11", 1,
         "node0.out, line 11: the file ends after line 10"},
        {"results " + kCantilever + " --dir " + Data("cantilever_elastic") + " --step x", 2,
         "--step: 'x' is not a valid integer value"},
        {"results " + kCantilever + " --step 1", 2, "--dir RUN is needed"},
        {"results " + kCantilever + " --dir " + Data("frame_modal") + " --mode 1 --step 1", 2,
         "exclude each other"},
        {"results " + kCantilever + " --dir " + Data("cantilever_elastic") + " --section shear", 2,
         "--section takes axial, kz or ky"},
        {"results " + kFrame + " --dir " + Data("frame_modal") + " --mode 4", 1,
         "Cannot open the result file"},
        {"history " + kFrame + " --dir " + Data("frame_pushover") + " --node 22", 1,
         "Joint 22 is not in the model"},
        {"render " + kCantilever + " -o x.png --scale 3", 2, "--scale needs --dir RUN"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
}

TEST(ResultsCli, HistoryOfTheControlJointIsTheCapacityCurve) {
    const CliRun run =
        RunCli("history " + kFrame + " --dir " + Data("frame_pushover") + " --node 21");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("time,X,Y,Z\n0.1,0.016035,0.0000543294,0\n", 0), 0u) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 111);
}

TEST(ResultsCli, RenderDrawsTheDeformedShape) {
    // The pixels of the deformed shape are the renderer's (test_render); here the picture must
    // change with the results and their scale.
    const std::string still = TempPath("still.png"), bent = TempPath("bent.png"),
                      zero = TempPath("zero.png");
    const std::string base = "render " + kCantilever + " --view xz --size 300x300 -o ";
    const std::string run = " --dir " + Data("cantilever_elastic") + " --step 10 --scale ";
    ASSERT_EQ(RunCli(base + "'" + still + "'").status, 0);
    ASSERT_EQ(RunCli(base + "'" + bent + "'" + run + "1000").status, 0);
    ASSERT_EQ(RunCli(base + "'" + zero + "'" + run + "0").status, 0);
    EXPECT_NE(ReadFile(still), ReadFile(bent));
    EXPECT_EQ(ReadFile(still), ReadFile(zero));
}

// vandra-cli render: the model view after import and zoom all, as a PNG.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

using namespace cli_test;

namespace {

// Runs the command; returns the exit status.
int Render(const std::string& args) {
    const std::string log = TempPath("render_cli.err");
    const std::string command =
        std::string("'") + VANDRA_CLI_PATH + "' render " + args + " 2>'" + log + "'";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

const std::string kFrame = "'" + SourcePath("examples/two_storey_frame.s2k") + "'";
const std::string kWall = "'" + SourcePath("examples/slab_wall.s2k") + "'";

// The bytes of the PNG written.
std::string RenderTo(const std::string& args, const std::string& name) {
    const std::string png = TempPath(name + ".png");
    std::remove(png.c_str());
    EXPECT_EQ(Render(args + " -o '" + png + "'"), 0) << args;
    std::ifstream in(png, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Width and height from the PNG header (the IHDR chunk right after the signature).
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0 || png.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto big = [&](size_t at) {
        unsigned v = 0;
        for (size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return {big(16), big(20)};
}

} // namespace

TEST(RenderCli, WritesAPictureOfTheRequestedSize) {
    EXPECT_EQ(PngSize(RenderTo(kFrame, "standard")), std::make_pair(1208u, 729u));
    EXPECT_EQ(PngSize(RenderTo(kFrame + " --size 320x200", "small")), std::make_pair(320u, 200u));
}

TEST(RenderCli, ViewAndSettingsChangeThePicture) {
    const std::string plan = RenderTo(kFrame, "plan");
    EXPECT_EQ(RenderTo(kFrame + " --view xy", "plan_again"), plan);
    const std::string elevation = RenderTo(kFrame + " --view xz", "elevation");
    const std::string side = RenderTo(kFrame + " --view yz", "side");
    EXPECT_NE(plan, elevation);
    EXPECT_NE(elevation, side);
    const std::string bare = RenderTo(kWall + " --view xz", "bare");
    const std::string labelled =
        RenderTo(kWall + " --view xz --set ViewOpt=1,1,1,1,0,1,0,0,1,0,1,1,0", "labelled");
    EXPECT_NE(bare, labelled);
}

TEST(RenderCli, BadInputExitsWithAnError) {
    const std::string png = "'" + TempPath("bad.png") + "'";
    EXPECT_EQ(Render("'" + TempPath("no_such_model.s2k") + "' -o " + png), 1);
    EXPECT_EQ(Render(kFrame + " -o " + png + " --size 12x"), 2); // not a number
    const struct {
        const char* args;
    } usage[] = {{" --size 100"}, {" --size 0x10"}, {" --view top"}, {" --set NoSuchSetting=1"}};
    for (const auto& u : usage)
        EXPECT_EQ(Render(kFrame + " -o " + png + u.args), 2) << u.args;
    EXPECT_EQ(Render(kFrame), 2); // no -o
}

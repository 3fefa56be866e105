// vandra-cli against careless and hostile arguments and files: outputs that would replace an
// input, failed and device outputs, FIFOs and directories where files belong, bad projects, bad
// option values, names that are not UTF-8. One table of {command, exit status, stdout, stderr}.
#include "CliTestSupport.h"
#include "TestDevices.h"
#include "app/project/ProjectFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace cli_test;

namespace {

std::string Q(const std::string& path) {
    return "'" + path + "'";
}

// Runs vandra-cli after a shell prefix (a ulimit, an env) with args already quoted.
CliRun RunAfter(const std::string& prefix, const std::string& args) {
    if (prefix.empty()) return RunCli(args);
    const std::string out = TempPath("run.out"), err = TempPath("run.err");
    const std::string command =
        prefix + " '" + VANDRA_CLI_PATH + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

std::string Project(const std::string& name, const std::string& model, const std::string& rest) {
    return WriteTempFile(name, "{\"Format\": \"VANDRA project\", \"Model\": \"" + model + "\"" +
                                   rest + "}");
}

} // namespace

TEST(HostileCli, RefusesWhatWouldLoseDataOrHang) {
    const std::string frame = ReadFile(SourcePath("examples/two_storey_frame.s2k"));
    const std::string m = WriteTempFile("m.s2k", frame);
    const std::string normal = std::filesystem::path(m).lexically_normal().string();
    const std::string p = TempPath("p.vandra");
    ASSERT_EQ(RunCli("save-project " + Q(m) + " -o " + Q(p)).status, 0);
    const std::string projectText = ReadFile(p);
    const std::string link = TempPath("link.s2k");
    std::filesystem::remove(link);
    std::filesystem::create_hard_link(m, link);
    const std::string fifo = TempPath("fifo.s2k");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string run = TempPath("run");
    std::filesystem::remove_all(run);
    std::filesystem::create_directories(run + "/node0.out");
    const std::string png = WriteTempFile("old.png", "old");
    const std::string modelName = normal.substr(normal.rfind('/') + 1);
    const std::string array = WriteTempFile("array.vandra", "[1, 2]");
    const std::string text2 = Project("text2.vandra", modelName, ", \"Version\": \"2\"");
    const std::string half = Project("half.vandra", modelName, ", \"Version\": 1.5");
    const std::string huge = Project("huge.vandra", modelName, ", \"Version\": 3000000000");
    const std::string newline =
        Project("newline.vandra", modelName, ", \"Version\": 1, \"Sections\": {\"NA\\nME\": {}}");
    const std::string null =
        vandra::testing::TestDevice(vandra::testing::Device::Null, ::testing::TempDir());
    const std::string counts = RunCli("info " + Q(m)).out;
    const std::string viewNote = std::string(64, 'x') + "...' (1000 bytes)";

    const struct {
        std::string prefix, args;
        int status;
        std::string out, err;
    } cases[] = {
        // An output that is an input, by any name.
        {"", "save-project " + Q(m) + " -o " + Q(m), 2, "",
         "vandra-cli: -o " + m + " names the model file itself\n"},
        {"", "preview " + Q(m) + " --section NCOL400 -o " + Q(link), 2, "",
         "vandra-cli: -o " + link + " names the model file itself\n"},
        {"", "tcl " + Q(p) + " -o " + Q(m), 2, "",
         "vandra-cli: -o " + m + " names the project's model file \"" + normal + "\"\n"},
        {"", "save-project " + Q(p) + " -o " + Q(p), 2, "",
         "vandra-cli: -o " + p + " names the project itself\n"},
        // A failed write is an error and leaves the old file; a device is written in place.
        {"ulimit -f 8;", "render " + Q(m) + " -o " + Q(png) + " --size 2400x1600", 1, "",
         "Cannot write file \"" + png + "\". File too large\n"},
        {"env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM",
         "render " + Q(m) + " -o " + Q(null), 0, "", ""},
        // Anything but a regular file is refused, without waiting on a FIFO.
        {"", "info " + Q(fifo), 1, "", "\"" + fifo + "\" is a FIFO, not a model file\n"},
        {"", "results " + Q(m) + " --dir " + Q(run), 1, "",
         run + "/node0.out is a directory, not a result file\n"},
        // Projects that cannot be read as version 1.
        {"", "info " + Q(array), 1, "",
         "\"" + array +
             "\" is not a VANDRA project: it holds a JSON array where an object must be\n"},
        {"", "info " + Q(text2), 1, "",
         "\"" + text2 + "\" is not a VANDRA project: its Version must be 1, not '2'\n"},
        {"", "info " + Q(half), 1, "",
         "\"" + half + "\" is not a VANDRA project: its Version must be 1, not 1.5\n"},
        {"", "info " + Q(huge), 1, "",
         "\"" + huge + "\" was written by a newer VANDRA; this one reads project version 1\n"},
        {"", "info " + Q(newline), 0, counts,
         "vandra-cli: These names match nothing in the model and were not applied:\n"
         "Sections[NA^JME]\n"},
        // Bad option values are usage errors naming the option.
        {"", "render " + Q(m) + " -o x.png --dir " + Q(run) + " --step 1e12", 2, "",
         "vandra-cli: --step: '1e12' is not a valid integer value\n"},
        {"", "history " + Q(m) + " --dir " + Q(run) + " --node abc", 2, "",
         "vandra-cli: --node: 'abc' is not a valid integer value\n"},
        {"", "render " + Q(m) + " -o x.png --dir " + Q(run) + " --scale nan", 2, "",
         "vandra-cli: --scale: 'nan' is not a valid floating point value\n"},
        {"", "results " + Q(m) + " --dir " + Q(run) + " --mode 0", 2, "",
         "vandra-cli: --mode takes a whole number from 1, not '0'\n"},
        {"", "render " + Q(m) + " -o x.png --view " + std::string(1000, 'x'), 2, "",
         "vandra-cli: --view takes xy, xz or yz, not '" + viewNote + "\n"},
        // A fiber layout the solver would take silently wrong.
        {"", "tcl " + Q(m) + " --set 'Sections[NCOL400].DivideFX=0'", 1, "",
         "Frame section NCOL400: DivideFX must be at least 1, not 0\n"},
    };
    for (const auto& c : cases) {
        if (c.args.find("''") != std::string::npos) continue; // no device node for root here
        const CliRun r = RunAfter(c.prefix, c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    EXPECT_EQ(ReadFile(m), frame);
    EXPECT_EQ(ReadFile(p), projectText);
    EXPECT_EQ(ReadFile(png), "old");
    struct stat st {};
    EXPECT_TRUE(null.empty() || (::stat(null.c_str(), &st) == 0 && S_ISCHR(st.st_mode)));
}

// Names and paths are bytes: a model whose file name and section names are Latin-1 keeps them
// through a project, two such names stay two keys, and two such output names are two files.
TEST(HostileCli, NamesKeepTheirBytes) {
    std::string frame = ReadFile(SourcePath("examples/two_storey_frame.s2k"));
    for (const auto& [from, to] : {std::pair{"NCOL400", "S\xE9"}, std::pair{"DCOL350", "S\xE8"}})
        for (size_t at; (at = frame.find(from)) != std::string::npos;)
            frame.replace(at, std::string(from).size(), to);
    const std::string m = WriteTempFile("mod\xE9le.s2k", frame);
    const std::string p = TempPath("proj\xE9.vandra");
    ASSERT_EQ(RunCli("save-project " + Q(m) + " -o " + Q(p) +
                     " --set 'Sections[S\xE9].DivideFX=7' --set 'Sections[S\xE8].DivideFX=9'")
                  .status,
              0);
    // U+EFE9 and U+EFE8 in UTF-8.
    EXPECT_NE(ReadFile(p).find("\"S\xEE\xBF\xA9\": {"), std::string::npos);
    EXPECT_NE(ReadFile(p).find("\"S\xEE\xBF\xA8\": {"), std::string::npos);
    const CliRun dump = RunCli("dump " + Q(p));
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_TRUE(dump.err.empty()) << dump.err; // every name matched
    EXPECT_NE(dump.out.find("\"DivideFX\": 7"), std::string::npos);
    EXPECT_NE(dump.out.find("\"DivideFX\": 9"), std::string::npos);

    const std::string a = TempPath("a\xE9.png"), b = TempPath("a\xE8.png");
    EXPECT_EQ(RunCli("render " + Q(p) + " -o " + Q(a) + " --size 40x30").status, 0);
    EXPECT_EQ(RunCli("render " + Q(p) + " -o " + Q(b) + " --size 50x30").status, 0);
    EXPECT_NE(ReadFile(a), ReadFile(b));
    EXPECT_EQ(ReadFile(a).substr(1, 3), "PNG");
}

// The JSON text of a name reads back as its bytes; UTF-8 names are written as they are.
TEST(HostileCli, ProjectNamesAsJsonText) {
    const struct {
        std::string bytes;
        QString text;
    } cases[] = {
        {"NCOL400", "NCOL400"},
        {"B\xC3\xA9ton", QString::fromUtf8("B\xC3\xA9ton")},
        {"B\xE9ton", QString("B") + QChar(0xEFE9) + "ton"},
        {"\xEE\xBF\xA9", QString(QChar(0xEFEE)) + QChar(0xEFBF) + QChar(0xEFA9)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vandra::project::JsonText(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(vandra::project::BytesOf(c.text), c.bytes);
    }
}

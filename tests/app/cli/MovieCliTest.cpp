// vandra-cli render --animate: movies of real solver output, decoded again by ffprobe and ffmpeg.
// A frame of the movie must be the picture `render -o` gives for that step.
#include "CliTestSupport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace cli_test;

namespace {

const std::string kCantilever = "'" + SourcePath("tests/data/cantilever_elastic/cantilever.s2k") + "'";
const std::string kFrame = "'" + SourcePath("tests/data/two_storey_frame.s2k") + "'";

std::string Data(const std::string& run) {
    return "'" + SourcePath("tests/data/" + run) + "'";
}

bool HaveFfmpeg() {
    return !QStandardPaths::findExecutable("ffprobe").isEmpty() &&
           !QStandardPaths::findExecutable("ffmpeg").isEmpty();
}

std::string Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

// "width,height,frames" of the first video stream and the duration in seconds.
std::pair<std::string, double> Probe(const std::string& path) {
    std::istringstream out(Run("ffprobe", {"-v", "error", "-count_frames", "-select_streams",
                                           "v:0", "-show_entries",
                                           "stream=width,height,nb_read_frames:format=duration",
                                           "-of", "csv=p=0", QString::fromStdString(path)}));
    std::pair<std::string, double> probe;
    out >> probe.first >> probe.second;
    return probe;
}

QImage DecodeFrame(const std::string& movie, int index) {
    const std::string png = movie + "." + std::to_string(index) + ".png";
    Run("ffmpeg", {"-v", "error", "-y", "-i", QString::fromStdString(movie), "-vf",
                   QString("select=eq(n\\,%1)").arg(index), "-fps_mode", "passthrough", "-frames:v",
                   "1", QString::fromStdString(png)});
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// Pixels of a and b whose colours differ by more than 8 levels in some channel; every pixel when
// the sizes differ.
long long DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return std::max(1LL, 1LL * a.width() * a.height());
    long long count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++count;
        }
    return count;
}

} // namespace

// Each movie against ffprobe, and frames of it against the picture of that step. The GIF keeps the
// view's colours exactly; the MP4 is checked for its frames and duration (its colour is the
// writer's test). The FIFO row gets a fragmented MP4 through a pipe.
TEST(MovieCli, FramesAreThePicturesOfTheirSteps) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe and ffmpeg (Debian package ffmpeg) not found";
    const std::string view = " --view xz --size 300x200";
    const struct Case {
        std::string name, args;
        bool fifo;
        std::string probe;
        double seconds;
        // Frame index and the render arguments that draw the same picture.
        std::vector<std::pair<int, std::string>> frames;
    } cases[] = {
        {"history.gif",
         kCantilever + view + " --fps 10 --dir " + Data("cantilever_elastic") + " --scale 1000",
         false,
         "300,200,10",
         1.0,
         {{0, " --step 1 --scale 1000"}, {9, " --step 10 --scale 1000"}}},
        {"mode.gif",
         kFrame + view + " --fps 8 --dir " + Data("frame_modal") + " --mode 2 --scale 300",
         false,
         "300,200,8",
         1.0,
         {{0, " --mode 2 --scale 0"}, {2, " --mode 2 --scale 300"}, {6, " --mode 2 --scale -300"}}},
        {"history.mp4",
         kCantilever + view + " --fps 25 --dir " + Data("cantilever_elastic") + " --scale 1000",
         false,
         "300,200,10",
         0.4,
         {}},
        {"pipe.mp4",
         kCantilever + view + " --fps 5 --dir " + Data("cantilever_elastic"),
         true,
         "300,200,10",
         2.0,
         {}},
    };
    for (const Case& c : cases) {
        const std::string movie = TempPath(c.name);
        std::remove(movie.c_str());
        std::string target = movie;
        QProcess reader; // the other end of the pipe
        if (c.fifo) {
            target = TempPath("fifo_" + c.name);
            std::remove(target.c_str());
            ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
            reader.setStandardOutputFile(QString::fromStdString(movie));
            reader.start("cat", {QString::fromStdString(target)});
            ASSERT_TRUE(reader.waitForStarted());
        }
        const CliRun run = RunCli("render " + c.args + " --animate '" + target + "'");
        ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.err.find('%'), std::string::npos) << c.name; // not a terminal: no progress
        if (c.fifo) {
            struct stat st {};
            EXPECT_EQ(::stat(target.c_str(), &st), 0);
            EXPECT_TRUE(S_ISFIFO(st.st_mode)) << c.name;
            ASSERT_TRUE(reader.waitForFinished(60000));
        }
        const auto [probe, seconds] = Probe(movie);
        EXPECT_EQ(probe, c.probe) << c.name;
        EXPECT_NEAR(seconds, c.seconds, 0.05) << c.name;
        const std::string model = c.args.substr(0, c.args.find(" --fps"));
        const std::string dir = c.args.substr(c.args.find(" --dir"));
        for (const auto& [index, step] : c.frames) {
            const std::string png = TempPath(c.name + "_step.png");
            const std::string runDir = dir.substr(0, dir.find(" --", 1));
            ASSERT_EQ(RunCli("render " + model + runDir + step + " -o '" + png + "'").status, 0);
            const QImage picture = QImage(QString::fromStdString(png)).convertToFormat(
                QImage::Format_RGB32);
            EXPECT_LE(DifferentPixels(DecodeFrame(movie, index), picture), 10)
                << c.name << " frame " << index;
        }
    }
}

// Refused requests exit as usage or file errors and leave the file of that name as it was.
TEST(MovieCli, RefusedRequestsLeaveThePreviousFile) {
    const std::string run = " --dir " + Data("cantilever_elastic");
    const struct {
        std::string args, name;
        int status;
        std::string message;
    } cases[] = {
        {" --size 0x10" + run, "a.mp4", 2, "between 1 x 1 and 8000 x 8000 pixels, not 0 x 10"},
        {" --size 8001x10" + run, "a.gif", 2, "not 8001 x 10"},
        {" --fps 0" + run, "a.mp4", 2, "between 1 and 120 frames a second, not 0"},
        {" --fps 121" + run, "a.mp4", 2, "not 121"},
        {" --fps 60" + run, "a.gif", 2, "A GIF plays at most 50 frames a second"},
        {run, "a.avi", 2, "A movie is written as .mp4 or .gif"},
        {"", "a.mp4", 2, "--animate needs --dir RUN"},
        {run + " --step 3", "a.mp4", 2, "--animate shows every step"},
        {" --dir " + Data("frame_modal"), "a.mp4", 1, "node0.out"},
        {run, "no_such_folder/a.mp4", 1, "Cannot write file"},
    };
    for (const auto& c : cases) {
        const std::string target = TempPath(c.name);
        const bool inFolder = c.name.find('/') == std::string::npos;
        if (inFolder) WriteTempFile(c.name, "previous");
        const CliRun r = RunCli("render " + kCantilever + c.args + " --animate '" + target + "'");
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        if (inFolder) {
            EXPECT_EQ(ReadFile(target), "previous") << c.args;
        }
    }
}

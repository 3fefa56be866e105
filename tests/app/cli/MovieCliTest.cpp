// vandra-cli render --animate on real solver output, decoded again by ffprobe and ffmpeg: a frame
// of the movie is the picture `render -o` gives for that step. Refusals are cases in
// tests/cases/cli/movies.case.
#include "CliTestSupport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>

using namespace cli_test;

namespace {

std::string Data(const std::string& path) {
    return "'" + SourcePath("tests/data/" + path) + "'";
}
const std::string kCantilever = Data("cantilever_elastic/cantilever.s2k");

std::string RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

} // namespace

// Each movie's "width,height,frames" and duration; frames of the GIFs against the pictures of
// their steps. The MP4 goes into a FIFO, which stays one and gets a fragmented MP4.
TEST(MovieCli, FramesAreThePicturesOfTheirSteps) {
    if (QStandardPaths::findExecutable("ffprobe").isEmpty() ||
        QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffprobe and ffmpeg (Debian package ffmpeg) not found";
    const std::string view = " --view xz --size 300x200 --dir ";
    const struct {
        std::string name, model, run, args, probe;
        double seconds;
        std::vector<std::pair<int, std::string>> frames; // frame, render arguments of its step
    } cases[] = {
        // clang-format off
        {"steps.gif", kCantilever, "cantilever_elastic", " --fps 10 --scale 1000", "300,200,10",
         1.0, {{0, " --step 1 --scale 1000"}, {9, " --step 10 --scale 1000"}}},
        {"mode.gif", Data("two_storey_frame.s2k"), "frame_modal", " --fps 8 --mode 2 --scale 300",
         "300,200,8", 1.0,
         {{0, " --mode 2 --scale 0"}, {2, " --mode 2 --scale 300"}, {6, " --mode 2 --scale -300"}}},
        {"pipe.mp4", kCantilever, "cantilever_elastic", " --fps 5", "300,200,10", 2.0, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string movie = TempPath(c.name), target = TempPath("fifo_" + c.name);
        const bool fifo = c.name == "pipe.mp4";
        std::remove(movie.c_str());
        std::remove(target.c_str());
        QProcess reader; // the other end of the pipe
        if (fifo) {
            ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
            reader.setStandardOutputFile(QString::fromStdString(movie));
            reader.start("cat", {QString::fromStdString(target)});
        }
        const CliRun run = RunCli("render " + c.model + view + Data(c.run) + c.args +
                                  " --animate '" + (fifo ? target : movie) + "'");
        ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.err.find('%'), std::string::npos) << run.err; // no terminal: no progress
        struct stat st {};
        EXPECT_TRUE(!fifo || (reader.waitForFinished(60000) && ::stat(target.c_str(), &st) == 0 &&
                              S_ISFIFO(st.st_mode)));
        std::istringstream probe(RunTool(
            "ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                        "stream=width,height,nb_read_frames:format=duration", "-of", "csv=p=0",
                        QString::fromStdString(movie)}));
        std::string size;
        double seconds = 0;
        probe >> size >> seconds;
        EXPECT_EQ(size, c.probe) << c.name;
        EXPECT_NEAR(seconds, c.seconds, 0.05) << c.name;
        for (const auto& [index, step] : c.frames) {
            const QString png = QString::fromStdString(TempPath("step.png")),
                          frame = QString::fromStdString(TempPath("frame.png"));
            ASSERT_EQ(RunCli("render " + c.model + view + Data(c.run) + step + " -o '" +
                             png.toStdString() + "'")
                          .status,
                      0);
            RunTool("ffmpeg", {"-v", "error", "-y", "-i", QString::fromStdString(movie), "-vf",
                               QString("select=eq(n\\,%1)").arg(index), "-fps_mode", "passthrough",
                               "-frames:v", "1", frame});
            // A GIF keeps every colour of a frame of at most 256, as the view's are.
            EXPECT_EQ(QImage(frame).convertToFormat(QImage::Format_RGB32),
                      QImage(png).convertToFormat(QImage::Format_RGB32))
                << c.name << " frame " << index;
        }
    }
}

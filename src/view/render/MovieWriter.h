// Movies of the model view: frames drawn by the renderer, encoded with the FFmpeg libraries into
// an MP4 (H.264, yuv420p) or an animated GIF, chosen by the file name's extension.
//
// The movie is written to a temporary file beside the target and renamed over it by Finish();
// a cancelled or failed movie leaves no file and leaves a previous file of that name as it was.
// A device or a FIFO (/dev/null, a pipe) is written directly. See Pictures.md.
#pragma once

#include <QImage>

#include <memory>
#include <string>

namespace vandra {

enum class MovieFormat { Mp4, Gif };

// Frame rates a movie may have, in frames a second. A GIF counts its delays in hundredths of a
// second and viewers slow delays under two hundredths down, so it plays at most 50.
constexpr int kMinMovieFps = 1;
constexpr int kMaxMovieFps = 120;
constexpr int kMaxGifFps = 50;

// The format a file name asks for: a name ending in ".mp4" or ".gif", in any case. UsageError
// "A movie is written as .mp4 or .gif, not "<path>"" otherwise.
MovieFormat MovieFormatOf(const std::string& path);

// The size of the pictures a movie of the asked size holds. H.264 in yuv420p needs even sides:
// an odd side of an MP4 grows by one pixel, a copy of the frame's last column or row. A GIF
// holds the asked size.
QSize EncodedMovieSize(MovieFormat format, int width, int height);

class MovieWriter {
public:
    // Checks the request and opens the encoder on a temporary file beside path. UsageError for a
    // name that is not .mp4 or .gif, a side outside 1..8000 pixels or a frame rate outside
    // 1..120 (1..50 for a GIF); InputError "Cannot write file "<path>". <reason>" when the file
    // cannot be created and "Cannot encode the movie "<path>". <reason>" when the encoder fails.
    // Nothing is left on the disk when it throws.
    MovieWriter(const std::string& path, int width, int height, int fps);
    // Cancels a movie that was not finished.
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    // Encodes the next frame, shown for 1/fps seconds. The image has the asked size, in any
    // format; a transparent pixel shows the white background. InputError when the size differs
    // or the encoder fails; the movie is then cancelled.
    void AddFrame(const QImage& frame);
    // Writes the rest of the movie and puts the file in place. InputError when there was no
    // frame or the writing fails; the movie is then cancelled. Does nothing once finished or
    // cancelled.
    void Finish();
    // Stops the movie and removes what was written; a previous file of the name stays as it was.
    void Cancel() noexcept;

    MovieFormat Format() const { return format_; }
    int FrameCount() const { return frames_; }
    bool IsOpen() const { return encoder_ != nullptr; }

private:
    struct Encoder;

    void Encode(const QImage& rgb);

    std::string path_;
    MovieFormat format_;
    int width_ = 0, height_ = 0;
    int frames_ = 0;
    std::unique_ptr<Encoder> encoder_;
};

} // namespace vandra

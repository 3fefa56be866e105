#include "view/render/MovieWriter.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "view/render/FramePalette.h"
#include "view/render/PictureWriter.h"

#include <QPainter>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <mutex>

namespace vandra {
namespace {

// What FFmpeg last reported as an error on this thread: its messages go into the exceptions, not
// onto the terminal.
thread_local std::string lastLibraryError;

void KeepErrors(void* object, int level, const char* format, va_list args) {
    if (level > AV_LOG_ERROR) return;
    char line[1024];
    int printPrefix = 0;
    va_list copy;
    va_copy(copy, args);
    av_log_format_line2(object, level, format, copy, line, sizeof line, &printPrefix);
    va_end(copy);
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    lastLibraryError = text;
}

void CatchLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(KeepErrors); });
    lastLibraryError.clear();
}

std::string Reason(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    std::string reason = text;
    if (!lastLibraryError.empty()) reason += " (" + lastLibraryError + ")";
    return reason;
}

// The frame as Format_RGB32 of the encoded size: drawn over white, an odd side padded with a copy
// of the last column or row.
QImage EncodedFrame(const QImage& frame, QSize encoded) {
    QImage rgb;
    if (frame.format() == QImage::Format_RGB32 && frame.size() == encoded) return frame;
    if (frame.hasAlphaChannel()) {
        rgb = QImage(frame.size(), QImage::Format_RGB32);
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, frame);
    } else {
        rgb = frame.convertToFormat(QImage::Format_RGB32);
    }
    if (rgb.size() == encoded) return rgb;
    QImage padded(encoded, QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height();
    for (int y = 0; y < encoded.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(std::min(y, h - 1)));
        QRgb* out = reinterpret_cast<QRgb*>(padded.scanLine(y));
        std::copy(in, in + w, out);
        std::fill(out + w, out + encoded.width(), in[w - 1]);
    }
    return padded;
}

} // namespace

MovieFormat MovieFormatOf(const std::string& path) {
    if (HasExtension(path, ".mp4")) return MovieFormat::Mp4;
    if (HasExtension(path, ".gif")) return MovieFormat::Gif;
    throw UsageError("A movie is written as .mp4 or .gif, not \"" + path + "\"");
}

QSize EncodedMovieSize(MovieFormat format, int width, int height) {
    if (format == MovieFormat::Gif) return {width, height};
    return {width + width % 2, height + height % 2};
}

struct MovieWriter::Encoder {
    explicit Encoder(const std::string& path) : output(path) {}
    ~Encoder() {
        // The GIF muxer holds each frame until the next one gives its delay and lets the last go
        // only in the trailer: a cancelled GIF writes it into the temporary file that goes.
        if (gifTrailerPending) av_write_trailer(container);
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&picture);
        avcodec_free_context(&codec);
        if (container != nullptr) avio_closep(&container->pb);
        avformat_free_context(container);
    }

    AtomicOutput output;
    AVFormatContext* container = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* picture = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    FramePalette palette;
    int64_t gifFlags = 0; // what the GIF encoder stores of a frame: what changed, by default
    bool gifTrailerPending = false;

    // The encoder of the format for frames of that size, and its frame and scaler.
    void OpenCodec(bool mp4, QSize size, int fps, const std::string& path);
    // Opens the output and writes the container's header.
    void OpenFile(bool mp4, int fps, const std::string& path);
};

MovieWriter::MovieWriter(const std::string& path, int width, int height, int fps)
    : path_(path), format_(MovieFormatOf(path)), width_(width), height_(height) {
    CheckPictureSize("movie", width, height);
    if (fps < kMinMovieFps || fps > kMaxMovieFps)
        throw UsageError(text::Format("The movie frame rate must lie between %d and %d frames a "
                                      "second, not %d",
                                      {kMinMovieFps, kMaxMovieFps, fps}));
    if (format_ == MovieFormat::Gif && fps > kMaxGifFps)
        throw UsageError(
            text::Format("A GIF plays at most %d frames a second (it counts its delays "
                         "in hundredths of a second), not %d: ask for fewer or write an "
                         "MP4",
                         {kMaxGifFps, fps}));

    CatchLibraryMessages();
    auto e = std::make_unique<Encoder>(path);
    const bool mp4 = format_ == MovieFormat::Mp4;
    e->OpenCodec(mp4, EncodedMovieSize(format_, width, height), fps, path);
    e->OpenFile(mp4, fps, path);
    encoder_ = std::move(e);
}

void MovieWriter::Encoder::OpenCodec(bool mp4, QSize size, int fps, const std::string& path) {
    const auto check = [&](int code) {
        if (code < 0) throw InputError("Cannot encode the movie \"" + path + "\". " + Reason(code));
    };
    check(avformat_alloc_output_context2(&container, nullptr, mp4 ? "mp4" : "gif",
                                         output.WritePath().c_str()));
    const AVCodec* encoder =
        mp4 ? avcodec_find_encoder_by_name("libx264") : avcodec_find_encoder(AV_CODEC_ID_GIF);
    if (encoder == nullptr)
        throw InputError("Cannot encode the movie \"" + path + "\". The FFmpeg libraries have no " +
                         (mp4 ? "H.264 encoder (libx264)" : "GIF encoder"));
    stream = avformat_new_stream(container, nullptr);
    codec = avcodec_alloc_context3(encoder);
    picture = av_frame_alloc();
    packet = av_packet_alloc();
    if (stream == nullptr || codec == nullptr || picture == nullptr || packet == nullptr)
        check(AVERROR(ENOMEM));

    AVCodecContext* c = codec;
    c->width = size.width();
    c->height = size.height();
    c->time_base = AVRational{1, fps};
    c->framerate = AVRational{fps, 1};
    c->sample_aspect_ratio = AVRational{1, 1};
    AVDictionary* codecOptions = nullptr;
    if (mp4) {
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        // HD colours in the video range, said in the stream so that players convert them back
        // as they were made
        c->colorspace = AVCOL_SPC_BT709;
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_BT709;
        c->color_range = AVCOL_RANGE_MPEG;
        av_dict_set(&codecOptions, "preset", "medium", 0);
        av_dict_set(&codecOptions, "tune", "animation", 0);
        av_dict_set(&codecOptions, "crf", "18", 0);
    } else {
        c->pix_fmt = AV_PIX_FMT_PAL8;
    }
    if (container->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int opened = avcodec_open2(c, encoder, &codecOptions);
    av_dict_free(&codecOptions);
    check(opened);
    if (!mp4) check(av_opt_get_int(c->priv_data, "gifflags", 0, &gifFlags));
    check(avcodec_parameters_from_context(stream->codecpar, c));
    stream->time_base = c->time_base;
    stream->avg_frame_rate = c->framerate;

    picture->format = c->pix_fmt;
    picture->width = c->width;
    picture->height = c->height;
    check(av_frame_get_buffer(picture, 0));
    if (mp4) {
        scaler = sws_getContext(
            c->width, c->height, AV_PIX_FMT_RGB32, c->width, c->height, AV_PIX_FMT_YUV420P,
            SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr, nullptr);
        if (scaler == nullptr) check(AVERROR(EINVAL));
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
}

void MovieWriter::Encoder::OpenFile(bool mp4, int fps, const std::string& path) {
    const int io = avio_open(&container->pb, output.WritePath().c_str(), AVIO_FLAG_WRITE);
    if (io < 0) throw InputError("Cannot write file \"" + path + "\". " + Reason(io));
    AVDictionary* muxerOptions = nullptr;
    if (mp4) {
        const bool seekable = (container->pb->seekable & AVIO_SEEKABLE_NORMAL) != 0;
        // A regular file gets its index at the front, so that a player starts before it has
        // read the whole file; a pipe cannot be gone back over and gets a fragmented movie.
        if (!output.Direct())
            av_dict_set(&muxerOptions, "movflags", "+faststart", 0);
        else if (!seekable)
            av_dict_set(&muxerOptions, "movflags", "+frag_keyframe+empty_moov+default_base_moof",
                        0);
    } else {
        // A GIF's delays count hundredths of a second; the last frame has no next frame to
        // take its delay from.
        av_dict_set(&muxerOptions, "loop", "0", 0);
        av_dict_set(&muxerOptions, "final_delay", text::FormatInt((100 + fps / 2) / fps).c_str(),
                    0);
    }
    const int header = avformat_write_header(container, &muxerOptions);
    av_dict_free(&muxerOptions);
    if (header < 0) throw InputError("Cannot write file \"" + path + "\". " + Reason(header));
    gifTrailerPending = !mp4;
}

MovieWriter::~MovieWriter() {
    Cancel();
}

void MovieWriter::AddFrame(const QImage& frame) {
    if (!encoder_) throw std::logic_error("a frame added to a movie that is not open");
    if (frame.width() != width_ || frame.height() != height_) {
        const std::string message = "Frame " + text::FormatInt(frames_ + 1) + " of the movie \"" +
                                    path_ + "\" is " + text::FormatInt(frame.width()) + " x " +
                                    text::FormatInt(frame.height()) + " pixels, not " +
                                    text::FormatInt(width_) + " x " + text::FormatInt(height_);
        Cancel();
        throw InputError(message);
    }
    lastLibraryError.clear();
    try {
        Encode(EncodedFrame(frame, EncodedMovieSize(format_, width_, height_)));
    } catch (...) {
        Cancel();
        throw;
    }
    ++frames_;
}

// Sends one frame (or, given a null image, the end of the movie) to the encoder and writes the
// packets it gives back.
void MovieWriter::Encode(const QImage& rgb) {
    Encoder& e = *encoder_;
    const auto check = [&](int code) {
        if (code < 0)
            throw InputError("Cannot encode the movie \"" + path_ + "\". " + Reason(code));
    };
    if (!rgb.isNull()) {
        check(av_frame_make_writable(e.picture));
        if (format_ == MovieFormat::Mp4) {
            const uint8_t* source[] = {rgb.constBits()};
            const int stride[] = {static_cast<int>(rgb.bytesPerLine())};
            sws_scale(e.scaler, source, stride, 0, rgb.height(), e.picture->data,
                      e.picture->linesize);
        } else {
            // A frame whose indices mean other colours than the previous frame's is stored
            // whole: the encoder takes an unchanged index for an unchanged pixel.
            const bool whole = e.palette.Map(rgb, e.picture->data[0], e.picture->linesize[0]) ==
                               FramePalette::Change::Rebuilt;
            check(av_opt_set_int(e.codec->priv_data, "gifflags", whole ? 0 : e.gifFlags, 0));
            uint32_t* table = reinterpret_cast<uint32_t*>(e.picture->data[1]);
            std::fill(table, table + AVPALETTE_SIZE / 4, 0xff000000u);
            std::copy(e.palette.Colors().begin(), e.palette.Colors().end(), table);
        }
        e.picture->pts = frames_;
        check(avcodec_send_frame(e.codec, e.picture));
    } else {
        check(avcodec_send_frame(e.codec, nullptr));
    }
    for (;;) {
        const int got = avcodec_receive_packet(e.codec, e.packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) break;
        check(got);
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        const int written = av_interleaved_write_frame(e.container, e.packet);
        if (written < 0)
            throw InputError("Cannot write file \"" + path_ + "\". " + Reason(written));
    }
}

void MovieWriter::Finish() {
    if (!encoder_) return;
    try {
        if (frames_ == 0)
            throw InputError("Cannot write the movie \"" + path_ + "\": it has no frames");
        lastLibraryError.clear();
        Encode(QImage());
        Encoder& e = *encoder_;
        const auto fail = [&](int code) {
            throw InputError("Cannot write file \"" + path_ + "\". " + Reason(code));
        };
        e.gifTrailerPending = false;
        const int trailer = av_write_trailer(e.container);
        if (trailer < 0) fail(trailer);
        avio_flush(e.container->pb);
        if (e.container->pb->error < 0) fail(e.container->pb->error);
        const int closed = avio_closep(&e.container->pb);
        if (closed < 0) fail(closed);
        e.output.Commit();
    } catch (...) {
        Cancel();
        throw;
    }
    encoder_.reset();
}

void MovieWriter::Cancel() noexcept {
    encoder_.reset();
}

} // namespace vandra

#include "view/render/FramePalette.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vandra;

namespace {

QImage Image(int w, int h, const std::function<QRgb(int, int)>& color) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, color(x, y));
    return image;
}

// The image the palette and the indices stand for. The index rows are padded, as a frame's are.
QImage Mapped(FramePalette& palette, const QImage& source, bool* changed = nullptr) {
    const int stride = source.width() + 5;
    std::vector<uint8_t> indices(static_cast<size_t>(stride * source.height()), 255);
    const bool c = palette.Map(source, indices.data(), stride);
    if (changed) *changed = c;
    return Image(source.width(), source.height(), [&](int x, int y) {
        const size_t i = indices[static_cast<size_t>(y * stride + x)];
        return i < palette.Colors().size() ? palette.Colors()[i] : qRgb(1, 2, 3);
    });
}

int MaxChannelDifference(const QImage& a, const QImage& b) {
    int d = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            d = std::max({d, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
        }
    return d;
}

QRgb Kept(int i) {
    return qRgb(i, 255 - i, (i * 7) % 256);
}

} // namespace

TEST(FramePalette, FramesMapToAtMost256Colours) {
    struct Case {
        const char* what;
        QImage image;
        size_t colors;
        int maxDifference;
    } cases[] = {
        {"lines on white",
         Image(40, 30,
               [](int x, int y) {
                   return x == 7 ? qRgb(255, 0, 0) : y == 3 ? qRgb(0, 0, 255) : qRgb(255, 255, 255);
               }),
         3, 0},
        {"256 colours, one a pixel", Image(16, 16, [](int x, int y) { return Kept(16 * y + x); }),
         256, 0},
        // 256 colours of four pixels each and, in the last row, 40 of one pixel each, one step of
        // red from a frequent one: the frequent ones are kept, the rare ones drawn with them
        {"more than 256 colours",
         Image(32, 33,
               [](int x, int y) {
                   if (y == 32) {
                       const QRgb near = Kept(5 * x);
                       return x < 20 ? qRgb(qRed(near) + 1, qGreen(near), qBlue(near))
                                     : qRgb(qRed(near), qGreen(near) + 1, qBlue(near));
                   }
                   return Kept(16 * (y / 2) + x / 2);
               }),
         256, 1},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        FramePalette palette;
        bool changed = false;
        const QImage mapped = Mapped(palette, c.image, &changed);
        EXPECT_TRUE(changed);
        EXPECT_EQ(palette.Colors().size(), c.colors);
        EXPECT_EQ(MaxChannelDifference(mapped, c.image), c.maxDifference);
    }
}

// A frame whose colours the table holds keeps the table; one with a new colour gets a new one.
TEST(FramePalette, TheTableChangesOnlyForNewColours) {
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0), green = qRgb(0, 200, 0);
    const auto frame = [&](QRgb line) {
        return Image(20, 10, [&](int x, int) { return x == 4 || x == 15 ? line : white; });
    };
    const auto whiteOnly = Image(20, 10, [&](int, int) { return white; });
    struct Step {
        QImage image;
        bool changed;
        std::vector<QRgb> colors; // most frequent first
    } steps[] = {
        {frame(red), true, {white, red}},  {whiteOnly, false, {white, red}},
        {frame(red), false, {white, red}}, {frame(green), true, {white, green}},
        {frame(red), true, {white, red}},
    };
    FramePalette palette;
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        bool changed = false;
        const QImage mapped = Mapped(palette, steps[i].image, &changed);
        EXPECT_EQ(changed, steps[i].changed);
        EXPECT_EQ(palette.Colors(), steps[i].colors);
        EXPECT_EQ(MaxChannelDifference(mapped, steps[i].image), 0);
    }
}

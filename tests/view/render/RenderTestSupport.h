// Shared set-up of the renderer's pixel tests: a QGuiApplication for the fonts, and models built
// in code whose joints sit on chosen pixels.
#pragma once

#include "CaseFile.h"
#include "model/Model.h"
#include "view/Camera.h"

#include <QGuiApplication>
#include <QImage>

#include <initializer_list>
#include <string>
#include <utility>

namespace vandra::testing {

inline void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_render";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// A view in which the node (X, Y, 0) lands on pixel (X, -Y) of a W x H image.
inline TViewState PixelView(int W, int H) {
    TViewState v;
    v.ViewScale = 1;
    v.PanU = W / 2.0;
    v.PanV = H / 2.0;
    return v;
}

// A model with joints at the given pixels (in a PixelView), one frame section per colour and
// no elements yet.
inline TModel JointsAtPixels(std::initializer_list<std::pair<int, int>> pixels) {
    TModel m;
    m.Nodes.resize(1);
    for (const auto& [x, y] : pixels) {
        TNODE n;
        n.X = x;
        n.Y = -y;
        m.Nodes.push_back(n);
    }
    m.NodeCount = static_cast<int>(pixels.size());
    m.Frames.resize(1);
    m.Sections.resize(1);
    m.Shells.resize(1);
    m.AreaSecs.resize(1);
    m.Solids.resize(1);
    m.Loads.resize(1);
    m.Diaphs.resize(1);
    return m;
}

inline int AddSection(TModel& m, uint32_t color, int frameType) {
    TSECTION s;
    s.Color = color;
    s.FrameType = frameType;
    m.Sections.push_back(s);
    return m.SectionCount = static_cast<int>(m.Sections.size()) - 1;
}

inline int AddFrame(TModel& m, int nodeI, int nodeJ, int secIdx) {
    TFRAME f;
    f.NodeI = nodeI;
    f.NodeJ = nodeJ;
    f.SecIdx = secIdx;
    m.Frames.push_back(f);
    return m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
}

inline QImage BlankImage(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

inline int CountColor(const QImage& image, QRgb color, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (image.valid(x, y) && image.pixel(x, y) == (color | 0xFF000000u)) ++n;
    return n;
}

} // namespace vandra::testing

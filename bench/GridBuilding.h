// The grid building of the redraw benchmarks: 50,000 joints (50 x 50 x 20, the lowest storey
// fixed) and 100,000 elastic frames of three sections.
#pragma once

#include "model/Model.h"

namespace bench {

constexpr int kNx = 50, kNy = 50, kNz = 20; // 50,000 joints
constexpr int kFrames = 100000;

inline vandra::TModel GridBuilding() {
    vandra::TModel m;
    m.Nodes.resize(1);
    auto id = [](int i, int j, int k) { return 1 + i + kNx * (j + kNy * k); };
    for (int k = 0; k < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i) {
                vandra::TNODE n;
                n.X = i * 6.0;
                n.Y = j * 5.0;
                n.Z = k * 3.2;
                if (k == 0) n.Restraint = {0, 1, 1, 1, 1, 1, 1};
                m.Nodes.push_back(n);
            }
    m.NodeCount = kNx * kNy * kNz;
    m.Sections.resize(4);
    m.SectionCount = 3;
    for (int s = 1; s <= 3; ++s) {
        m.Sections[static_cast<size_t>(s)].Color = vandra::SectionColor(s);
        m.Sections[static_cast<size_t>(s)].FrameType = vandra::kElasticBeamColumn;
    }
    m.Frames.resize(1);
    auto add = [&](int a, int b, int sec) {
        if (static_cast<int>(m.Frames.size()) > kFrames) return;
        vandra::TFRAME f;
        f.NodeI = a;
        f.NodeJ = b;
        f.SecIdx = sec;
        f.Axis2Z = 1;
        m.Frames.push_back(f);
    };
    for (int k = 0; k + 1 < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i)
                add(id(i, j, k), id(i, j, k + 1), 1);
    for (int k = 1; k < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i + 1 < kNx; ++i)
                add(id(i, j, k), id(i + 1, j, k), 2);
    for (int k = 1; k < kNz; ++k)
        for (int i = 0; i < kNx; ++i)
            for (int j = 0; j + 1 < kNy; ++j)
                add(id(i, j, k), id(i, j + 1, k), 3);
    m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
    return m;
}

} // namespace bench

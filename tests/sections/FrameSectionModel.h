// A model of frame sections with their materials, written out by hand for the section analysis
// tests: rectangles of cells with bars as the layouts make them, and elastic sections.
#pragma once

#include "FiberSectionBuilder.h"

#include <string>

namespace vandra::testing {

inline TMAT ElasticLaw(double e) {
    TMAT m;
    m.Name = "EL";
    m.MatType = kMatElastic;
    m.E = e;
    m.G = e / 2.5;
    return m;
}

struct FrameSectionModel {
    TModel model;
    TSettings settings;

    FrameSectionModel() { model.Mats.resize(1), model.Sections.resize(1); }

    int Material(const TMAT& mat) {
        model.Mats.push_back(mat);
        return model.MatCount = static_cast<int>(model.Mats.size()) - 1;
    }

    // A rectangle `depth` (T1, along z) by `width` (T2, along y) of material mat, cut into fx
    // cells across the width and fy over the depth, of the given frame type.
    TSECTION& Rectangle(const std::string& name, int frameType, double depth, double width, int mat,
                        int fx, int fy) {
        TSECTION& s = model.Sections.emplace_back();
        model.SectionCount = static_cast<int>(model.Sections.size()) - 1;
        s.Name = name;
        s.Shape = kShapeRectangle;
        s.FrameType = frameType;
        s.T[1] = depth, s.T[2] = width;
        s.MatIdx = mat;
        s.DivideFX = fx, s.DivideFY = fy;
        return s;
    }

    // Column bars of material rebar: nx bars of area/nx in the rows at z = +-(depth/2 - cover), ny
    // of sideArea/ny along each side.
    void ColumnBars(TSECTION& s, int rebar, double cover, int nx, double area, int ny = 0,
                    double sideArea = 0) {
        s.SectionKind = kColumnSection;
        s.Cover = cover;
        s.BarNumNX = nx, s.BarTop = area;
        s.BarNumNY = ny, s.BarBot = sideArea;
        settings.RebarMat = rebar;
    }
};

} // namespace vandra::testing

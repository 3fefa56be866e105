// Fiber tables and their materials written out by hand for the section analysis tests: cells of a
// rectangle at their centres, bars as single fibers.
#pragma once

#include "sections/SectionForces.h"

#include <string>
#include <vector>

namespace vandra::testing {

inline TMAT SteelLaw(int law, double fy, double e0, double b, double r0 = 20) {
    TMAT m;
    m.Name = law == kMatSteel01 ? "S01" : "S02";
    m.MatType = law;
    m.E = m.E0 = e0;
    m.Fy = fy;
    m.b = b;
    m.R0 = r0;
    m.cR1 = 0.925;
    m.cR2 = 0.15;
    return m;
}

inline TMAT ConcreteLaw(int law, double fpc, double epsc0, double fpcu, double epsU, double ft = 0,
                        double ets = 0) {
    TMAT m;
    m.Name = law == kMatConcrete01 ? "C01" : "C02";
    m.MatType = law;
    m.E = 2 * fpc / epsc0;
    m.fpc = fpc;
    m.epsc0 = epsc0;
    m.fpcu = fpcu;
    m.epsU = epsU;
    m.lambda = 0.1;
    m.ft = ft;
    m.Ets = ets;
    return m;
}

struct FiberSectionBuilder {
    TModel model;
    std::vector<TFIBER> fibers;

    FiberSectionBuilder() { model.Mats.resize(1); }

    // The material's index in the model.
    int Material(const TMAT& mat) {
        model.Mats.push_back(mat);
        return model.MatCount = static_cast<int>(model.Mats.size()) - 1;
    }

    // The rectangle y0..y1 by z0..z1 cut into ny by nz cells.
    void Cells(double y0, double y1, int ny, double z0, double z1, int nz, int mat) {
        const double dy = (y1 - y0) / ny, dz = (z1 - z0) / nz;
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < ny; ++i)
                fibers.push_back({y0 + dy * (i + 0.5), z0 + dz * (j + 0.5), dy * dz, mat});
    }

    void Bar(double y, double z, double area, int mat) { fibers.push_back({y, z, area, mat}); }

    AnalysisSection Prepare(const std::string& name = "SEC") const {
        return PrepareAnalysisSection(name, fibers, model);
    }
};

// An L of Concrete02 away from the origin, with bars of Steel02 of four sizes: unsymmetric both
// ways, so that the area centroid, both moments and both curvatures all show.
inline FiberSectionBuilder ReinforcedLSection() {
    FiberSectionBuilder b;
    const int concrete = b.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500));
    const int steel = b.Material(SteelLaw(kMatSteel02, 400, 200000, 0.01, 18));
    b.Cells(100, 400, 6, 50, 150, 4, concrete);
    b.Cells(100, 200, 2, 150, 650, 10, concrete);
    b.Bar(130, 80, 500, steel);
    b.Bar(370, 80, 300, steel);
    b.Bar(130, 620, 800, steel);
    b.Bar(170, 620, 200, steel);
    return b;
}

} // namespace vandra::testing

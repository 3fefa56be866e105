#include "post/CurvedFrames.h"

namespace vandra {

void CurvedFrame(const TFrameGeometry& g, const TJointMotion& i, const TJointMotion& j,
                 double scale, bool bends, int n, Vec3* out) {
    if (n < 2) return;
    bends = bends && g.HasAxes;
    const Vec3 ui = bends ? ToLocal(g, i.U) : i.U, uj = bends ? ToLocal(g, j.U) : j.U;
    const Vec3 ri = ToLocal(g, i.R), rj = ToLocal(g, j.R);
    const double length = g.Length;
    for (int k = 0; k < n; ++k) {
        const double s = static_cast<double>(k) / (n - 1);
        Vec3 d;
        if (bends) {
            const double s2 = s * s, s3 = s2 * s;
            const double h1 = 1 - 3 * s2 + 2 * s3, h2 = length * (s - 2 * s2 + s3);
            const double h3 = 3 * s2 - 2 * s3, h4 = length * (s3 - s2);
            const Vec3 local = {
                (1 - s) * ui[0] + s * uj[0],
                h1 * ui[1] + h2 * ri[2] + h3 * uj[1] + h4 * rj[2],
                h1 * ui[2] - h2 * ri[1] + h3 * uj[2] - h4 * rj[1],
            };
            d = ToGlobal(g, local);
        } else {
            for (size_t c = 0; c < 3; ++c)
                d[c] = (1 - s) * ui[c] + s * uj[c];
        }
        for (size_t c = 0; c < 3; ++c)
            out[k][c] = g.I[c] + s * (g.J[c] - g.I[c]) + scale * d[c];
    }
}

} // namespace vandra

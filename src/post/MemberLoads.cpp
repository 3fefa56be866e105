#include "post/MemberLoads.h"

#include <algorithm>

namespace vandra {
namespace {

// The frames whose distributed loads reach the structure: the beam-columns, and the trusses, whose
// loads the script puts on their end joints.
bool TakesFrameLoad(int frameType) {
    return IsBeamColumn(frameType) || frameType == kTruss || frameType == kCorotTruss;
}

// The load along the element's local axes of a uniform load FX in model direction `dir`.
bool LocalLoad(int dir, double fx, Vec3& w) {
    switch (dir) {
    case 1:
        w = {fx, 0, 0};
        return true;
    case 2:
        w = {0, 0, fx};
        return true;
    case 3:
        w = {0, -fx, 0};
        return true;
    default:
        return false;
    }
}

bool AppliesPatterns(int analysisType) {
    return analysisType == kSingleLoadControl || analysisType == kSingleDisplacementControl ||
           analysisType == kGravityPushover || analysisType == kGravityTimeHistory;
}

} // namespace

int HeldGravityLine(const TSettings& settings) {
    const int type = settings.AnalysisType;
    return type == kGravityPushover || type == kGravityTimeHistory ? settings.LoadSteps : 0;
}

TLoadFactors LoadFactorsAt(const TSettings& settings, int line, double time, double heldTime) {
    TLoadFactors f;
    switch (settings.AnalysisType) {
    case kSingleLoadControl:
        f.LoadCase = time;
        break;
    case kSingleDisplacementControl:
        f.LoadVector = time;
        break;
    case kGravityPushover:
        if (line <= settings.LoadSteps) {
            f.LoadCase = time;
        } else {
            f.LoadCase = heldTime;
            f.LoadVector = time;
        }
        break;
    case kGravityTimeHistory:
        f.LoadCase = line <= settings.LoadSteps ? time : heldTime;
        break;
    default:
        break;
    }
    return f;
}

TFrameLoads::TFrameLoads(const TModel& model, const TSettings& settings) {
    const int frames = CountOf(model.FrameCount);
    const int type = settings.AnalysisType;
    const bool usesCase = AppliesPatterns(type) && type != kSingleDisplacementControl;
    const bool usesVector = type == kSingleDisplacementControl || type == kGravityPushover;
    const auto build = [&](Pattern& pattern, int loadCase, bool used) {
        std::vector<std::vector<TLoadPiece>> perFrame;
        if (used && loadCase >= 1 && loadCase <= model.LoadCaseCount) {
            perFrame.resize(static_cast<size_t>(frames) + 1);
            const int loads =
                std::min<int>(CountOf(model.LoadCount), static_cast<int>(model.Loads.size()) - 1);
            for (int l = 1; l <= loads; ++l) {
                const TLOAD& load = model.Loads[static_cast<size_t>(l)];
                if (load.Kind != kFrameDistributed || load.CaseIdx != loadCase) continue;
                if (load.Target < 1 || load.Target > frames) continue;
                if (!IsBeamColumn(FrameTypeOf(model, load.Target))) continue;
                TLoadPiece piece;
                if (!LocalLoad(load.Dir, load.FX, piece.WA)) continue;
                const TFrameGeometry g = FrameGeometryOf(model, load.Target);
                if (!g.Valid) continue;
                piece.WB = piece.WA;
                piece.B = g.Length;
                perFrame[static_cast<size_t>(load.Target)].push_back(piece);
            }
        }
        pattern.Offset.assign(static_cast<size_t>(frames) + 2, 0);
        for (int f = 1; f <= frames; ++f) {
            const size_t count = perFrame.empty() ? 0 : perFrame[static_cast<size_t>(f)].size();
            pattern.Offset[static_cast<size_t>(f) + 1] =
                pattern.Offset[static_cast<size_t>(f)] + count;
        }
        pattern.Pieces.reserve(pattern.Offset.back());
        for (const std::vector<TLoadPiece>& pieces : perFrame)
            pattern.Pieces.insert(pattern.Pieces.end(), pieces.begin(), pieces.end());
    };
    build(loadCase_, settings.LoadCase, usesCase);
    build(loadVector_, settings.LoadVector, usesVector);
}

bool TFrameLoads::Loaded(int frame) const {
    const auto f = static_cast<size_t>(frame);
    for (const Pattern* p : {&loadCase_, &loadVector_})
        if (f + 1 < p->Offset.size() && p->Offset[f + 1] > p->Offset[f]) return true;
    return false;
}

void TFrameLoads::PiecesOn(int frame, const TLoadFactors& factors,
                           std::vector<TLoadPiece>& out) const {
    const auto f = static_cast<size_t>(frame);
    for (const auto& [pattern, factor] :
         {std::pair{&loadCase_, factors.LoadCase}, std::pair{&loadVector_, factors.LoadVector}}) {
        if (factor == 0 || f + 1 >= pattern->Offset.size()) continue;
        for (size_t k = pattern->Offset[f]; k < pattern->Offset[f + 1]; ++k) {
            TLoadPiece piece = pattern->Pieces[k];
            for (size_t c = 0; c < 3; ++c) {
                piece.WA[c] *= factor;
                piece.WB[c] *= factor;
            }
            out.push_back(piece);
        }
    }
}

Vec3 AppliedForce(const TModel& model, const TSettings& settings, const TLoadFactors& factors) {
    Vec3 total{};
    const int type = settings.AnalysisType;
    if (!AppliesPatterns(type)) return total;
    const int frames = CountOf(model.FrameCount), nodes = CountOf(model.NodeCount);
    const int loads =
        std::min<int>(CountOf(model.LoadCount), static_cast<int>(model.Loads.size()) - 1);
    for (int l = 1; l <= loads; ++l) {
        const TLOAD& load = model.Loads[static_cast<size_t>(l)];
        if (load.CaseIdx < 1 || load.CaseIdx > model.LoadCaseCount) continue;
        double factor = 0;
        if (load.CaseIdx == settings.LoadCase && type != kSingleDisplacementControl)
            factor += factors.LoadCase;
        if (load.CaseIdx == settings.LoadVector &&
            (type == kSingleDisplacementControl || type == kGravityPushover))
            factor += factors.LoadVector;
        if (factor == 0) continue;
        if (load.Kind == kJointForce && load.Target >= 1 && load.Target <= nodes) {
            total[0] += factor * load.FX;
            total[1] += factor * load.FY;
            total[2] += factor * load.FZ;
        } else if (load.Kind == kFrameDistributed && load.Target >= 1 && load.Target <= frames &&
                   TakesFrameLoad(FrameTypeOf(model, load.Target))) {
            const TFrameGeometry g = FrameGeometryOf(model, load.Target);
            Vec3 w;
            if (!g.Valid || !LocalLoad(load.Dir, load.FX, w)) continue;
            const Vec3 force = ToGlobal(g, w);
            for (size_t c = 0; c < 3; ++c)
                total[c] += factor * force[c] * g.Length;
        }
    }
    return total;
}

} // namespace vandra

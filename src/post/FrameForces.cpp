#include "post/FrameForces.h"

#include "model/Errors.h"
#include "post/FrameGeometry.h"
#include "post/RecorderText.h"
#include "post/ResultTags.h"
#include "tcl/RecorderFiles.h"
#include "tcl/TagPlan.h"

#include <algorithm>

namespace vandra {
namespace {

using namespace recorder_text;
using recorder::RecorderFile;

constexpr int kEndValues = kForceComponentCount; // the values of one end in localForce

// Where every frame's values stand: the blocks of the localForce files and of the axial force
// files of the corotational trusses (the same block numbers).
struct ForceLayout {
    std::vector<int> Types; // [frame]
    std::vector<Block> Main, Axial;
};

ForceLayout LayOutForces(const TModel& model, const TSettings& settings) {
    if (model.FrameCount > 0 && static_cast<long long>(model.Frames.size()) <= model.FrameCount)
        throw InputError("The frame table holds fewer records than its count");
    const int frames = CountOf(model.FrameCount);
    const int tagCount = ElementTagCount(model);
    // A rigid link the constraints cannot hold holds its translations by springs too.
    const TagPlan tags(model, settings);
    ForceLayout layout;
    layout.Types.assign(static_cast<size_t>(frames) + 1, 0);
    std::vector<Item> main, axial;
    main.reserve(static_cast<size_t>(frames));
    for (int f = 1; f <= frames; ++f) {
        const int type = FrameTypeOf(model, f);
        const int tag = FrameElementTag(model, f);
        layout.Types[static_cast<size_t>(f)] = type;
        const bool stiff = type == kRigidBeam && tags.Constraints().StiffRigidBeam(f);
        main.push_back(Item{tag, f, stiff ? 2 * recorder::ElementForceCount(type)
                                          : recorder::ElementForceCount(type)});
        if (type == kCorotTruss) axial.push_back(Item{tag, f, recorder::kTrussAxialValues});
    }
    const auto blockOf = [tagCount](int tag) { return recorder::ElementFileBlock(tag, tagCount); };
    layout.Main = LayOut(std::move(main), blockOf);
    layout.Axial = LayOut(std::move(axial), blockOf);
    return layout;
}

// The forces of one block file (and of its axial force file when the block has corotational
// trusses), line by line.
class BlockForces {
public:
    BlockForces(const std::string& folder, const ForceLayout& layout, const Block& block)
        : layout_(layout), block_(block) {
        main_.load(PathOf(folder, recorder::FileName(RecorderFile::ElementForce, block.file)));
        for (const Block& a : layout.Axial)
            if (a.file == block.file) axial_ = &a;
        if (axial_ != nullptr)
            axialText_.load(
                PathOf(folder, recorder::FileName(RecorderFile::TrussAxialForce, block.file)));
        values_.resize(static_cast<size_t>(block.columns));
        if (axial_ != nullptr) axialValues_.resize(static_cast<size_t>(axial_->columns));
    }

    RecorderText& main() { return main_; }
    RecorderText* axial() { return axial_ != nullptr ? &axialText_ : nullptr; }

    // Parses line lineNo of the block's files (given) into frames; returns the time column.
    double parse(std::string_view line, std::string_view axialLine, int lineNo,
                 std::vector<TFrameStepForces>& frames) {
        ParseLine(line, main_.path(), lineNo, block_.columns, values_.data());
        if (axial_ != nullptr)
            ParseLine(axialLine, axialText_.path(), lineNo, axial_->columns, axialValues_.data());
        frames.clear();
        for (const Placed& item : block_.items) {
            const int type = layout_.Types[static_cast<size_t>(item.index)];
            const ForceKind kind = ForceKindOf(type);
            if (kind == ForceKind::None || type == kCorotTruss) continue;
            const double* v = values_.data() + item.column;
            TFrameStepForces& out = frames.emplace_back();
            out.Frame = item.index;
            out.Kind = kind;
            if (kind == ForceKind::Beam) {
                for (size_t c = 0; c < static_cast<size_t>(kForceComponentCount); ++c) {
                    out.Ends.I[c] = -v[c];
                    out.Ends.J[c] = v[kEndValues + c];
                }
            } else {
                out.Ends.I[kForceN] = -v[0];
                out.Ends.J[kForceN] = v[kEndValues];
            }
        }
        if (axial_ != nullptr)
            for (const Placed& item : axial_->items) {
                TFrameStepForces& out = frames.emplace_back();
                out.Frame = item.index;
                out.Kind = ForceKind::Axial;
                out.Ends.I[kForceN] = out.Ends.J[kForceN] =
                    axialValues_[static_cast<size_t>(item.column)];
            }
        return values_[0];
    }

    // The time column of line lineNo (a line before the one read next).
    double timeAt(int lineNo) {
        const std::string_view line = main_.lineAt(lineNo);
        ParseLine(line, main_.path(), lineNo, block_.columns, values_.data());
        return values_[0];
    }

private:
    const ForceLayout& layout_;
    const Block& block_;
    const Block* axial_ = nullptr;
    RecorderText main_, axialText_;
    std::vector<double> values_, axialValues_;
};

void CheckStep(int step) {
    if (step < 1) throw InputError("Load Step must be 1 or more, not " + Num(step));
}

void Take(TAlongRange& r, const TDiagramExtremes& e, int step) {
    if (r.MinStep == 0 || e.Min.Value < r.Min.Value) {
        r.Min = e.Min;
        r.MinStep = step;
    }
    if (r.MaxStep == 0 || e.Max.Value > r.Max.Value) {
        r.Max = e.Max;
        r.MaxStep = step;
    }
}

} // namespace

ForceKind ForceKindOf(int frameType) {
    if (IsBeamColumn(frameType)) return ForceKind::Beam;
    if (frameType == kTruss || frameType == kCorotTruss) return ForceKind::Axial;
    return ForceKind::None;
}

TFrameForces ReadFrameForces(const TModel& model, const TSettings& settings,
                             const std::string& folder, int step) {
    CheckStep(step);
    const ForceLayout layout = LayOutForces(model, settings);
    const size_t size = layout.Types.size();
    TFrameForces forces;
    forces.Step = step;
    forces.Kind.assign(size, ForceKind::None);
    forces.Ends.assign(size, TEndForces{});
    const int held = HeldGravityLine(settings);
    double heldTime = 0;
    bool first = true;
    std::vector<TFrameStepForces> frames;
    for (const Block& block : layout.Main) {
        BlockForces reader(folder, layout, block);
        if (first && held > 0 && step > held) heldTime = reader.timeAt(held);
        const std::string_view line = reader.main().lineAt(step);
        const std::string_view axialLine =
            reader.axial() != nullptr ? reader.axial()->lineAt(step) : std::string_view();
        const double time = reader.parse(line, axialLine, step, frames);
        if (first) {
            forces.Time = time;
            forces.Factors = LoadFactorsAt(settings, step, time, heldTime);
            first = false;
        }
        for (const TFrameStepForces& f : frames) {
            forces.Kind[static_cast<size_t>(f.Frame)] = f.Kind;
            forces.Ends[static_cast<size_t>(f.Frame)] = f.Ends;
        }
    }
    return forces;
}

bool BuildFrameDiagram(const TModel& model, const TFrameLoads& loads, const TFrameForces& forces,
                       int frame, TMemberDiagram& diagram) {
    const auto f = static_cast<size_t>(frame);
    if (frame < 1 || f >= forces.Kind.size() || forces.Kind[f] == ForceKind::None) return false;
    const TFrameGeometry g = FrameGeometryOf(model, frame);
    if (!g.Valid) return false;
    thread_local std::vector<TLoadPiece> pieces;
    pieces.clear();
    loads.PiecesOn(frame, forces.Factors, pieces);
    diagram.Build(g.Length, forces.Ends[f], pieces.data(), pieces.size());
    return true;
}

int ScanFrameForces(const TModel& model, const TSettings& settings, const std::string& folder,
                    const FrameForceVisitor& visit) {
    const ForceLayout layout = LayOutForces(model, settings);
    const int held = HeldGravityLine(settings);
    int steps = -1;
    std::string firstPath;
    std::vector<TFrameStepForces> frames;
    for (const Block& block : layout.Main) {
        BlockForces reader(folder, layout, block);
        const int lines = reader.main().lineCount();
        if (steps < 0) {
            steps = lines;
            firstPath = reader.main().path();
        }
        CheckLineCount(reader.main(), lines, steps, firstPath);
        if (reader.axial() != nullptr)
            CheckLineCount(*reader.axial(), reader.axial()->lineCount(), steps, firstPath);
        double heldTime = 0;
        std::string_view line, axialLine;
        for (int k = 1; k <= steps; ++k) {
            reader.main().next(line);
            if (reader.axial() != nullptr) reader.axial()->next(axialLine);
            const double time = reader.parse(line, axialLine, k, frames);
            if (k == held) heldTime = time;
            visit(k, time, LoadFactorsAt(settings, k, time, heldTime), frames);
        }
    }
    return std::max(steps, 0);
}

TFrameForceEnvelope ReadFrameForceEnvelope(const TModel& model, const TSettings& settings,
                                           const std::string& folder) {
    const int frames = CountOf(model.FrameCount);
    const TFrameLoads loads(model, settings);
    std::vector<double> lengths(static_cast<size_t>(frames) + 1, 0.0);
    std::vector<unsigned char> loaded(static_cast<size_t>(frames) + 1, 0);
    for (int f = 1; f <= frames; ++f) {
        lengths[static_cast<size_t>(f)] = FrameGeometryOf(model, f).Length;
        loaded[static_cast<size_t>(f)] = loads.Loaded(f) && lengths[static_cast<size_t>(f)] > 0;
    }

    TFrameForceEnvelope envelope;
    envelope.Kind.assign(static_cast<size_t>(frames) + 1, ForceKind::None);
    envelope.Frames.assign(static_cast<size_t>(frames) + 1, {});
    TMemberDiagram diagram;
    std::vector<TLoadPiece> pieces;
    const auto fold = [&](int step, double, const TLoadFactors& factors,
                          const std::vector<TFrameStepForces>& list) {
        for (const TFrameStepForces& item : list) {
            const auto f = static_cast<size_t>(item.Frame);
            envelope.Kind[f] = item.Kind;
            auto& env = envelope.Frames[f];
            pieces.clear();
            if (loaded[f]) loads.PiecesOn(item.Frame, factors, pieces);
            if (!pieces.empty()) diagram.Build(lengths[f], item.Ends, pieces.data(), pieces.size());
            for (size_t c = 0; c < static_cast<size_t>(kForceComponentCount); ++c) {
                const double i = item.Ends.I[c], j = item.Ends.J[c];
                Take(env[c].I, i, step);
                Take(env[c].J, j, step);
                // Without loads every component is linear along the member: its extremes are at
                // the ends.
                TDiagramExtremes e;
                if (!pieces.empty()) {
                    e = diagram.Extremes(static_cast<int>(c));
                } else {
                    const double length = lengths[f];
                    e.Min = j < i ? TDiagramPoint{length, j} : TDiagramPoint{0, i};
                    e.Max = j > i ? TDiagramPoint{length, j} : TDiagramPoint{0, i};
                }
                Take(env[c].Along, e, step);
            }
        }
    };
    envelope.Steps = ScanFrameForces(model, settings, folder, fold);
    return envelope;
}

} // namespace vandra

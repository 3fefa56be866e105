// The solver cases of tests/cases/solver/*.case: a model and settings, its script with the result
// recorders the post-processing reads, run in the real solver (clean: no WARNING, no Tcl error),
// then values read back through the post-processing against closed form:
//   expect: PROBE = EXPR [rel R] [abs A]      (also < and >)
// EXPR may hold {NAME} of a "let: NAME = EXPR" or {PROBE}. The probes (steps and modes from 1,
// directions 1..3 or 1..6, components N Vy Vz T My Mz):
//   disp STEP JOINT DIR, rot STEP JOINT DIR, time STEP, steps, reaction STEP JOINT DIR,
//   shape MODE JOINT (the square of the mode shape's plan motion), file NAME ROW COLUMN (a number
//   of a file the run wrote), section-i|section-j STEP COMPONENT FRAME (1: the frame's end has a
//   value in the section recorders' files), curve STEP FRAME SCALE BENDS N POINT DIR (the frame
//   drawn from its ends' motions in N points, straight when BENDS is 0),
//   base STEP DIR (sum of the reactions), applied FACTOR1 FACTOR2 DIR, kind STEP FRAME
//   (0 none, 1 axial, 2 beam), factor STEP, end STEP FRAME I|J COMP,
//   force STEP FRAME COMP X, min|max|min-x|max-x STEP FRAME COMP (the diagram and its extremes),
//   eigen|period|frequency MODE, ratio|cumulative MODE DIR, free-mass DIR, modes, periods
//   ("report eigen MODE"... from the solver's own modal report), drift STEP STOREY DIR,
//   drift-max STOREY DIR, drift-max-step STOREY DIR, pairs STOREY, storeys,
//   shear STEP STOREY DIR, shear-frames STEP STOREY (read at the step), shear-history STEP STOREY
//   DIR, shear-history-steps (every step in one pass)
// "check: equilibrium STEP" holds every frame's end forces to the loads on it.
#include "CaseFile.h"
#include "CorpusFiles.h"
#include "PostRuns.h"

#include "convert/V14Converter.h"
#include "import/ModelFile.h"
#include "import/TabularImport.h"
#include "post/CurvedFrames.h"
#include "post/FrameForces.h"
#include "post/FrameGeometry.h"
#include "post/ModalTable.h"
#include "post/Reactions.h"
#include "post/RecorderReaders.h"
#include "post/Storeys.h"

#include <map>

namespace vandra::testing {
namespace {

int Component(const std::string& name) {
    const std::string names[] = {"N", "Vy", "Vz", "T", "My", "Mz"};
    return int(std::find(std::begin(names), std::end(names), name) - std::begin(names));
}

class Probes {
public:
    explicit Probes(const PostRun& p) : p_(p), folder_(p.folder()) {}

    double Value(const std::string& probe) {
        const std::vector<std::string> w = Words(probe);
        const auto n = [&](size_t k) { return k < w.size() ? int(Expression::Of(w[k])) : 0; };
        const auto pick = [](const auto& xyz, int dir, size_t at) {
            return (dir == 1 ? xyz.X : dir == 2 ? xyz.Y : xyz.Z)[at];
        };
        const std::string& kind = w.at(0);
        if (kind == "disp") return pick(ReadNodeStep(p_.model, folder_, n(1)), n(3), size_t(n(2)));
        if (kind == "rot")
            return pick(ReadNodeRotationStep(p_.model, folder_, n(1)), n(3), size_t(n(2)));
        if (kind == "shape") {
            const TNodeField u = ReadModeShape(p_.model, folder_, n(1));
            return std::pow(u.X.at(size_t(n(2))), 2) + std::pow(u.Y.at(size_t(n(2))), 2);
        }
        if (kind == "file")
            return ReadRecorder(p_.run.Folder() / w[1]).at(size_t(n(2) - 1)).at(size_t(n(3) - 1));
        if (kind.starts_with("section-")) {
            const TFrameEnds e = ReadSectionStep(p_.model, p_.settings, folder_, n(1), n(2));
            return e.Any && (kind == "section-i" ? e.HasI : e.HasJ).at(size_t(n(3)));
        }
        if (kind == "curve") {
            const TNodeField u = ReadNodeStep(p_.model, folder_, n(1));
            const TNodeField r = ReadNodeRotationStep(p_.model, folder_, n(1));
            const auto motion = [&](size_t j) {
                return TJointMotion{{u.X[j], u.Y[j], u.Z[j]}, {r.X[j], r.Y[j], r.Z[j]}};
            };
            const TFRAME& f = p_.model.Frames.at(size_t(n(2)));
            std::vector<Vec3> points(size_t(n(5)));
            CurvedFrame(FrameGeometryOf(p_.model, n(2)), motion(size_t(f.NodeI)),
                        motion(size_t(f.NodeJ)), Expression::Of(w[3]), n(4) != 0, n(5),
                        points.data());
            return points.at(size_t(n(6)))[size_t(n(7) - 1)];
        }
        if (kind == "time") return History().Time.at(size_t(n(1) - 1));
        if (kind == "steps") return History().Steps;
        if (kind == "reaction" || kind == "base") {
            const TReactionHistory r = ReadReactions(p_.model, p_.settings, folder_);
            if (kind == "base") return r.Total(n(1))[size_t(n(2) - 1)];
            const auto at = std::find(r.Joints.begin(), r.Joints.end(), n(2)) - r.Joints.begin();
            EXPECT_LT(size_t(at), r.Joints.size()) << "no reaction at joint " << n(2);
            return r.At(n(1), size_t(at))[size_t(n(3) - 1)];
        }
        if (kind == "applied")
            return AppliedForce(p_.model, p_.settings,
                                {Expression::Of(w[1]), Expression::Of(w[2])})[size_t(n(3) - 1)];
        if (kind == "kind") return int(Forces(n(1)).Kind.at(size_t(n(2))));
        if (kind == "factor") return Forces(n(1)).Factors.LoadCase;
        if (kind == "end") {
            const TEndForces& e = Forces(n(1)).Ends.at(size_t(n(2)));
            return (w[3] == "I" ? e.I : e.J)[size_t(Component(w[4]))];
        }
        if (kind == "force" || kind.starts_with("min") || kind.starts_with("max")) {
            TMemberDiagram d;
            EXPECT_TRUE(BuildFrameDiagram(p_.model, TFrameLoads(p_.model, p_.settings),
                                          Forces(n(1)), n(2), d));
            const int c = Component(w[3]);
            if (kind == "force") return d.At(c, Expression::Of(w[4]));
            const TDiagramPoint& e = kind.starts_with("min") ? d.Extremes(c).Min : d.Extremes(c).Max;
            return kind.ends_with("-x") ? e.X : e.Value;
        }
        if (kind == "report") return Modal(ReadModalReport(folder_), {w.begin() + 1, w.end()});
        if (kind == "periods") return double(ReadEigenvalues(folder_).size());
        if (kind == "eigen" || kind == "period" || kind == "frequency" || kind == "ratio" ||
            kind == "cumulative" || kind == "free-mass" || kind == "modes")
            return Modal(ReadModalTable(p_.model, folder_, p_.settings.ModalNumber), w);
        const TLevels levels = FindLevels(p_.model);
        if (kind == "storeys") return levels.StoreyCount();
        if (kind.starts_with("drift") || kind == "pairs") {
            const TDrifts d = ComputeDrifts(p_.model, levels, History());
            if (kind == "pairs") return d.Pairs.at(size_t(n(1) - 1));
            if (kind == "drift") return n(3) == 1 ? d.At(n(1), n(2)).X : d.At(n(1), n(2)).Y;
            const TValueRange& r = (n(2) == 1 ? d.RangeX : d.RangeY).at(size_t(n(1) - 1));
            return kind == "drift-max" ? r.Max : r.MaxStep;
        }
        if (kind.starts_with("shear-history")) {
            if (!shears_) shears_ = ReadStoreyShearHistory(p_.model, p_.settings, levels, folder_);
            if (kind.ends_with("steps")) return shears_->Steps;
            return n(3) == 1 ? shears_->At(n(1), n(2)).X : shears_->At(n(1), n(2)).Y;
        }
        if (kind.starts_with("shear")) {
            const TStoreyShear s = StoreyShears(p_.model, levels, TFrameLoads(p_.model, p_.settings),
                                                Forces(n(1)))
                                       .at(size_t(n(2) - 1));
            return kind == "shear-frames" ? s.Frames : n(3) == 1 ? s.X : s.Y;
        }
        ADD_FAILURE() << "no probe " << probe;
        return 0;
    }

private:
    const PostRun& p_;
    const std::string folder_;
    std::map<int, TFrameForces> forces_;
    std::optional<TNodeHistory> history_;
    std::optional<TStoreyShearHistory> shears_;

    const TFrameForces& Forces(int step) {
        if (!forces_.count(step))
            forces_[step] = ReadFrameForces(p_.model, p_.settings, folder_, step);
        return forces_[step];
    }
    const TNodeHistory& History() {
        if (!history_) history_ = ReadNodeHistory(p_.model, folder_, 0);
        return *history_;
    }
    static double Modal(const TModalTable& t, const std::vector<std::string>& w) {
        const std::string& kind = w.at(0);
        const auto n = [&](size_t k) { return k < w.size() ? int(Expression::Of(w[k])) : 0; };
        if (kind == "modes") return double(t.Modes.size());
        if (kind == "free-mass") return t.FreeMass[size_t(n(1) - 1)];
        const TModeRow& row = t.Modes.at(size_t(n(1) - 1));
        if (kind == "ratio" || kind == "cumulative")
            return (kind == "ratio" ? row.Ratio : row.Cumulative)[size_t(n(2) - 1)];
        return kind == "eigen" ? row.Eigenvalue : kind == "period" ? row.Period : row.Frequency;
    }
};

// Each frame's end forces in equilibrium with the loads on it: a value read from a wrong column
// breaks it. Trusses carry one axial force, rigid links none.
void ExpectEquilibrium(const PostRun& p, int step) {
    const TFrameForces forces = ReadFrameForces(p.model, p.settings, p.folder(), step);
    const TFrameLoads loads(p.model, p.settings);
    std::vector<TLoadPiece> pieces;
    for (int f = 1; f <= p.model.FrameCount; ++f) {
        const int type = FrameTypeOf(p.model, f);
        const TEndForces& e = forces.Ends[size_t(f)];
        EXPECT_EQ(forces.Kind[size_t(f)], ForceKindOf(type)) << "frame " << f;
        if (type == kTruss || type == kCorotTruss) {
            EXPECT_TRUE(e.I[kForceN] != 0 && std::abs(e.I[kForceN] - e.J[kForceN]) <=
                                                 1e-5 * std::abs(e.I[kForceN]))
                << "frame " << f;
        }
        if (forces.Kind[size_t(f)] != ForceKind::Beam) continue;
        pieces.clear();
        loads.PiecesOn(f, forces.Factors, pieces);
        Vec3 w{};
        for (const TLoadPiece& piece : pieces)
            for (size_t c = 0; c < 3; ++c)
                w[c] += piece.WA[c];
        const double l = FrameGeometryOf(p.model, f).Length;
        const auto& i = e.I;
        const double j[] = {i[kForceN] - w[0] * l,
                            i[kForceVy] - w[1] * l,
                            i[kForceVz] - w[2] * l,
                            i[kForceT],
                            i[kForceMy] + l * i[kForceVz] - w[2] * l * l / 2,
                            i[kForceMz] - l * i[kForceVy] + w[1] * l * l / 2};
        double size = 1;
        for (size_t c = 0; c < 6; ++c)
            size = std::max({size, std::abs(i[c]), std::abs(e.J[c]) / l});
        for (size_t c = 0; c < 6; ++c)
            EXPECT_NEAR(e.J[c], j[c], 1e-4 * size * (c >= kForceMy ? l : 1))
                << "frame " << f << " component " << c;
    }
}

TModel CaseModel(const TestCase& c) {
    if (c.Has("corpus")) { // "table:" adds a table before the end of the file's data
        const std::string file = CorpusFile(c.One("corpus"));
        if (!c.Has("table")) return ImportTabular(ReadS2kFile(file), file);
        std::string text = ReadText(file);
        return ImportTabular(S2kText(text.insert(text.rfind("END TABLE DATA"), c.One("table"))), file);
    }
    std::string text = c.Has("text")    ? c.One("text")
                       : c.Has("model") ? ReadText(SourcePath(c.One("model")))
                                        : "";
    if (c.Has("v14")) // converted from SAP2000 V14 tables
        for (const std::string& line : ConvertV14(SplitS2kLines(ReadText(SourcePath(c.One("v14"))))).V6Lines)
            text += line + "\n";
    return ImportModelText(SplitS2kLines(text + c.One("append")), "m.s2k");
}

void RunSolverCase(const TestCase& c) {
    SCOPED_TRACE(c.where + ": " + c.title);
    ScriptLineList more;
    for (const std::string& line : c.All("recorder"))
        more.push_back(line);
    const PostRun p = RunPost(CaseModel(c), c.All("set"), more);
    Probes probes(p);
    std::map<std::string, double> lets;
    const auto evaluate = [&](std::string e) {
        for (size_t a; (a = e.find('{')) != std::string::npos;) {
            const size_t b = e.find('}', a);
            const std::string name = e.substr(a + 1, b - a - 1);
            const double v = lets.count(name) ? lets[name] : probes.Value(name);
            std::ostringstream exact;
            exact.precision(17);
            exact << "(" << v << ")";
            e.replace(a, b - a + 1, exact.str());
        }
        return e;
    };
    for (const auto& [key, value] : c.fields) {
        if (key == "let") {
            const size_t eq = value.find(" = ");
            lets[value.substr(0, eq)] = Expression::Of(evaluate(value.substr(eq + 3)));
        } else if (key == "check") {
            ExpectEquilibrium(p, int(Expression::Of(Words(value).at(1))));
        } else if (key == "expect") {
            const size_t op = value.find_first_of("=<>");
            const double actual = probes.Value(value.substr(0, op));
            const std::string expected = evaluate(value.substr(op + 2));
            double v = 0;
            const bool close = CloseTo(actual, expected, &v);
            EXPECT_TRUE(value[op] == '=' ? close : value[op] == '<' ? actual < v : actual > v)
                << value << ": " << actual << " against " << v;
        }
    }
}

class SolverCase : public SolverTest, public ::testing::WithParamInterface<TestCase> {};

TEST_P(SolverCase, RunsCleanWithItsClosedFormValues) {
    if (GetParam().Has("corpus") && !HaveCorpus()) GTEST_SKIP() << "no corpus";
    RunSolverCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, SolverCase, ::testing::ValuesIn(CasesOf("solver")), CaseName());

} // namespace
} // namespace vandra::testing

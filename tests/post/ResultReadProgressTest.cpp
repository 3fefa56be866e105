// Every result load counts the recorder files it reads on the thread's progress, and a cancelled
// one stops at its first file and stores nothing (tests/data: runs of the bundled example).
#include "document/Document.h"
#include "document/SettingsByName.h"
#include "model/Progress.h"
#include "post/RecorderReaders.h"
#include "post/ResultLoading.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vandra {
namespace {

const std::string kData = VANDRA_SOURCE_DIR "/tests/data/";

using Load = std::function<void(TResults&, const TModel&, const TSettings&, const std::string&)>;

struct LoadCase {
    const char* name;
    const char* folder;
    int files; // the recorder files the load needs
    Load load;
};

TEST(ResultReadProgress, EachFileCountsAndCancelStopsBeforeStoring) {
    TModel model = ReadModelFile(kData + "two_storey_frame.s2k").Model;
    TSettings push, modal;
    // The settings of the frame_push and frame_modal runs (tests/data/README.md).
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "RecRotations=1", "Sections[EIPE400].FrameType=4"})
        AssignSetting(model, push, set);
    for (const char* set : {"AnalysisType=4", "ModalNumber=3", "RecOpt=1,0,0,0,1"})
        AssignSetting(model, modal, set);

    const LoadCase cases[] = {
        // node0.out and its rotations, node0_rot.out
        {"node step", "frame_push", 2,
         [](TResults& r, const TModel& m, const TSettings& s, const std::string& f) {
             LoadNodeStep(r, m, s, f, 4);
         }},
        // ele0.out with the axial forces of the force-based beams, ele0_axial.out
        {"member forces", "frame_push", 2,
         [](TResults& r, const TModel& m, const TSettings& s, const std::string& f) {
             LoadFrameForces(r, m, s, f, kEnvelopeStep);
         }},
        {"reactions", "frame_push", 1,
         [](TResults& r, const TModel& m, const TSettings& s, const std::string& f) {
             LoadReactions(r, m, s, f, 4);
         }},
        {"drifts", "frame_push", 1,
         [](TResults& r, const TModel& m, const TSettings&, const std::string& f) {
             LoadDrifts(r, m, f);
         }},
        // Periods.txt (once for the number of modes, once for the periods) and the three modes'
        // files
        {"modal table", "frame_modal", 5,
         [&modal](TResults& r, const TModel& m, const TSettings&, const std::string& f) {
             LoadModalTable(r, m, modal, f);
         }},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = kData + c.folder;
        Progress counted;
        TResults loaded;
        {
            const ProgressScope scope(&counted);
            c.load(loaded, model, push, folder);
        }
        EXPECT_EQ(counted.Read().Done, c.files);

        Progress cancelled;
        cancelled.Cancel();
        TResults kept;
        {
            const ProgressScope scope(&cancelled);
            EXPECT_THROW(c.load(kept, model, push, folder), Cancelled);
        }
        EXPECT_EQ(cancelled.Read().Done, 1);
        EXPECT_TRUE(kept.Disp.X.empty() && kept.History.Steps == 0 && !kept.Forces.Loaded() &&
                    kept.Reactions.Steps == 0 && kept.Modal.Modes.empty());
    }
    // Outside any scope nothing counts.
    EXPECT_EQ(ThreadProgress(), nullptr);
}

} // namespace
} // namespace vandra

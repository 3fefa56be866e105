#include "post/Reactions.h"

#include "model/Errors.h"
#include "post/RecorderText.h"
#include "tcl/RecorderFiles.h"
#include "tcl/ResultRecorders.h"
#include "tcl/TagPlan.h"

#include <algorithm>

namespace vandra {

using namespace recorder_text;
using recorder::RecorderFile;

TReaction TReactionHistory::Total(int step) const {
    TReaction sum{};
    for (size_t k = 0; k < Joints.size(); ++k)
        for (size_t c = 0; c < sum.size(); ++c)
            sum[c] += At(step, k)[c];
    return sum;
}

TReactionHistory ReadReactions(const TModel& model, const TSettings& settings,
                               const std::string& folder) {
    if (model.NodeCount > 0 && static_cast<long long>(model.Nodes.size()) <= model.NodeCount)
        throw InputError("The joint table holds fewer records than its count");
    const TagPlan tags(model, settings);
    const std::vector<ReactionNode> nodes = ReactionNodes(model, tags);
    TReactionHistory history;
    for (const ReactionNode& node : nodes)
        history.Joints.push_back(node.Joint);
    std::sort(history.Joints.begin(), history.Joints.end());
    history.Joints.erase(std::unique(history.Joints.begin(), history.Joints.end()),
                         history.Joints.end());
    std::vector<Item> items;
    for (const ReactionNode& node : nodes) {
        const auto k = std::lower_bound(history.Joints.begin(), history.Joints.end(), node.Joint) -
                       history.Joints.begin();
        items.push_back(Item{node.Tag, static_cast<int>(k), kReactionComponents});
    }
    const size_t joints = history.Joints.size();

    RecorderText text;
    std::vector<double> values;
    int steps = -1;
    std::string firstPath;
    for (const Block& block :
         LayOut(std::move(items), [](int tag) { return recorder::NodeFileBlock(tag); })) {
        text.load(PathOf(folder, recorder::FileName(RecorderFile::NodeReaction, block.file)));
        const int lines = text.lineCount();
        if (steps < 0) {
            steps = lines;
            firstPath = text.path();
            history.Time.assign(static_cast<size_t>(steps), 0.0);
            history.Values.assign(static_cast<size_t>(steps) * joints, TReaction{});
        }
        CheckLineCount(text, lines, steps, firstPath);
        values.resize(static_cast<size_t>(block.columns));
        std::string_view line;
        for (int k = 1; k <= steps; ++k) {
            text.next(line);
            ParseLine(line, text.path(), k, block.columns, values.data());
            history.Time[static_cast<size_t>(k - 1)] = values[0];
            for (const Placed& item : block.items) {
                TReaction& r = history.Values[static_cast<size_t>(k - 1) * joints +
                                              static_cast<size_t>(item.index)];
                for (size_t c = 0; c < r.size(); ++c)
                    r[c] += values[static_cast<size_t>(item.column) + c];
            }
        }
    }
    history.Steps = std::max(steps, 0);
    return history;
}

} // namespace vandra

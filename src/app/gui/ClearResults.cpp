#include "app/gui/ClearResults.h"

namespace vandra {

void ClearResults(TModel& model) {
    for (int n = 1; n <= model.NodeCount; ++n) {
        TNODE& node = model.Nodes[n];
        node.DispX = node.DispY = node.DispZ = 0;
    }
    for (int f = 1; f <= model.FrameCount; ++f) {
        model.Frames[f].ResultI = 0;
        model.Frames[f].ResultJ = 0;
    }
}

} // namespace vandra

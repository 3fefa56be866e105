#include "post/Results.h"

#include <algorithm>
#include <utility>

namespace vandra {

void ClearResults(TResults& results) {
    for (std::vector<double>* v :
         {&results.Disp.X, &results.Disp.Y, &results.Disp.Z, &results.Ends.I, &results.Ends.J})
        std::fill(v->begin(), v->end(), 0.0);
    results.Rotations = TNodeField();
    results.Forces = TForceResults();
    results.Reactions = TReactionHistory();
}

void TakeSectionValues(TResults& results, TFrameEnds ends) {
    results.Ends = std::move(ends);
    if (!results.Ends.Any) return;
    results.ResultMin = results.Ends.Min;
    results.ResultMax = results.Ends.Max;
}

} // namespace vandra

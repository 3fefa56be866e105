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

void TakeDisplacements(TResults& into, TResults&& from) {
    into.Disp = std::move(from.Disp);
    into.Rotations = std::move(from.Rotations);
    into.DispStep = from.DispStep;
    into.DispMode = from.DispMode;
    into.DispPeriod = from.DispPeriod;
}

void TakeSectionValues(TResults& results, TFrameEnds ends) {
    results.Ends = std::move(ends);
    if (!results.Ends.Any) return;
    results.ResultMin = results.Ends.Min;
    results.ResultMax = results.Ends.Max;
}

} // namespace vandra

#include "post/Results.h"

#include <algorithm>

namespace vandra {

void ClearResults(TResults& results) {
    for (std::vector<double>* v :
         {&results.Disp.X, &results.Disp.Y, &results.Disp.Z, &results.Ends.I, &results.Ends.J})
        std::fill(v->begin(), v->end(), 0.0);
}

} // namespace vandra

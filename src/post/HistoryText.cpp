#include "post/HistoryText.h"

#include "model/NumberText.h"

namespace vandra {

std::string JointHistoryCsv(const TJointHistory& history) {
    std::string out = "time,X,Y,Z\n";
    for (size_t k = 0; k < history.Time.size(); ++k) {
        for (double v : {history.Time[k], history.X[k], history.Y[k], history.Z[k]}) {
            text::AppendGeneral(out, v);
            out += ',';
        }
        out.back() = '\n';
    }
    return out;
}

} // namespace vandra

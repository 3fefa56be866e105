#include "post/HistoryText.h"

#include "post/CsvText.h"

namespace vandra {

std::string JointHistoryCsv(const TJointHistory& history) {
    const CsvColumn columns[] = {
        {"time", history.Time}, {"X", history.X}, {"Y", history.Y}, {"Z", history.Z}};
    return CsvText(columns);
}

} // namespace vandra

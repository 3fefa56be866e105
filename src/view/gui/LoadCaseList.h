// The load case names of the store as list items: LoadCaseNames[1..LoadCaseCount], bounded by the
// names actually present.
#pragma once

#include "model/Model.h"

#include <QStringList>

#include <algorithm>

namespace vandra::gui {

inline QStringList LoadCaseItems(const TModel& model) {
    QStringList items;
    const int last =
        std::min(CountOf(model.LoadCaseCount), static_cast<int>(model.LoadCaseNames.size()) - 1);
    for (int i = 1; i <= last; ++i)
        items << QString::fromLatin1(model.LoadCaseNames[static_cast<size_t>(i)]);
    return items;
}

} // namespace vandra::gui

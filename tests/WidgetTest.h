// What the widget tests share: the example and data paths, and a named child that must be there.
#pragma once

#include <QObject>
#include <QString>

namespace vandra::testing {

inline const QString kExample = QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k");
inline const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

template <typename T> T* Child(const QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

} // namespace vandra::testing

// What the widget tests share: the example and data paths, a named child that must be there, the
// user's typing and pressing, and the error boxes a test reads instead of seeing them.
#pragma once

#include "app/gui/ErrorBox.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace vandra::testing {

inline const QString kExample = QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k");
inline const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

template <typename T> T* Child(const QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

inline QString Text(const QObject& w, const char* edit) {
    return Child<QLineEdit>(&w, edit)->text();
}
inline void Type(const QObject& w, const char* edit, const QString& text) {
    Child<QLineEdit>(&w, edit)->setText(text);
}
inline void Press(const QObject& w, const char* button) {
    QTest::mouseClick(Child<QPushButton>(&w, button), Qt::LeftButton);
}
// Chooses item `index` as the user does (the activated signal follows).
inline void Choose(const QObject& w, const char* combo, int index) {
    QComboBox* box = Child<QComboBox>(&w, combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
}
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
// Shows a window (at size, when given) and waits until it is on the screen.
inline bool Exposed(QWidget& w, QSize size = QSize()) {
    if (size.isValid()) w.resize(size);
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The error boxes shown while it lives, as "title: text" when `titled`, else the text alone.
struct ErrorBoxes {
    explicit ErrorBoxes(bool titled = false) {
        gui::SetErrorBoxHandler([this, titled](const QString& title, const QString& text) {
            texts << (titled ? title + QStringLiteral(": ") + text : text);
        });
    }
    ~ErrorBoxes() { gui::SetErrorBoxHandler(nullptr); }
    QStringList texts;
};

} // namespace vandra::testing

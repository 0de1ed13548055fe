#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QWidget>
#include <QtTest>

namespace brix::test {

// The named child; a missing one ends the test program (widget tests only).
template <typename Widget>
Widget& Find(const QObject& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return *widget;
}

// The widgets that take the focus as Tab is pressed `count` times from the focused one; an
// editable combo box stands for its line edit.
inline QList<QWidget*> TabWalk(qsizetype count) {
    QList<QWidget*> visited;
    while (visited.size() < count) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus && qobject_cast<QLineEdit*>(focus) &&
            qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        visited << focus;
    }
    return visited;
}

}  // namespace brix::test

#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QWidget>
#include <QtTest>

#include <algorithm>

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

// Buttons in the order the platform lays them out, left to right.
inline QList<QWidget*> LeftToRight(QList<QWidget*> widgets) {
    std::sort(widgets.begin(), widgets.end(),
              [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    return widgets;
}

}  // namespace brix::test

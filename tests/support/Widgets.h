#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
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

// Clicks the named button or check box.
inline void Click(const QObject& parent, const char* name) {
    Find<QAbstractButton>(parent, name).click();
}

// The name a keyboard walk reports for a control: its object name, else its class and text (Qt's
// own controls of the file dialog have no name); an editable combo box stands for its line edit.
inline QString FocusName(QWidget* focus) {
    if (focus && qobject_cast<QLineEdit*>(focus) && qobject_cast<QComboBox*>(focus->parentWidget()))
        focus = focus->parentWidget();
    if (focus == nullptr) return QStringLiteral("(nothing)");
    if (!focus->objectName().isEmpty()) return focus->objectName();
    return QString::fromLatin1(focus->metaObject()->className()) + QLatin1Char('_') +
           focus->property("text").toString().remove(QLatin1Char('&'));
}

// The names of the focused control and of those that take the focus as Tab is pressed `count`
// times.
inline QStringList TabWalk(qsizetype count) {
    QStringList names{FocusName(QApplication::focusWidget())};
    while (names.size() <= count) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << FocusName(QApplication::focusWidget());
    }
    return names;
}

}  // namespace brix::test

#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace brix::test {

// Acts on a modal dialog that code under test is about to run with exec(): once the nested loop
// shows a Dialog that was not already open when this was called, `act` is called with it, and
// whatever `act` leaves open is then rejected, so that exec() returns. Should no such dialog
// appear within about two seconds, every visible dialog is rejected so the test cannot hang;
// `*seen` then stays false. Widget tests only.
template <typename Dialog>
std::shared_ptr<bool> WhenDialogShown(std::function<void(Dialog&)> act) {
    auto seen = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    QSet<QWidget*> open;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) open.insert(window);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, seen, tries, poll, open] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Dialog*>(window);
            if (dialog == nullptr || !dialog->isVisible() || open.contains(window)) continue;
            *seen = true;
            *poll = nullptr;  // ends the self-reference
            const QPointer<QDialog> guard(dialog);
            act(*dialog);
            if (guard && guard->isVisible()) guard->reject();
            return;
        }
        if (++*tries > 200) {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                    dialog->reject();
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
    return seen;
}

}  // namespace brix::test

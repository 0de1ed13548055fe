#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace brix::test {

// Acts on a modal dialog that code under test is about to run with exec(): once the nested loop
// shows a visible Dialog, `act` is called with it (and should end it). Should no such dialog
// appear within about two seconds, every visible dialog is rejected so the test cannot hang;
// `*seen` then stays false. Widget tests only.
template <typename Dialog>
std::shared_ptr<bool> WhenDialogShown(std::function<void(Dialog&)> act) {
    auto seen = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, seen, tries, poll] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Dialog*>(window);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            *seen = true;
            *poll = nullptr;  // ends the self-reference
            act(*dialog);
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

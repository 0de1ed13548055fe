#pragma once

#include <QApplication>
#include <QWidget>

namespace brix {

// The window a dialog opened now belongs to: the active modal dialog, else the active window,
// else `fallback` (the main window). A command may arrive from any top-level window, and its
// dialog must sit over the window the user is looking at.
inline QWidget* DialogOwner(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return fallback;
}

}  // namespace brix

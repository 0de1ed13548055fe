#pragma once

#include <QtTest>

#include <memory>

#include "support/TempSession.h"
#include "ui/frame/MainFrame.h"

namespace brix::test {

// The main window over a session in a temporary folder, created once the test has filled the
// session. Widget tests only.
class UiFrame : public TempSession {
public:
    // Also closes the main window, before its session is emptied.
    void Reset() {
        Frame.reset();
        TempSession::Reset();
    }

    MainFrame& Open(bool show = true) {
        Frame.reset();  // one main window at a time, as in the program
        Frame = std::make_unique<MainFrame>(Sess, Messages);
        if (!Frame->Create()) qFatal("main window not created");
        if (show) {
            Frame->show();
            if (!QTest::qWaitForWindowExposed(Frame.get())) qFatal("main window not exposed");
        }
        return *Frame;
    }

    std::unique_ptr<MainFrame> Frame;
};

}  // namespace brix::test

#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace brix {

// Lets the system ask the program to close the way the user would: SIGTERM, SIGINT and SIGHUP
// (a session ending, `kill`, Ctrl+C in a terminal) call `onRequest` on the event loop, which
// closes the main window, and the program then saves and exits normally. Without this they
// would end it at once and lose every change of the run. Only the first signal is turned into
// a request; the handlers then go back to the default, so a second signal ends the program
// at once (the saves are atomic, so even that never leaves a damaged file). One instance at a
// time; a no-op where POSIX signals do not exist.
class CloseSignals : public QObject {
public:
    explicit CloseSignals(std::function<void()> onRequest);
    ~CloseSignals() override;
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

private:
    void Deliver();

    std::function<void()> onRequest_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace brix

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>

#include "core/base/CloseSignals.h"
#include "support/GuiApp.h"

namespace brix {
namespace {

bool HandlerIsDefault(int signal) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

// SIGTERM becomes one close request on the event loop; after it, and once the object is gone,
// the signals end the program again as they normally do.
TEST(CloseSignals, FirstSignalRequestsACloseThenTheDefaultReturns) {
    test::EnsureGuiApp();
    int requests = 0;
    {
        CloseSignals closeSignals([&] { ++requests; });
        EXPECT_FALSE(HandlerIsDefault(SIGTERM));
        EXPECT_FALSE(HandlerIsDefault(SIGHUP));
        ASSERT_EQ(std::raise(SIGTERM), 0);
        EXPECT_EQ(requests, 0);  // not from inside the signal handler
        QElapsedTimer waited;
        waited.start();
        while (requests == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents();
        EXPECT_EQ(requests, 1);
        EXPECT_TRUE(HandlerIsDefault(SIGTERM));
        EXPECT_TRUE(HandlerIsDefault(SIGINT));
    }
    // A second object works as the first did.
    {
        CloseSignals again([&] { ++requests; });
        EXPECT_FALSE(HandlerIsDefault(SIGINT));
    }
    EXPECT_TRUE(HandlerIsDefault(SIGINT));
    EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace brix

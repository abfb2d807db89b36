// The signals that end a program arrive as ordinary Qt signals, in the event loop.
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "shell/SignalWatcher.h"

namespace quill {
namespace {

TEST(SignalWatcher, DeliversEachSignalInTheEventLoopAndRestoresTheHandlingAfterwards) {
    struct sigaction before {};
    sigaction(SIGHUP, nullptr, &before);
    std::vector<int> received;
    {
        SignalWatcher watcher;
        QObject::connect(&watcher, &SignalWatcher::received,
                         [&](int signal) { received.push_back(signal); });
        ::raise(SIGTERM);
        ::raise(SIGINT);
        ::raise(SIGHUP);
        EXPECT_TRUE(received.empty());  // nothing happens inside the handler
        QElapsedTimer timer;
        timer.start();
        while (received.size() < 3 && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_THROW(SignalWatcher second, std::exception);
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace quill

#pragma once
// Waits on the GUI thread for a condition that queued calls will make true.
// QtTest's QTRY_ macros report to QtTest's own log, which a GoogleTest run
// never reads: a test that must fail on time-out asserts this instead.

#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace testutil {

// True once done() holds, processing events meanwhile; false when it still
// does not after the limit.
inline bool WaitWithEvents(const std::function<bool()>& done, int limitMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

}  // namespace testutil

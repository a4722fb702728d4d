#pragma once
// Processing events until a condition holds, for tests of widgets with a worker behind them.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace test_support {

// The bound only keeps a broken build from hanging.
inline bool waitFor(const std::function<bool()>& pred, int boundMs = 120000) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(2);
    }
    return true;
}

} // namespace test_support

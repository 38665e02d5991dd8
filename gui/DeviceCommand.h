#pragma once
// Runs a device request of a window on the run's device-command worker and hands
// the result back to that window on the GUI thread; a result whose window is gone
// is dropped. The window shows a busy cursor while it has requests pending.

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <stop_token>
#include <type_traits>
#include <utility>

#include "session/DeviceCommandWorker.h"

namespace gui {

// Counts a window's pending requests and shows the busy cursor meanwhile.
void BeginBusy(QWidget* window);
void EndBusy(QWidget* window);
int PendingRequests(const QWidget* window);

// One pending request of a window: its end (run, dropped by a stopping worker,
// or refused) gives the window's busy count back on the GUI thread.
class BusyTicket {
public:
    explicit BusyTicket(QWidget* window);
    ~BusyTicket();
    BusyTicket(const BusyTicket&) = delete;
    BusyTicket& operator=(const BusyTicket&) = delete;

private:
    QPointer<QWidget> window_;
};

// `job` runs on the worker with its stop token and returns a value; `done` runs
// on the GUI thread with that value, unless `owner` was destroyed first. False
// (and nothing runs) when the worker takes no jobs.
template <typename Job, typename Done>
bool RunDeviceCommand(QWidget* owner, session::DeviceCommandWorker& worker, Job job, Done done) {
    using Result = std::invoke_result_t<Job, std::stop_token>;
    static_assert(!std::is_void_v<Result>, "a device command returns its outcome");
    QPointer<QWidget> guard(owner);
    auto ticket = std::make_shared<BusyTicket>(owner->window());
    return worker.Post([guard, ticket, job = std::move(job), done = std::move(done)](std::stop_token stop) mutable {
        auto result = std::make_shared<Result>(job(stop));
        // Delivered through the application object, which outlives every window;
        // the guard is only read on the GUI thread.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, ticket, result, done = std::move(done)]() mutable {
                if (guard)
                    done(std::move(*result));
            },
            Qt::QueuedConnection);
    });
}

}  // namespace gui

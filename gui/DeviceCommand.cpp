#include "gui/DeviceCommand.h"

#include <QCoreApplication>
#include <QVariant>

namespace gui {

namespace {
constexpr char kPendingProperty[] = "quenloPendingRequests";
}

int PendingRequests(const QWidget* window) { return window->property(kPendingProperty).toInt(); }

void BeginBusy(QWidget* window) {
    const int pending = PendingRequests(window) + 1;
    window->setProperty(kPendingProperty, pending);
    if (pending == 1)
        window->setCursor(Qt::BusyCursor);
}

void EndBusy(QWidget* window) {
    const int pending = PendingRequests(window) - 1;
    window->setProperty(kPendingProperty, pending > 0 ? pending : 0);
    if (pending <= 0)
        window->unsetCursor();
}

BusyTicket::BusyTicket(QWidget* window) : window_(window) { BeginBusy(window); }

BusyTicket::~BusyTicket() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [guard = window_] {
            if (guard)
                EndBusy(guard.data());
        },
        Qt::QueuedConnection);
}

}  // namespace gui

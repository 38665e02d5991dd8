#pragma once
// Works the modal windows an action opens: each watcher looks for a shown
// window of its type and acts on it until its action says it is done.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testutil {

class ModalWatchers {
public:
    template <class Window>
    void Add(std::function<bool(Window&)> act) {
        auto* timer = new QTimer(&owner_);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible() && act(*window)) {
                    timer->stop();
                    return;
                }
        });
        timer->start(20);
    }

private:
    QObject owner_;
};

}  // namespace testutil

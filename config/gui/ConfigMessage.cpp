#include "config/gui/ConfigMessage.h"

#include <QMessageBox>

#include <utility>

#include "gui/StringText.h"

namespace config {

namespace {

// GUI thread only, like the boxes themselves.
ConfigMessageHook& Hook() {
    static ConfigMessageHook hook;
    return hook;
}

}  // namespace

void ShowConfigMessage(QWidget* parent, const QString& text) {
    if (Hook()) {
        Hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

void ShowConfigMessage(QWidget* parent, unsigned stringId) { ShowConfigMessage(parent, session::LoadText(stringId)); }

ConfigMessageHook SetConfigMessageHook(ConfigMessageHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace config

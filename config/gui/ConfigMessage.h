#pragma once
// The message boxes of the configuration sheet and its pages: a string-table
// text with an OK button. Tests take the texts through the hook instead.

#include <QString>

#include <functional>

class QWidget;

namespace config {

void ShowConfigMessage(QWidget* parent, const QString& text);
void ShowConfigMessage(QWidget* parent, unsigned stringId);

// Replaces the box with the hook (none: the box again); returns the previous hook.
using ConfigMessageHook = std::function<void(const QString&)>;
ConfigMessageHook SetConfigMessageHook(ConfigMessageHook hook);

}  // namespace config

#pragma once
// Takes the configuration sheet's message boxes as texts for a test's lifetime.

#include <QStringList>

#include "config/gui/ConfigMessage.h"

namespace testutil {

class ConfigMessageCapture {
public:
    ConfigMessageCapture() {
        previous_ = config::SetConfigMessageHook([this](const QString& text) { texts << text; });
    }
    ~ConfigMessageCapture() { config::SetConfigMessageHook(std::move(previous_)); }
    ConfigMessageCapture(const ConfigMessageCapture&) = delete;
    ConfigMessageCapture& operator=(const ConfigMessageCapture&) = delete;

    QStringList texts;

private:
    config::ConfigMessageHook previous_;
};

}  // namespace testutil

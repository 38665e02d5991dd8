#include "config/gui/ChoiceBindings.h"

#include <QRadioButton>
#include <QSignalBlocker>

namespace config {

ConfigCheckBox::ConfigCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void ConfigCheckBox::Load(int flag) {
    loaded_ = flag != 0;
    const QSignalBlocker block(this);
    setChecked(loaded_);
}

RadioGroup::RadioGroup(QObject* parent) : QObject(parent) {}

void RadioGroup::Add(QRadioButton* button, int value) {
    buttons_.emplace_back(button, value);
    button->setAutoExclusive(true);
    connect(button, &QRadioButton::clicked, this, &RadioGroup::Picked);
}

void RadioGroup::Load(int value) {
    loaded_.reset();
    for (auto& [button, buttonValue] : buttons_) {
        if (buttonValue == value)
            loaded_ = value;
    }
    for (auto& [button, buttonValue] : buttons_) {
        const QSignalBlocker block(button);
        // Auto-exclusive buttons refuse to be unchecked one by one.
        button->setAutoExclusive(false);
        button->setChecked(loaded_ && buttonValue == value);
        button->setAutoExclusive(true);
    }
}

std::optional<int> RadioGroup::Value() const {
    for (const auto& [button, value] : buttons_)
        if (button->isChecked())
            return value;
    return std::nullopt;
}

}  // namespace config

#include "config/gui/ChoiceBindings.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>

namespace config {

ConfigCheckBox::ConfigCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void ConfigCheckBox::Load(int flag) {
    loaded_ = flag != 0;
    const QSignalBlocker block(this);
    setChecked(loaded_);
}

// The buttons are exclusive among themselves only: a page built from its
// template holds several groups side by side on one parent.
RadioGroup::RadioGroup(QObject* parent) : QObject(parent), group_(new QButtonGroup(this)) {}

void RadioGroup::Add(QRadioButton* button, int value) {
    buttons_.emplace_back(button, value);
    group_->addButton(button);
    connect(button, &QRadioButton::clicked, this, &RadioGroup::Picked);
}

void RadioGroup::Load(int value) {
    loaded_.reset();
    for (auto& [button, buttonValue] : buttons_) {
        if (buttonValue == value)
            loaded_ = value;
    }
    // An exclusive group refuses to have its buttons unchecked one by one.
    group_->setExclusive(false);
    for (auto& [button, buttonValue] : buttons_) {
        const QSignalBlocker block(button);
        button->setChecked(loaded_ && buttonValue == value);
    }
    group_->setExclusive(true);
}

std::optional<int> RadioGroup::Value() const {
    for (const auto& [button, value] : buttons_)
        if (button->isChecked())
            return value;
    return std::nullopt;
}

}  // namespace config

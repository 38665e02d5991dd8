#include "config/gui/NumberEdit.h"

#include <QSignalBlocker>

#include <algorithm>
#include <string>

#include "config/gui/ConfigMessage.h"
#include "session/DeviceFamily.h"

namespace config {

NumberEdit::NumberEdit(Rules rules, QWidget* parent) : QLineEdit(parent), rules_(rules) {
    connect(this, &QLineEdit::textEdited, this, &NumberEdit::OnTextEdited);
    connect(this, &QLineEdit::editingFinished, this, &NumberEdit::OnEditingFinished);
}

void NumberEdit::Load(std::int64_t value) {
    loaded_ = value;
    edited_ = false;
    Show(value);
}

std::optional<std::int64_t> NumberEdit::Value() const {
    const std::string digits = text().toStdString();
    if (digits.empty() || digits == "-")
        return std::nullopt;
    try {
        return std::stoll(digits);
    } catch (...) {
        return rules_.max;  // more digits than any field holds
    }
}

void NumberEdit::Show(std::int64_t value) {
    const QSignalBlocker block(this);
    setText(QString::number(value));
}

void NumberEdit::OnTextEdited(const QString& typed) {
    edited_ = true;
    std::string text = typed.toStdString();
    session::FilterNumericText(text, rules_.filterMode);
    const QString filtered = QString::fromStdString(text);
    if (filtered != typed) {
        const int cursor = std::max(0, cursorPosition() - int(typed.size() - filtered.size()));
        const QSignalBlocker block(this);
        setText(filtered);
        setCursorPosition(std::min(cursor, int(filtered.size())));
    }
    // Above the range is clear at once; below it only when the person is done typing.
    if (const auto value = Value(); value && *value > rules_.max) {
        if (rules_.rangeMessage) {
            Show(rules_.fallback.value_or(rules_.max));
            ShowConfigMessage(this, rules_.rangeMessage);
        } else {
            Show(rules_.max);
        }
    }
    emit ValueEdited();
}

void NumberEdit::OnEditingFinished() {
    if (!edited_)
        return;
    const auto value = Value();
    if (!value) {
        if (rules_.emptyMessage) {
            Show(loaded_.value_or(rules_.min));
            ShowConfigMessage(this, rules_.emptyMessage);
            emit ValueEdited();
        }
        return;
    }
    if (*value < rules_.min) {
        Show(rules_.rangeMessage ? rules_.lowFallback.value_or(rules_.fallback.value_or(rules_.min)) : rules_.min);
        if (rules_.rangeMessage)
            ShowConfigMessage(this, rules_.rangeMessage);
        emit ValueEdited();
    }
}

}  // namespace config

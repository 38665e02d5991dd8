#include "config/gui/LimitedTextEdit.h"

#include <QSignalBlocker>

#include <string>

#include "config/blocks/FieldCodec.h"
#include "session/DeviceFamily.h"

namespace config {

LimitedTextEdit::LimitedTextEdit(int limit, Mode mode, QWidget* parent)
    : QLineEdit(parent), limit_(limit), mode_(mode) {
    connect(this, &QLineEdit::textEdited, this, &LimitedTextEdit::OnTextEdited);
}

void LimitedTextEdit::Load(const QString& text) {
    loaded_ = accepted_ = text;
    const QSignalBlocker block(this);
    setText(text);
}

void LimitedTextEdit::OnTextEdited(const QString& typed) {
    QString text = typed;
    if (mode_ == Mode::UpperCase) {
        text = text.toUpper();
    } else if (mode_ == Mode::NoBlanks) {
        text.remove(QLatin1Char(' '));
    } else if (mode_ == Mode::Digits) {
        std::string digits = text.toStdString();
        session::FilterNumericText(digits, 1);
        text = QString::fromStdString(digits);
    }
    std::string encoded;
    const bool fits = EncodeBlockText(text.toStdString(), static_cast<std::size_t>(limit_), encoded) == FieldStatus::Ok;
    if (!fits)
        text = accepted_;  // refused whole; nothing is cut
    if (text != typed) {
        const int cursor = cursorPosition() - int(typed.size() - text.size());
        const QSignalBlocker block(this);
        setText(text);
        setCursorPosition(std::clamp(cursor, 0, int(text.size())));
    }
    accepted_ = text;
    emit TextChangedByPerson();
}

}  // namespace config

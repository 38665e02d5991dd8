#include "config/gui/LimitedTextEdit.h"

#include <QSignalBlocker>

#include <algorithm>

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

QString LimitedTextEdit::CutToLimit(const QString& text) const {
    // What was inserted sits between the part kept in front and the part kept
    // behind; only it is cut, to the room the limit leaves, as an edit's
    // maximum length does (typing at the limit adds nothing).
    qsizetype front = 0;
    while (front < accepted_.size() && front < text.size() && accepted_[front] == text[front])
        ++front;
    qsizetype back = 0;
    while (back < accepted_.size() - front && back < text.size() - front &&
           accepted_[accepted_.size() - 1 - back] == text[text.size() - 1 - back])
        ++back;
    const qsizetype kept = front + back;
    const qsizetype room = std::max<qsizetype>(0, limit_ - kept);
    const QString inserted = text.mid(front, text.size() - kept);
    return text.left(front) + inserted.left(room) + text.right(back);
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
    if (EncodeBlockText(text.toStdString(), std::string::npos, encoded) != FieldStatus::Ok) {
        text = accepted_;  // a character the device cannot store: the edit is refused whole
    } else if (text.size() > accepted_.size() && text.size() > limit_) {
        text = CutToLimit(text);
    }
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

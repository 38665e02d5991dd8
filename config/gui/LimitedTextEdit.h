#pragma once
// A text field of a configuration page: at most `limit` characters, each of
// them one the device's code page (Windows-1250) holds; optionally digits
// only or upper case. The limit works as an edit's maximum length: typing
// stops at it and a longer paste is cut to it. Text with a character the
// code page lacks is refused whole. Only the person's edits are held to
// this; a text loaded from the device is shown as it is.

#include <QLineEdit>

#include <cstdint>

namespace config {

class LimitedTextEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Mode : std::uint8_t { Plain, Digits, UpperCase, NoBlanks };

    LimitedTextEdit(int limit, Mode mode = Mode::Plain, QWidget* parent = nullptr);

    void Load(const QString& text);
    QString LoadedText() const { return loaded_; }
    bool Changed() const { return text() != loaded_; }
    // The text as the page sends it (UTF-8).
    std::string Utf8() const { return text().toStdString(); }

signals:
    void TextChangedByPerson();

private:
    void OnTextEdited(const QString& text);
    // The edit's text with its inserted part cut to the room the limit leaves.
    QString CutToLimit(const QString& text) const;

    int limit_;
    Mode mode_;
    QString loaded_;
    QString accepted_;  // the last text the rules let through
};

}  // namespace config

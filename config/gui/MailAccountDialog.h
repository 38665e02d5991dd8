#pragma once
// "Edycja kont email": one recipient address, at most 63 characters. The mail
// page refuses an address whose stored form would not fit its slot.

#include <QDialog>

class QLabel;
class QPushButton;

namespace config {

class LimitedTextEdit;

class MailAccountDialog : public QDialog {
    Q_OBJECT
public:
    MailAccountDialog(const QString& prompt, const QString& address, QWidget* parent = nullptr);

    QString Address() const;
    LimitedTextEdit* AddressEdit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }

private:
    LimitedTextEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace config

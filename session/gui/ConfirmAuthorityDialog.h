#pragma once
// Asks for the user name and password that a device's network change needs.

#include <QDialog>
#include <string>

class QLineEdit;

namespace session {

class ConfirmAuthorityDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmAuthorityDialog(QWidget* parent = nullptr);

    std::string UserName() const;
    std::string Password() const;

private:
    QLineEdit* m_editUserName;
    QLineEdit* m_editPassword;
};

}  // namespace session

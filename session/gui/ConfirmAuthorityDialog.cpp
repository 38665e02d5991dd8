#include "session/gui/ConfirmAuthorityDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/tools/DeviceSearch.h"

namespace session {

ConfirmAuthorityDialog::ConfirmAuthorityDialog(QWidget* parent)
    : QDialog(parent), m_editUserName(new QLineEdit(this)), m_editPassword(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Confirm Authority"));
    m_editUserName->setObjectName(QStringLiteral("userName"));
    m_editPassword->setObjectName(QStringLiteral("password"));
    m_editUserName->setMaxLength(static_cast<int>(kSearchCredentialMax));
    m_editPassword->setMaxLength(static_cast<int>(kSearchCredentialMax));
    m_editPassword->setEchoMode(QLineEdit::Password);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Nazwa użytkownika :"), m_editUserName);
    fields->addRow(QStringLiteral("Hasło :"), m_editPassword);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("ANULUJ"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

std::string ConfirmAuthorityDialog::UserName() const {
    return m_editUserName->text().toStdString();
}

std::string ConfirmAuthorityDialog::Password() const {
    return m_editPassword->text().toStdString();
}

}  // namespace session

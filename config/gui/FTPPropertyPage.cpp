#include "config/gui/FTPPropertyPage.h"

#include <QGridLayout>
#include <QLabel>

#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"

namespace config {

namespace {

LimitedTextEdit* NamedEdit(int limit, const char* name, QWidget* parent) {
    auto* edit = new LimitedTextEdit(limit, LimitedTextEdit::Mode::Plain, parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

NumberEdit::Rules PortRules() {
    NumberEdit::Rules rules;
    rules.min = 1;
    rules.max = 65535;
    rules.rangeMessage = 4054;
    rules.fallback = kFtpDefaultPort;
    return rules;  // an emptied port is refused when the page is left
}

}  // namespace

FTPPropertyPage::FTPPropertyPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(QStringLiteral("FTP"), set, parent),
      user_(NamedEdit(kFtpUserChars, "user", this)),
      password_(NamedEdit(kFtpPasswordChars, "password", this)),
      port_(new NumberEdit(PortRules(), this)),
      server_(NamedEdit(kFtpServerChars, "server", this)),
      directory_(NamedEdit(kFtpDirectoryChars, "directory", this)) {
    password_->setEchoMode(QLineEdit::Password);
    port_->setObjectName(QStringLiteral("port"));
    auto* grid = new QGridLayout(this);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Nazwa użytk. : ", user_}, {"Hasło : ", password_}, {"Port : ", port_},
        {"Serwer  : ", server_},    {"Katalog :", directory_},
    };
    int row = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->setRowStretch(row, 1);
}

void FTPPropertyPage::Fill() {
    values_ = LoadFtpValues(WorkingSet());
    server_->Load(QString::fromStdString(values_.server.Loaded()));
    user_->Load(QString::fromStdString(values_.user.Loaded()));
    password_->Load(QString::fromStdString(values_.password.Loaded()));
    directory_->Load(QString::fromStdString(values_.directory.Loaded()));
    port_->Load(values_.port.Loaded());
}

void FTPPropertyPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[std::size_t(ApplyRoutine::Ftp)] = [values = values_](ApplyContext& apply) {
        return SendFtpConfig(values, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); });
    };
}

void FTPPropertyPage::Pull() {
    values_.server.Edit(server_->Utf8());
    values_.user.Edit(user_->Utf8());
    values_.password.Edit(password_->Utf8());
    values_.directory.Edit(directory_->Utf8());
    const auto port = port_->Value();
    values_.port.Edit(port && *port >= 1 && *port <= 65535 ? *port : values_.port.Loaded());
}

unsigned FTPPropertyPage::LeaveRefusal() { return port_->text().isEmpty() ? 4090 : 0; }

}  // namespace config

#include "config/gui/FTPPropertyPage.h"

#include "config/gui/FtpPageTemplate.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"

namespace config {

namespace {

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
    : ConfigPage(gui::TemplateText(kFtpPageTemplate.caption), set, parent) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kFtpPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            const auto text = [&](int limit) { return new LimitedTextEdit(limit, LimitedTextEdit::Mode::Plain, &page); };
            switch (control.id) {
            case 1040:
                return text(kFtpUserChars);
            case 1043:
                return text(kFtpPasswordChars);
            case 1042:
                return new NumberEdit(PortRules(), &page);
            case 1283:
                return text(kFtpServerChars);
            case 1285:
                return text(kFtpDirectoryChars);
            default:
                return nullptr;
            }
        });
    user_ = controls.Named<LimitedTextEdit>(1040, "user");
    password_ = controls.Named<LimitedTextEdit>(1043, "password");
    port_ = controls.Named<NumberEdit>(1042, "port");
    server_ = controls.Named<LimitedTextEdit>(1283, "server");
    directory_ = controls.Named<LimitedTextEdit>(1285, "directory");
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

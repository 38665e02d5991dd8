#include "config/gui/MailPropertyPage.h"

#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MailAccountDialog.h"
#include "config/gui/MailPageTemplate.h"
#include "gui/StringText.h"

namespace config {

namespace {

constexpr int kAuthYes = 2;
constexpr int kAuthNo = 0;

}  // namespace

MailPropertyPage::MailPropertyPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(gui::TemplateText(kMailPageTemplate.caption), set, parent), auth_(new RadioGroup(this)) {
    const int senderLimit = static_cast<int>(MailSenderLimit(set.Facts()));
    const gui::TemplateControls controls =
        BuildFromTemplate(kMailPageTemplate, [&](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1044:
                return new LimitedTextEdit(63, LimitedTextEdit::Mode::Plain, &page);
            case 1045:
                return new LimitedTextEdit(senderLimit, LimitedTextEdit::Mode::Plain, &page);
            case 1042:
            case 1043:
                return new LimitedTextEdit(31, LimitedTextEdit::Mode::Plain, &page);
            default:
                return nullptr;
            }
        });
    server_ = controls.Named<LimitedTextEdit>(1044, "server");
    sender_ = controls.Named<LimitedTextEdit>(1045, "sender");
    user_ = controls.Named<LimitedTextEdit>(1042, "user");
    password_ = controls.Named<LimitedTextEdit>(1043, "password");
    authYes_ = controls.Get<QRadioButton>(1268);
    authNo_ = controls.Get<QRadioButton>(1269);
    list_ = controls.Named<QTreeWidget>(1267, "recipients");
    auto* add = controls.Named<QPushButton>(1118, "add");
    auto* remove = controls.Named<QPushButton>(1117, "delete");
    auto* edit = controls.Named<QPushButton>(1119, "edit");
    auth_->Add(authYes_, kAuthYes);
    auth_->Add(authNo_, kAuthNo);
    list_->setHeaderLabels({session::LoadText(3014)});
    list_->header()->resizeSection(0, 300);
    list_->setAllColumnsShowFocus(true);

    connect(add, &QPushButton::clicked, this, &MailPropertyPage::AddRecipient);
    connect(remove, &QPushButton::clicked, this, &MailPropertyPage::DeleteRecipient);
    connect(edit, &QPushButton::clicked, this, &MailPropertyPage::EditRecipient);
    connect(auth_, &RadioGroup::Picked, this, [this] { ShowAuthentication(auth_->Value()); });

    runDialog_ = [this](const QString& prompt, const QString& address) -> std::optional<QString> {
        MailAccountDialog dialog(prompt, address, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Address();
    };
}

void MailPropertyPage::Fill() {
    values_ = LoadMailValues(WorkingSet());
    server_->Load(QString::fromStdString(values_.server.Loaded()));
    sender_->Load(QString::fromStdString(values_.sender.Loaded()));
    user_->Load(QString::fromStdString(values_.user.Loaded()));
    password_->Load(QString::fromStdString(values_.password.Loaded()));
    auth_->Load(values_.auth.Loaded());
    ShowAuthentication(values_.auth.Loaded());
    RefreshList();
}

void MailPropertyPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[std::size_t(ApplyRoutine::Mail)] = [values = values_](ApplyContext& apply) {
        return SendMailConfig(values, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); });
    };
}

void MailPropertyPage::Pull() {
    values_.server.Edit(server_->Utf8());
    values_.sender.Edit(sender_->Utf8());
    values_.user.Edit(user_->Utf8());
    values_.password.Edit(password_->Utf8());
    // A value no radio stands for stays as the device gave it.
    values_.auth.Edit(auth_->Value().value_or(values_.auth.Loaded()));
}

void MailPropertyPage::ShowAuthentication(std::optional<int> auth) {
    // "Nie" disables user and password; "Tak" or a value of neither leaves them enabled.
    const bool enabled = auth != kAuthNo;
    user_->setEnabled(enabled);
    password_->setEnabled(enabled);
}

void MailPropertyPage::RefreshList() {
    list_->clear();
    for (const MailRecipient& recipient : values_.recipients)
        list_->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromStdString(recipient.address)}));
}

int MailPropertyPage::SelectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void MailPropertyPage::AddRecipient() {
    if (values_.recipients.size() >= kMailRecipientSlots) {
        ShowConfigMessage(this, 4041);
        return;
    }
    const auto address = runDialog_(session::LoadText(8329), QString());
    if (!address)
        return;
    if (const unsigned refusal = values_.AddRecipient(address->toStdString()))
        ShowConfigMessage(this, refusal);
    RefreshList();
}

void MailPropertyPage::DeleteRecipient() {
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, 4088);
        return;
    }
    values_.DeleteRecipient(static_cast<std::size_t>(row));
    RefreshList();
}

void MailPropertyPage::EditRecipient() {
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, 4089);
        return;
    }
    const auto& address = values_.recipients[static_cast<std::size_t>(row)].address;
    const auto edited = runDialog_(session::LoadText(8330), QString::fromStdString(address));
    // An edit that ends empty leaves the row as it was.
    if (!edited)
        return;
    if (const unsigned refusal = values_.EditRecipient(static_cast<std::size_t>(row), edited->toStdString()))
        ShowConfigMessage(this, refusal);
    RefreshList();
    list_->topLevelItem(row)->setSelected(true);
}

}  // namespace config

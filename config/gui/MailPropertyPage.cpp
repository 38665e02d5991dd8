#include "config/gui/MailPropertyPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MailAccountDialog.h"
#include "gui/StringText.h"

namespace config {

namespace {

constexpr int kAuthYes = 2;
constexpr int kAuthNo = 0;

LimitedTextEdit* NamedEdit(int limit, const char* name, QWidget* parent) {
    auto* edit = new LimitedTextEdit(limit, LimitedTextEdit::Mode::Plain, parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

MailPropertyPage::MailPropertyPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(QStringLiteral("Mail"), set, parent),
      server_(NamedEdit(63, "server", this)),
      sender_(NamedEdit(static_cast<int>(MailSenderLimit(set.Facts())), "sender", this)),
      user_(NamedEdit(31, "user", this)),
      password_(NamedEdit(31, "password", this)),
      authYes_(new QRadioButton(QStringLiteral("Tak"), this)),
      authNo_(new QRadioButton(QStringLiteral("Nie"), this)),
      auth_(new RadioGroup(this)),
      list_(new QTreeWidget(this)) {
    password_->setEchoMode(QLineEdit::Password);
    auth_->Add(authYes_, kAuthYes);
    auth_->Add(authNo_, kAuthNo);
    list_->setObjectName(QStringLiteral("recipients"));
    list_->setHeaderLabels({session::LoadText(3014)});
    list_->header()->resizeSection(0, 300);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);

    auto* add = new QPushButton(QStringLiteral("DODAJ"), this);
    auto* remove = new QPushButton(QString::fromUtf8("USUŃ"), this);
    auto* edit = new QPushButton(QStringLiteral("EDYCJA"), this);
    add->setObjectName(QStringLiteral("add"));
    remove->setObjectName(QStringLiteral("delete"));
    edit->setObjectName(QStringLiteral("edit"));

    auto* left = new QGridLayout;
    left->addWidget(new QLabel(QStringLiteral("Serwer :"), this), 0, 0);
    left->addWidget(server_, 0, 1);
    left->addWidget(new QLabel(QString::fromUtf8("Wiadomość od :"), this), 1, 0);
    left->addWidget(sender_, 1, 1);
    auto* modify = new QGroupBox(QStringLiteral("Modyfikacja adresu email "), this);
    auto* buttons = new QHBoxLayout(modify);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(edit);
    left->addWidget(modify, 2, 0, 1, 2);

    auto* check = new QGroupBox(QString::fromUtf8("Weryfikacja hasła"), this);
    auto* right = new QGridLayout(check);
    right->addWidget(new QLabel(QStringLiteral("Weryfikuj :"), check), 0, 0);
    auto* radios = new QHBoxLayout;
    radios->addWidget(authYes_);
    radios->addWidget(authNo_);
    right->addLayout(radios, 0, 1);
    right->addWidget(new QLabel(QString::fromUtf8("Użytkownik :"), check), 1, 0);
    right->addWidget(user_, 1, 1);
    right->addWidget(new QLabel(QString::fromUtf8("Hasło :"), check), 2, 0);
    right->addWidget(password_, 2, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(check);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_);

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

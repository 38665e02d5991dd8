#include "config/gui/AccountPropertyPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"
#include "gui/StringText.h"
#include "session/AppData.h"

namespace config {

namespace {

NumberEdit::Rules MaxUsersRules() {
    NumberEdit::Rules rules;
    rules.min = 1;
    rules.max = 5;
    rules.rangeMessage = 4043;
    rules.fallback = 5;
    rules.lowFallback = 3;
    return rules;  // an emptied maximum is refused when the page is left
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

AccountPropertyPage::AccountPropertyPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent)
    : ConfigPage(QStringLiteral("Konta  "), set, parent),
      app_(app),
      list_(new QTreeWidget(this)),
      maxUsers_(new NumberEdit(MaxUsersRules(), this)),
      add_(Button("DODAJ", "add", this)),
      delete_(Button("USUŃ", "delete", this)),
      edit_(Button("EDYTUJ", "edit", this)),
      exit_(Button("WYJŚCIE", "exit", this)),
      ok_(Button("OK", "ok", this)),
      name_(new LimitedTextEdit(int(kAccountTextChars), LimitedTextEdit::Mode::NoBlanks, this)),
      password_(new LimitedTextEdit(int(kAccountTextChars), LimitedTextEdit::Mode::NoBlanks, this)),
      activity_(new QComboBox(this)),
      level_(new QComboBox(this)) {
    const float scale = app.fl_DpiScale.load();
    list_->setObjectName(QStringLiteral("accounts"));
    list_->setHeaderLabels({session::LoadText(3015), session::LoadText(3016), session::LoadText(3017)});
    list_->header()->resizeSection(0, int(80 * scale));
    list_->header()->resizeSection(1, int(130 * scale));
    list_->header()->resizeSection(2, int(130 * scale));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    maxUsers_->setObjectName(QStringLiteral("maxUsers"));
    name_->setObjectName(QStringLiteral("name"));
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    activity_->addItems({"1    Min", "5    Min", "10  Min", "1    Hour", "1    Day", "INFINITY"});
    level_->addItems({"SUPERVISOR", "HIGH         USER", "NORMAL   USER", "GUEST"});

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8("Maks. Ilość użytkow :"), this));
    for (QWidget* widget : std::initializer_list<QWidget*>{maxUsers_, add_, delete_, edit_, exit_, ok_})
        row->addWidget(widget);
    auto* group = new QGridLayout;
    const std::pair<const char*, QWidget*> fields[] = {
        {"Nazwa użytk. :", name_}, {"Aktywność :", activity_}, {"Hasło :", password_}, {"Poziom :", level_}};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QString::fromUtf8(fields[i].first), this);
        group->addWidget(label, i / 2, (i % 2) * 2);
        group->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
        editGroup_ << label << fields[i].second;
    }
    editGroup_ << ok_ << exit_;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(row);
    layout->addLayout(group);

    connect(add_, &QPushButton::clicked, this, &AccountPropertyPage::AddAccount);
    connect(delete_, &QPushButton::clicked, this, &AccountPropertyPage::DeleteAccount);
    connect(edit_, &QPushButton::clicked, this, &AccountPropertyPage::EditAccount);
    connect(ok_, &QPushButton::clicked, this, &AccountPropertyPage::SaveAccount);
    connect(exit_, &QPushButton::clicked, this, &AccountPropertyPage::CloseEdit);
    connect(maxUsers_, &NumberEdit::ValueEdited, this, [this] {
        if (const auto value = maxUsers_->Value())
            values_.maxUsers.Edit(*value);
    });
    CloseEditGroup();
}

void AccountPropertyPage::Fill() {
    values_ = LoadAccountValues(WorkingSet(), app_.CSettingINI.m_strUserName.Get());
    // The edit's change rule runs on the value it is filled with, and says so.
    const unsigned message = values_.FillMaxUsers();
    maxUsers_->Load(values_.maxUsers.Current());
    RefreshRows();
    if (message)
        ShowConfigMessage(this, message);
}

void AccountPropertyPage::AddSendRoutines(ApplyRoutines& routines) {
    // The account list and login settings are replaced on the worker while the
    // sheet is disabled; nothing else reads them meanwhile.
    routines[std::size_t(ApplyRoutine::Account)] = [values = values_](ApplyContext& apply) {
        return SendAccountConfig(
            values, apply.Set(),
            [&apply](std::uint8_t option) { return apply.StoreOrReportText(option, kAccountStoreFailedText); },
            apply.App());
    };
}

unsigned AccountPropertyPage::LeaveRefusal() {
    if (maxUsers_->text().isEmpty())
        return 4042;
    CloseEdit();
    return 0;
}

void AccountPropertyPage::OpenEditGroup(EditMode mode) {
    mode_ = mode;
    editing_ = true;
    for (QWidget* widget : editGroup_) {
        widget->show();
        widget->setEnabled(true);
    }
    add_->setEnabled(false);
    delete_->setEnabled(false);
    edit_->setEnabled(false);
    emit EditingChanged(true);
}

void AccountPropertyPage::CloseEditGroup() {
    for (QWidget* widget : editGroup_) {
        widget->hide();
        widget->setEnabled(false);
    }
    add_->setEnabled(true);
    delete_->setEnabled(true);
    edit_->setEnabled(true);
    list_->setEnabled(true);
    if (std::exchange(editing_, false))
        emit EditingChanged(false);
}

void AccountPropertyPage::RefreshRows() {
    const int selected = SelectedRow();
    list_->clear();
    for (const Account& account : values_.accounts) {
        const auto [level, activity] = AccountRowTexts(account);
        list_->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromStdString(account.name),
                                                               QString::fromStdString(level),
                                                               QString::fromStdString(activity)}));
    }
    if (selected >= 0 && selected < list_->topLevelItemCount())
        list_->topLevelItem(selected)->setSelected(true);
}

int AccountPropertyPage::SelectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void AccountPropertyPage::AddAccount() {
    if (const unsigned refusal = values_.CanAdd()) {
        ShowConfigMessage(this, refusal);
        return;
    }
    OpenEditGroup(EditMode::Adding);
    name_->Load(QString());
    password_->Load(QString());
    activity_->setCurrentIndex(-1);
    level_->setCurrentIndex(-1);
}

void AccountPropertyPage::EditAccount() {
    if (values_.accounts.empty())
        ShowConfigMessage(this, 4046);
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, 4087);
        return;
    }
    const Account& account = values_.accounts[std::size_t(row)];
    OpenEditGroup(EditMode::Editing);
    level_->setCurrentIndex(LevelIndexOf(account.level));
    activity_->setCurrentIndex(ActivityIndexOf(account.activity));
    name_->Load(QString::fromStdString(account.name));
    password_->Load(QString::fromStdString(account.password));
    list_->setEnabled(false);
}

void AccountPropertyPage::SaveAccount() {
    const std::string name = name_->Utf8();
    const std::string password = password_->Utf8();
    const int level = level_->currentIndex();
    const int activity = activity_->currentIndex();
    CloseEditGroup();
    const int row = SelectedRow();
    const unsigned refusal = mode_ == EditMode::Editing
                                 ? (row < 0 ? 4022 : values_.Edit(std::size_t(row), name, password, level, activity))
                                 : values_.Add(name, password, level, activity);
    if (refusal) {
        ShowConfigMessage(this, refusal);
        return;
    }
    RefreshRows();
}

void AccountPropertyPage::DeleteAccount() {
    if (values_.accounts.empty())
        ShowConfigMessage(this, 4045);
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, 4086);
        return;
    }
    if (const unsigned refusal = values_.Delete(std::size_t(row))) {
        ShowConfigMessage(this, refusal);
        return;
    }
    RefreshRows();
}

void AccountPropertyPage::CloseEdit() {
    name_->Load(QString());
    password_->Load(QString());
    activity_->setCurrentIndex(-1);
    level_->setCurrentIndex(-1);
    CloseEditGroup();
}

}  // namespace config

#include "config/gui/AccountPropertyPage.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "config/ConfigWorkingSet.h"
#include "config/gui/AccountPageTemplate.h"
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

}  // namespace

AccountPropertyPage::AccountPropertyPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent)
    : ConfigPage(gui::TemplateText(kAccountPageTemplate.caption), set, parent), app_(app) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kAccountPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1040:
                return new NumberEdit(MaxUsersRules(), &page);
            case 1041:
            case 1042:
                return new LimitedTextEdit(int(kAccountTextChars), LimitedTextEdit::Mode::NoBlanks, &page);
            default:
                return nullptr;
            }
        });
    list_ = controls.Get<QTreeWidget>(1284);
    maxUsers_ = controls.Get<NumberEdit>(1040);
    add_ = controls.Get<QPushButton>(1285);
    delete_ = controls.Get<QPushButton>(1286);
    edit_ = controls.Get<QPushButton>(1287);
    exit_ = controls.Get<QPushButton>(1068);
    ok_ = controls.Get<QPushButton>(1288);
    name_ = controls.Get<LimitedTextEdit>(1041);
    password_ = controls.Get<LimitedTextEdit>(1042);
    activity_ = controls.Get<QComboBox>(1291);
    level_ = controls.Get<QComboBox>(1294);

    const float scale = app.fl_DpiScale.load();
    list_->setObjectName(QStringLiteral("accounts"));
    list_->setHeaderLabels({session::LoadText(3015), session::LoadText(3016), session::LoadText(3017)});
    list_->header()->resizeSection(0, int(80 * scale));
    list_->header()->resizeSection(1, int(130 * scale));
    list_->header()->resizeSection(2, int(130 * scale));
    list_->setAllColumnsShowFocus(true);
    maxUsers_->setObjectName(QStringLiteral("maxUsers"));
    add_->setObjectName(QStringLiteral("add"));
    delete_->setObjectName(QStringLiteral("delete"));
    edit_->setObjectName(QStringLiteral("edit"));
    exit_->setObjectName(QStringLiteral("exit"));
    ok_->setObjectName(QStringLiteral("ok"));
    name_->setObjectName(QStringLiteral("name"));
    password_->setObjectName(QStringLiteral("password"));
    activity_->addItems({"1    Min", "5    Min", "10  Min", "1    Hour", "1    Day", "INFINITY"});
    level_->addItems({"SUPERVISOR", "HIGH         USER", "NORMAL   USER", "GUEST"});
    for (const int id : {1289, 1290, 1292, 1293, 1041, 1042, 1291, 1294, 1288, 1068})
        editGroup_ << controls.Widget(id);

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

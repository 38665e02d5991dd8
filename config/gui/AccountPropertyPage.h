#pragma once
// "Konta  ": the device's accounts and the maximum number of users. The page
// edits its own copy (AccountValues); its edit group opens for adding or
// editing one account, and the sheet's buttons wait while it is open.

#include "config/gui/ConfigPage.h"
#include "config/pages/AccountValues.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace session {
class AppData;
}

namespace config {

class LimitedTextEdit;
class NumberEdit;

class AccountPropertyPage : public ConfigPage {
    Q_OBJECT
public:
    AccountPropertyPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent = nullptr);

    const AccountValues& Values() const { return values_; }
    bool EditGroupOpen() const { return editing_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

    void AddAccount();
    void DeleteAccount();
    void EditAccount();
    void SaveAccount();
    void CloseEdit();

    QTreeWidget* List() const { return list_; }
    NumberEdit* MaxUsersEdit() const { return maxUsers_; }
    LimitedTextEdit* NameEdit() const { return name_; }
    LimitedTextEdit* PasswordEdit() const { return password_; }
    QComboBox* ActivityList() const { return activity_; }
    QComboBox* LevelList() const { return level_; }

signals:
    // The edit group opened (the sheet disables its buttons) or closed.
    void EditingChanged(bool editing);

protected:
    void Fill() override;
    unsigned LeaveRefusal() override;

private:
    enum class EditMode { Adding, Editing };
    void OpenEditGroup(EditMode mode);
    void CloseEditGroup();
    void RefreshRows();
    int SelectedRow() const;

    session::AppData& app_;
    AccountValues values_;
    EditMode mode_ = EditMode::Adding;
    bool editing_ = false;
    QTreeWidget* list_ = nullptr;
    NumberEdit* maxUsers_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPushButton* ok_ = nullptr;
    LimitedTextEdit* name_ = nullptr;
    LimitedTextEdit* password_ = nullptr;
    QComboBox* activity_ = nullptr;
    QComboBox* level_ = nullptr;
    QList<QWidget*> editGroup_;
};

}  // namespace config

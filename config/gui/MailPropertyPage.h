#pragma once
// "Mail": the mail server, the sender, the server's authentication and up to
// four recipients. The page edits its MailValues; Apply writes what changed.

#include <functional>
#include <optional>

#include "config/gui/ConfigPage.h"
#include "config/pages/MailValues.h"

class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace config {

class LimitedTextEdit;
class RadioGroup;

class MailPropertyPage : public ConfigPage {
    Q_OBJECT
public:
    explicit MailPropertyPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    // The values as the person left them (after PullControls).
    const MailValues& Values() const { return values_; }
    void AddSendRoutines(ApplyRoutines& routines) override;

    // Runs "Edycja kont email" with the prompt and address; the address on
    // "OK", none on "ANULUJ". Tests answer in its place.
    using AccountDialogRunner = std::function<std::optional<QString>(const QString& prompt, const QString& address)>;
    void SetAccountDialogRunner(AccountDialogRunner runner) { runDialog_ = std::move(runner); }

    void AddRecipient();
    void DeleteRecipient();
    void EditRecipient();

    LimitedTextEdit* SenderEdit() const { return sender_; }
    LimitedTextEdit* ServerEdit() const { return server_; }
    LimitedTextEdit* UserEdit() const { return user_; }
    LimitedTextEdit* PasswordEdit() const { return password_; }
    QRadioButton* AuthYes() const { return authYes_; }
    QRadioButton* AuthNo() const { return authNo_; }
    QTreeWidget* Recipients() const { return list_; }

protected:
    void Fill() override;
    void Pull() override;

private:
    void ShowAuthentication(std::optional<int> auth);
    void RefreshList();
    int SelectedRow() const;

    MailValues values_;
    AccountDialogRunner runDialog_;
    LimitedTextEdit* server_ = nullptr;
    LimitedTextEdit* sender_ = nullptr;
    LimitedTextEdit* user_ = nullptr;
    LimitedTextEdit* password_ = nullptr;
    QRadioButton* authYes_ = nullptr;
    QRadioButton* authNo_ = nullptr;
    RadioGroup* auth_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace config

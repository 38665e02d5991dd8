#pragma once
// The login dialog, the first window of every run: device address, user name,
// password and web port, and the connect button, which runs one login on a
// worker thread while a progress bar moves. A login the device accepts ends
// the dialog with kLoggedIn; a refused one shows a short failure text and the
// dialog waits for the next attempt. Buttons lead to the address book, the
// device search, the companion player, the copy-program dialog and the
// firmware upgrade. The window is skinned from BMP/LOGIN/ in the program
// folder and draws its own replacement where a picture is missing.

#include <QDialog>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Timing.h"
#include "session/files/AddressBook.h"
#include "session/tools/DeviceSearch.h"
#include "session/login/LoginForm.h"
#include "session/login/LoginThread.h"

class QLineEdit;

namespace session {

class AppData;
class CVtxButton;

class LoginDialog : public QDialog {
    Q_OBJECT

public:
    // Results of exec().
    static constexpr int kLoggedIn = 1;   // the device accepted the login; its facts are in the AppData
    static constexpr int kCancelled = 2;  // the cancel button or Escape

    explicit LoginDialog(AppData& app, QWidget* parent = nullptr);
    ~LoginDialog() override;

    // Start-up's pre-fill from the settings: server, user and port; the
    // password stays empty.
    void PrefillFromSettings();

    // The fields as they stand.
    LoginFields Fields() const;
    AppData& App() const { return m_app; }

    // Every wait of the dialog and its tools (tests shorten them).
    void SetTiming(const platform::Timing& timing);
    const platform::Timing& Timing() const { return m_timing; }

    // A message box with the string-table text of the id.
    void ShowMessageId(unsigned id);

    // What the upgrade button runs once its checks passed: the firmware
    // upgrade dialog, which lives in a library above this one. Without it the
    // button shows a notice.
    void SetUpgradeDialog(std::function<void(LoginDialog&)> run) { m_runUpgradeDialog = std::move(run); }

    void done(int result) override;
    void reject() override;

    // The failure text drawn in the progress area ("" while none shows).
    QString FailureText() const { return m_bShowFailure ? m_strFailure : QString(); }
    bool Animating() const { return m_bAnimating; }
    // Every frame and digit picture was found.
    bool SkinComplete() const;

signals:
    // The progress bar moved to a step (0-17).
    void animateStepShown(int step);

protected:
    // How the dialog reaches the operator and the other windows; each is
    // overridable so tests can answer in their place.
    virtual void ShowMessageText(const QString& text);
    virtual std::optional<IPRecord> RunAddressBook();
    virtual DeviceSearchChoice RunDeviceSearch();
    virtual std::optional<std::filesystem::path> ChooseCopyDestination();
    virtual void RunCopyProgram(const std::filesystem::path& source, const std::filesystem::path& destination);
    // The connecting pop-up's result: 1 logged in, -1 failed, 2 dismissed.
    virtual int RunConnectingPopup();
    virtual void RunUpgradeDialog();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend struct LoginButtonTable;

    void OnAddressBookButton();
    void OnSearchButton();
    void OnPlaybackButton();
    void OnCopyProgramButton();
    void OnConnectButton();
    void OnCancelButton();
    void OnUpgradeButton();
    void OnChangePort();
    void OnLoginFailed(int failure);
    void OnAnimateStep();
    void OnLoginSuccess();

    void LoadSkin();
    void CreateButtons();
    void StopThreads();
    bool CredentialsGiven();
    void SetPortText(int port);
    QRect ProgressRect() const;
    std::filesystem::path ProgramFolder() const;

    AppData& m_app;
    platform::Timing m_timing;
    std::function<void(LoginDialog&)> m_runUpgradeDialog;

    // Skin pictures (null where missing): the frame pieces in the order of
    // kSkinFiles, and the version digits 0-9 and the point.
    std::array<QPixmap, 11> m_Skin;
    std::array<QPixmap, 11> m_hDigit;

    QLineEdit* m_editUser = nullptr;
    QLineEdit* m_editPassword = nullptr;
    QLineEdit* m_editServer = nullptr;
    QLineEdit* m_editPort = nullptr;
    std::array<CVtxButton*, 7> m_btnCommand{};
    std::array<CVtxButton*, 4> m_btnLabel{};

    int m_nPort = 0;  // the last number the port field held
    bool m_bShowFailure = false;
    QString m_strFailure;
    bool m_bAnimating = false;
    std::uint8_t m_byAnimateStep = 0;
    // Which attempt is current: reports of an abandoned one are dropped.
    unsigned m_attempt = 0;
    bool m_attemptRunning = false;

    // Declared last: they stop (and stop reporting) before anything above goes.
    std::unique_ptr<LoginThread> m_loginThread;
    std::unique_ptr<AnimateThread> m_animateThread;
};

// Start-up's login: shows a fresh login dialog pre-filled from app's settings
// and returns its result: LoginDialog::kLoggedIn after a login the device
// accepted (app.w_LoginResult 30, SessionCookie and the login facts set),
// LoginDialog::kCancelled when the operator gave up.
int RunLoginDialog(AppData& app);

}  // namespace session

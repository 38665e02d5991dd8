#pragma once
// The device search window: lists the devices that answer a broadcast, lets the
// operator change or reset a listed device's network settings, and hands the
// chosen device's address and web port back to the login dialog.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/tools/DeviceSearch.h"

class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace session {

struct DeviceSearchOptions {
    SearchEndpoints endpoints;
    platform::Timing timing;
    // The last two MAC bytes of the device logged in to last (the settings'
    // m_wLastMAC1 / m_wLastMAC2); its row is marked "PREVIOUS".
    unsigned lastMac1 = 255;
    unsigned lastMac2 = 255;
};

struct SearchCredentials {
    std::string userName;
    std::string password;
};

class DeviceSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceSearchDialog(QWidget* parent = nullptr, DeviceSearchOptions options = {});
    ~DeviceSearchDialog() override;

    // Read after the dialog has closed.
    DeviceSearchChoice Choice() const { return m_form.Choice(); }

    // How a message and the credentials question reach the operator: by default
    // a message box and ConfirmAuthorityDialog. Tests put their own in.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_showMessage = std::move(sink); }
    void SetCredentialsSource(std::function<std::optional<SearchCredentials>()> source) {
        m_askCredentials = std::move(source);
    }

public slots:
    void accept() override;  // OK: choose the selected device and close
    void reject() override;  // Escape and the window's close do not end the dialog
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    class Port;

    void StartSearch();
    void OnSearchAgain();
    void OnItemChanged();
    void OnNetworkChange(NetworkChange kind);
    void OnTimer();
    void OnDeviceReplied(const SearchRecord& reply);
    void OnSearchStopped();
    void OnExchangeFinished(const ExchangeOutcome& outcome);

    // Which controls a state allows.
    void SetSearching();
    void SetIdle();
    void SetExchanging();
    void EnableEdits(bool enable);

    void WriteFields(const DeviceNetworkFields& fields);
    bool ReadFields();
    void ShowMessage(const QString& text);
    void ShowMessageId(unsigned id);
    static QString SearchWord(int which);

    const DeviceSearchOptions m_options;
    DeviceSearchForm m_form;
    int m_nAnimationStep = 0;
    bool m_bStarted = false;
    std::function<void(const QString&)> m_showMessage;
    std::function<std::optional<SearchCredentials>()> m_askCredentials;

    QTreeWidget* m_list;
    QLineEdit* m_editIpAddress;
    QLineEdit* m_editMacAddress;
    QLineEdit* m_editSubnetMask;
    QLineEdit* m_editGateway;
    QLineEdit* m_editDnsServer;
    QLineEdit* m_editWebPort;
    QPushButton* m_btnSearchAgain;
    QPushButton* m_btnApply;
    QPushButton* m_btnDefaults;
    QPushButton* m_btnOk;
    QTimer* m_timer;

    // Declared last: the search stops (and stops calling the port) before the port goes.
    std::unique_ptr<Port> m_port;
    std::unique_ptr<DeviceSearch> m_search;
};

// Runs the dialog modally; what the login dialog takes from it.
DeviceSearchChoice RunDeviceSearch(QWidget* parent, const DeviceSearchOptions& options = {});

}  // namespace session

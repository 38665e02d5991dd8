#pragma once
// The device configuration sheet: the family's pages on the tree sheet, and
// its own exit, apply and restart buttons. Apply checks PPPoE against DDNS,
// runs the pages' send routines as one job on the device-command worker with
// the sheet disabled, then takes the local settings, rebuilds the control
// devices when the peripherals or PTZ channels changed, and closes. Exit and
// every other close send nothing.

#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <stop_token>

#include "config/gui/TreePropSheet.h"
#include "config/sheet/SheetApply.h"
#include "config/sheet/SheetContext.h"
#include "config/sheet/SheetPageSet.h"
#include "gui/ConfigSheetPort.h"

class QPushButton;

namespace config {

class MySystemDialog : public CTreePropSheet {
    Q_OBJECT
public:
    using PageFactory = std::function<ConfigPage*(SheetPageId, SheetContext&, QWidget*)>;

    // The sheet on the session's blocks and device facts; `pages` makes each page
    // (the built pages and placeholders by default).
    MySystemDialog(const QString& caption, QWidget* parent, int selectPage, session::AppData& app,
                   SheetPrefill prefill, PageFactory pages = {});
    ~MySystemDialog() override;

    // OnInitDialog: the tree sheet and the buttons.
    void InitSheet();

    SheetContext& Context() { return *context_; }
    ConfigPage* PageFor(SheetPageId page) const;
    QPushButton* ExitButton() const { return exit_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* RestartButton() const { return restart_; }

    void OnClickApply();
    void OnClickOK();
    void OnClickReboot();
    void DisableSheetButtons();
    void EnableSheetButtons();
    void OnShowDownloadPage();
    void OnSntpSynchronised();

    bool ApplyRunning() const { return applying_; }
    // Timings of the job (tests shorten the pause after a network change).
    void SetApplyTiming(platform::Timing timing, std::chrono::milliseconds networkPause);

signals:
    // The time-server page's synchronisation came back; that page updates block 8.
    void SntpSynchronised();
    // Apply finished its device work (the sheet closes next unless it closed already).
    void ApplyFinished(const config::ApplyOutcome& outcome);

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void AddDevicePages(const PageFactory& pages);
    void FinishApply(const ApplyOutcome& outcome);
    SheetPageValues CollectValues() const;
    void EndSheet();

    std::shared_ptr<SheetContext> context_;
    std::map<SheetPageId, ConfigPage*> pageById_;
    QPushButton* exit_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* restart_ = nullptr;
    bool applying_ = false;
    bool ended_ = false;
    std::stop_source applyStop_;
    platform::Timing timing_;
    std::chrono::milliseconds networkPause_ = kNetworkChangePause;
};

// The sheet as the main window's setup command opens and closes it.
class SystemDialogPort : public gui::ConfigSheetPort {
public:
    explicit SystemDialogPort(session::AppData& app) : app_(app) {}
    void OpenSheet(QWidget* mainWindow) override;
    void CloseSheet() override;
    bool IsSheetOpen() const override;
    MySystemDialog* Sheet() const { return sheet_; }

private:
    session::AppData& app_;
    QPointer<MySystemDialog> sheet_;
};

}  // namespace config

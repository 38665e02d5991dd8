#include "config/gui/MySystemDialog.h"

#include <QCloseEvent>
#include <QPushButton>

#include "config/gui/ConfigMessage.h"
#include "config/gui/ConfigPage.h"
#include "config/gui/SheetPages.h"
#include "config/sheet/ControlDeviceRebuild.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "platform/EitherStop.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"

namespace config {

namespace {

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

}  // namespace

MySystemDialog::MySystemDialog(const QString& caption, QWidget* parent, int selectPage, session::AppData& app,
                               SheetPrefill prefill, PageFactory pages)
    : CTreePropSheet(caption, parent, app.str_ProductID.Get(), selectPage),
      context_(std::make_shared<SheetContext>(app, DeviceFacts::From(app), std::move(prefill))) {
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // No close box: the sheet ends through its own buttons.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint);
    AddDevicePages(pages ? pages : PageFactory(MakeSheetPage));
}

MySystemDialog::~MySystemDialog() {
    applyStop_.request_stop();
    context_->app.dw_SystemDialogActive.exchange(0);
}

void MySystemDialog::AddDevicePages(const PageFactory& pages) {
    // The recording pages' maker clears the record list's pending pick first.
    if (RecordingPageMaker* recording = GetRecordingPageMaker())
        recording->SheetOpening();
    session::AppData& app = context_->app;
    for (SheetPageId id : PageSetFor(context_->set.Facts(), app.C_ControlD.HasLinkedDvr())) {
        ConfigPage* page = pages(id, *context_, this);
        pageById_[id] = page;
        AddPage(page);
    }
}

ConfigPage* MySystemDialog::PageFor(SheetPageId page) const {
    const auto found = pageById_.find(page);
    return found == pageById_.end() ? nullptr : found->second;
}

void MySystemDialog::InitSheet() {
    CTreePropSheet::InitSheet();

    const float scale = context_->app.fl_DpiScale.load();
    const SheetButtonRects rects = SheetButtonRectsFor(width(), height(), scale);
    const SheetButtonSet shown = SheetButtonsFor(context_->set.Facts());
    const auto make = [&](unsigned id, const Rect& rect, void (MySystemDialog::*handler)()) {
        auto* button = new QPushButton(session::LoadText(id), this);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setGeometry(ToQRect(rect));
        connect(button, &QPushButton::clicked, this, handler);
        button->show();
        return button;
    };
    exit_ = make(8000, rects.exit, &MySystemDialog::OnClickOK);
    if (shown.apply)
        apply_ = make(8001, rects.apply, &MySystemDialog::OnClickApply);
    if (shown.restart)
        restart_ = make(8002, rects.restart, &MySystemDialog::OnClickReboot);
}

void MySystemDialog::SetApplyTiming(platform::Timing timing, std::chrono::milliseconds networkPause) {
    timing_ = timing;
    networkPause_ = networkPause;
}

void MySystemDialog::DisableSheetButtons() {
    for (QPushButton* button : {exit_, apply_, restart_})
        if (button)
            button->setEnabled(false);
}

void MySystemDialog::EnableSheetButtons() {
    for (QPushButton* button : {exit_, apply_, restart_})
        if (button)
            button->setEnabled(true);
}

void MySystemDialog::OnShowDownloadPage() {
    if (ConfigPage* page = PageFor(SheetPageId::Download))
        SetActivePage(page);
}

void MySystemDialog::OnSntpSynchronised() { emit SntpSynchronised(); }

SheetPageValues MySystemDialog::CollectValues() const {
    SheetPageValues values;
    for (int i = 0; i < GetPageCount(); ++i) {
        GetPage(i)->ContributeSettings(values);
        if (GetPage(i)->Contributes())
            GetPage(i)->ContributeValues(values);
    }
    return values;
}

void MySystemDialog::OnClickApply() {
    if (applying_ || ended_)
        return;
    const ConfigWorkingSet& set = context_->set;
    if (PppoeWithoutDdns(CollectValues(), static_cast<std::uint8_t>(set.Number(1, "by_NetworkType")),
                         static_cast<std::uint8_t>(set.Number(4, "by_DdnsEnable")))) {
        ShowConfigMessage(this, 4101u);
        return;
    }
    ApplyRoutines routines;
    for (int i = 0; i < GetPageCount(); ++i) {
        ConfigPage* page = GetPage(i);
        if (!page->Contributes())
            continue;
        page->PullControls();
        page->AddSendRoutines(routines);
    }
    const ConfigPage* toolBox = PageFor(SheetPageId::ToolBox);
    const bool toolBoxShown = toolBox && toolBox->Contributes();

    applying_ = true;
    applyStop_ = std::stop_source();
    setEnabled(false);
    auto job = [context = context_, routines = std::move(routines), toolBoxShown, sheetStop = applyStop_.get_token(),
                timing = timing_, pause = networkPause_](std::stop_token workerStop) {
        // Either the worker stopping or the sheet closing ends the job.
        platform::EitherStop either(workerStop, sheetStop);
        session::AppData& app = context->app;
        // Each failure is shown as it happens, while the job goes on.
        ApplyContext apply(app, context->set, timing, either.Token(), [&app](unsigned id, const std::string& text) {
            if (id != 0)
                app.Ui().ShowMessageBox(id);
            else
                app.Ui().ShowMessageText(text);
        });
        return RunApplyRoutines(routines, apply, toolBoxShown, pause);
    };
    const bool posted = gui::RunDeviceCommand(this, context_->app.h_DeviceCommandWorker, std::move(job),
                                              [this](ApplyOutcome outcome) { FinishApply(outcome); });
    if (!posted) {
        applying_ = false;
        setEnabled(true);
    }
}

void MySystemDialog::FinishApply(const ApplyOutcome& outcome) {
    applying_ = false;
    if (ended_ || outcome.stopped)
        return;
    setEnabled(true);
    emit ApplyFinished(outcome);

    session::AppData& app = context_->app;
    ApplyLocalSettings(CollectValues(), app);
    if (outcome.peripheralsChanged)
        RebuildForPeripherals(context_->set.Loaded(16), app.CSettingINI.m_bySelectedChannel.load(), app.C_ControlD,
                              app.Ui());
    if (outcome.rs485Changed)
        RebuildForRs485(context_->set.Loaded(10), context_->set.Facts(), app.C_ControlD, app.Ui());
    done(3);
}

void MySystemDialog::OnClickOK() { done(0); }

void MySystemDialog::OnClickReboot() {
    session::AppData& app = context_->app;
    const platform::Timing timing = timing_;
    auto job = [&app, timing](std::stop_token stop) {
        session::CgiRequest request(session::CMD_REBOOT);
        if (const std::string cookie = app.SessionCookie.Get(); !cookie.empty())
            request.AddParam("Cookie", cookie);
        session::CommandOptions options;
        options.connectTimeout = timing.connectTimeout;
        options.sendTimeout = options.receiveTimeout = std::chrono::seconds(15);
        options.stop = stop;
        return session::SorelSendCommand(app, options, session::CMD_REBOOT, request.Text(), nullptr, 0, nullptr, {},
                                         nullptr);
    };
    gui::RunDeviceCommand(this, app.h_DeviceCommandWorker, std::move(job), [this](int sent) {
        if (sent != 1)
            ShowConfigMessage(this, 4064u);
    });
}

void MySystemDialog::EndSheet() {
    if (ended_)
        return;
    ended_ = true;
    applyStop_.request_stop();
    context_->app.dw_SystemDialogActive.exchange(0);
}

void MySystemDialog::closeEvent(QCloseEvent* event) {
    EndSheet();
    CTreePropSheet::closeEvent(event);
}

void MySystemDialog::done(int result) {
    EndSheet();
    CTreePropSheet::done(result);
}

void SystemDialogPort::OpenSheet(QWidget* mainWindow) {
    if (sheet_ && sheet_->isVisible())
        return;
    // A sheet that ended through its own buttons is hidden, not gone: the new one replaces it.
    delete sheet_.data();
    sheet_ = new MySystemDialog(session::LoadText(3027), mainWindow, 0, app_, SheetPrefill::From(app_));
    sheet_->InitSheet();
    sheet_->show();
    app_.dw_SystemDialogActive.exchange(1);
}

void SystemDialogPort::CloseSheet() {
    if (!sheet_)
        return;
    sheet_->close();
    delete sheet_.data();
}

bool SystemDialogPort::IsSheetOpen() const { return sheet_ && sheet_->isVisible(); }

}  // namespace config

#include "recording/gui/DownloadFilePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <algorithm>
#include <limits>

#include "config/gui/ConfigMessage.h"
#include "config/gui/NumberEdit.h"
#include "gui/DeviceCommand.h"
#include "gui/DlgGetPath.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/backup/DiscPreparation.h"
#include "recording/gui/BackupProgressDialog.h"
#include "recording/gui/DownloadFilePageTemplate.h"
#include "recording/gui/WriteCdSettingDialog.h"
#include "recording/player/PlayerHandOver.h"
#include "recording/search/SearchRequests.h"
#include "session/AppData.h"

namespace recording {

namespace {

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A box that takes digits only, from 0 up to max.
config::NumberEdit::Rules DigitsUpTo(std::int64_t max) {
    config::NumberEdit::Rules rules;
    rules.max = max;
    return rules;
}

}  // namespace

DownloadFilePage::DownloadFilePage(session::AppData& app, config::ConfigWorkingSet& set, platform::Timing timing,
                                   QWidget* parent)
    : ConfigPage(gui::TemplateText(kDownloadFilePageTemplate.caption), set, parent), app_(app), timing_(timing) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kDownloadFilePageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1040:
                return new config::NumberEdit(DigitsUpTo(kMaxBackupSizeMb), &page);
            case 1041:
                return new config::NumberEdit(DigitsUpTo(std::numeric_limits<std::uint32_t>::max()), &page);
            default:
                return nullptr;
            }
        });
    size_ = controls.Named<config::NumberEdit>(1040, "size");
    channel_ = controls.Named<config::NumberEdit>(1041, "channel");
    disks_ = controls.Named<QComboBox>(1195, "disks");
    location_ = controls.Named<QPushButton>(1446, "location");
    path_ = controls.Named<QLineEdit>(1042, "path");
    dynamicLoad_ = controls.Named<QCheckBox>(1475, "dynamicLoad");
    writeCd_ = controls.Named<QCheckBox>(1505, "writeCd");
    start_ = controls.Named<QPushButton>(1068, "start");

    // The pickers are placed in pixels, by the screen's scale.
    const float s = app.fl_DpiScale.load();
    const int left = static_cast<int>(20 * s), top = static_cast<int>(22 * s);
    m_pDateCtrl = Named(new QDateEdit(QDate::currentDate(), this), "date");
    m_pDateCtrl->setGeometry(left, top, 120, 20);
    m_pDateCtrl->setDisplayFormat(QStringLiteral("yyyy / MM / dd"));
    m_pDateCtrl->setCalendarPopup(true);
    m_pTimeCtrl = Named(new QTimeEdit(QTime::currentTime(), this), "time");
    m_pTimeCtrl->setGeometry(left + 120 + left, top, 120, 20);
    m_pTimeCtrl->setDisplayFormat(QStringLiteral("HH : mm : ss"));
    m_pDateCtrl->setProperty(gui::kTemplateIdProperty, 239);
    m_pTimeCtrl->setProperty(gui::kTemplateIdProperty, 238);

    // Only the operator's own edits and clicks reach these; ShowValues raises none.
    connect(size_, &config::NumberEdit::ValueEdited, this, &DownloadFilePage::OnChangeFileSize);
    connect(channel_, &config::NumberEdit::ValueEdited, this, &DownloadFilePage::OnChangeChannel);
    connect(location_, &QPushButton::clicked, this, &DownloadFilePage::OnButtonLocation);
    connect(dynamicLoad_, &QCheckBox::clicked, this, &DownloadFilePage::OnCheckDynamicLoad);
    connect(writeCd_, &QCheckBox::clicked, this, &DownloadFilePage::OnCheckWriteCD);
    connect(start_, &QPushButton::clicked, this, &DownloadFilePage::OnButtonStart);
    ShowValues();
}

void DownloadFilePage::ShowValues() {
    size_->Load(state_.m_nFileSize);
    channel_->Load(state_.m_nChannel);
    path_->setText(QString::fromStdString(state_.m_strFilePath));
    path_->setCursorPosition(0);  // a path or message longer than the box shows from its start
    const int index = state_.m_nDiskIndex < disks_->count() ? state_.m_nDiskIndex : -1;
    const QSignalBlocker block(disks_);
    disks_->setCurrentIndex(index);
    dynamicLoad_->setChecked(state_.m_bDynamicLoad);
    writeCd_->setChecked(state_.m_bWriteCD);
}

void DownloadFilePage::ReadValues() {
    state_.m_nDiskIndex = disks_->currentIndex();
    // An emptied box reads as 0, which Start refuses.
    state_.m_nFileSize = static_cast<int>(size_->Value().value_or(0));
    state_.m_nChannel = static_cast<std::uint32_t>(channel_->Value().value_or(0));
    state_.m_strFilePath = path_->text().toStdString();
    state_.m_bDynamicLoad = dynamicLoad_->isChecked();
    state_.m_bWriteCD = writeCd_->isChecked();
}

void DownloadFilePage::Fill() {
    state_.LoadFolderSetting(app_.CSettingINI.m_strNetworkFileDirectory.Get());
    loading_ = true;
    start_->setEnabled(false);
    session::AppData& app = app_;
    const platform::Timing timing = timing_;
    const bool posted = gui::RunDeviceCommand(
        this, app.h_DeviceCommandWorker,
        [&app, timing](std::stop_token stop) { return FetchDiskMap(app, timing, stop); },
        [this](std::optional<DiskMap> map) { OnDiskList(map); });
    if (!posted)
        OnDiskList(std::nullopt);
}

void DownloadFilePage::OnDiskList(const std::optional<DiskMap>& map) {
    loading_ = false;
    start_->setEnabled(!starting_);
    // Without the list the page stays as it was made: no disk, the boxes clear, the path box empty.
    if (map) {
        state_.SetDisks(*map);
        {
            const QSignalBlocker block(disks_);
            for (const BackupDisk& disk : state_.disks)
                disks_->addItem(QString::fromStdString(disk.name));
        }
        state_.LoadOptions(app_.CSettingINI);
        disks_->setEnabled(!state_.disks.empty());
        ShowValues();
    }
    // An activation that came while the list was out takes its pick over now, after the list.
    if (std::exchange(activationWaiting_, false))
        TakeOverPendingSelection();
    emit DisksLoaded();
}

void DownloadFilePage::showEvent(QShowEvent* event) {
    ConfigPage::showEvent(event);
    if (!event->spontaneous())
        OnSetActive();
}

void DownloadFilePage::OnSetActive() {
    if (loading_)
        activationWaiting_ = true;
    else
        TakeOverPendingSelection();
}

void DownloadFilePage::TakeOverPendingSelection() {
    const auto when = state_.TakeOver(PendingSelection());
    if (!when)
        return;
    // A date or time the device never writes leaves the picker as it was.
    if (const QDate date(when->year, when->month, when->day); date.isValid())
        m_pDateCtrl->setDate(date);
    if (const QTime time(when->hour, when->minute, when->second); time.isValid())
        m_pTimeCtrl->setTime(time);
    ShowValues();
}

void DownloadFilePage::OnChangeFileSize() {
    if (const auto value = size_->Value())
        state_.m_nFileSize = static_cast<int>(std::clamp<std::int64_t>(*value, 0, kMaxBackupSizeMb));
}

void DownloadFilePage::OnChangeChannel() {
    ReadValues();
    state_.GetNextFileName();
    ShowValues();
}

void DownloadFilePage::OnButtonLocation() {
    session::CDlgGetPath dialog(this);
    dialog.SetPath(state_.m_strFolder);
    const QPointer<DownloadFilePage> self(this);
    const int result = dialog.exec();
    if (!self)
        return;
    if (result == QDialog::Accepted) {
        state_.SetFolder(dialog.GetPath());
        folderChanged_ = true;
    }
    ShowValues();
}

void DownloadFilePage::ContributeValues(config::SheetPageValues& values) const {
    values.dynamicDownload = state_.m_bDynamicLoad ? 1u : 0u;
    if (folderChanged_)
        values.networkFileDirectory = state_.m_strFolder;
}

void DownloadFilePage::OnCheckDynamicLoad() {
    state_.ToggleDynamicLoad(app_.CSettingINI);
    dynamicLoad_->setChecked(state_.m_bDynamicLoad);
}

void DownloadFilePage::OnCheckWriteCD() {
    state_.ToggleWriteCd(app_.CSettingINI);
    writeCd_->setChecked(state_.m_bWriteCD);
}

void DownloadFilePage::OnButtonStart() {
    if (starting_)
        return;
    ReadValues();
    if (const unsigned refusal = state_.StartRefusal()) {
        config::ShowConfigMessage(this, refusal);
        return;
    }
    if (!CreateEmptyBackupFile(state_.m_strFilePath)) {
        config::ShowConfigMessage(this, kBadBackupPathMessage);
        return;
    }
    starting_ = true;
    start_->setEnabled(false);
    const QPointer<DownloadFilePage> self(this);

    if (state_.m_bWriteCD) {
        DiscPreparation disc = DiscPreparation::WriterFailed;
        if (const std::shared_ptr<CdBackupWriter> writer = app_.CdBackupWriter) {
            const std::string path = state_.m_strFilePath;
            const std::uint64_t bytes = std::uint64_t(state_.m_nFileSize) * 1048576;
            session::CSettingINI& settings = app_.CSettingINI;
            disc = PrepareDisc(*writer, path, [&] {
                WriteCdSettingDialog dialog(settings, *writer);
                if (dialog.Setup(path, writer->m_DriveNames, writer->m_nDriveCount, writer->m_dwMediaType, bytes) == 0)
                    return DiscSettingEnd::NoDrive;
                if (dialog.exec() != 1)
                    return DiscSettingEnd::Cancelled;
                writer->m_bCloseDisc = dialog.m_bCloseSession;
                writer->m_nDriveIndex = dialog.m_nDriveIndex;
                writer->m_strDiscFileName = dialog.m_strFolder + dialog.m_strFileName;
                return DiscSettingEnd::Accepted;
            });
        }
        if (!self)
            return;
        if (disc == DiscPreparation::WriterFailed)
            config::ShowConfigMessage(this, kDiscWriterFailedMessage);
        // Without a disc this time; the setting keeps its value.
        if (disc != DiscPreparation::Ready)
            state_.m_bWriteCD = false;
    }

    app_.CSettingINI.m_strNetworkFileDirectory = state_.m_strFolder;
    const QDate date = m_pDateCtrl->date();
    const QTime time = m_pTimeCtrl->time();
    const NetworkBackupRequest request =
        state_.Request({date.year(), date.month(), date.day(), 0, 0, 0},
                       {2000, 1, 1, time.hour(), time.minute(), time.second()});

    // The hand-over may wait for a new player's hello, so it runs on the worker.
    const std::shared_ptr<PlayerHandOver> handOver = app_.PlayerHandOver;
    if (!handOver) {
        RunDownload(request);
        return;
    }
    const bool posted = gui::RunDeviceCommand(
        this, app_.h_DeviceCommandWorker,
        [handOver, path = request.filePath, dynamicLoad = state_.m_bDynamicLoad](std::stop_token stop) {
            return handOver->HandOver(path, dynamicLoad, stop);
        },
        [this, request](bool go) {
            // After "Create mutex error" nothing is downloaded.
            if (go)
                RunDownload(request);
            else
                EndStart();
        });
    if (!posted) {
        // No hand-over: the download runs without a player, as after a failed start.
        if (state_.m_bDynamicLoad)
            config::ShowConfigMessage(this, kPlayerStartFailedMessage);
        if (!self)
            return;
        RunDownload(request);
    }
}

void DownloadFilePage::RunDownload(const NetworkBackupRequest& request) {
    state_.m_strDownloadedFile = request.filePath;
    const QPointer<DownloadFilePage> self(this);
    int result = 0;
    {
        BackupProgressDialog dialog(app_, request, app_.PlayerLink.get(), timing_);
        result = dialog.exec();
    }
    if (!self)
        return;
    if (result == kBackupStartResult) {
        app_.Ui().LowerMainWindow();
        RunPlayerLater();
    }
    // The downloaded file now exists, so the next number is proposed.
    state_.GetNextFileName();
    ShowValues();
    EndStart();
}

void DownloadFilePage::RunPlayerLater() {
    // The wait and the mailbox post (which may wait for its slot) run on the
    // run's worker, so the player still starts when the page is gone by then.
    session::AppData& app = app_;
    const QPointer<DownloadFilePage> self(this);
    app.h_DeviceCommandWorker.Post(
        [&app, file = state_.m_strDownloadedFile, delay = timing_.runPlayerDelay, self](std::stop_token stop) {
            if (!platform::SleepFor(delay, stop) ||
                app.KernelMailbox.PostRunPlayer(file, stop) != session::PostResult::Posted)
                return;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self] {
                    if (self)
                        emit self->PlayerRunPosted();
                },
                Qt::QueuedConnection);
        });
}

void DownloadFilePage::EndStart() {
    starting_ = false;
    start_->setEnabled(!loading_);
}

}  // namespace recording

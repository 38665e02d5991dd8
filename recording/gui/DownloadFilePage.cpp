#include "recording/gui/DownloadFilePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>

#include <algorithm>
#include <limits>

#include "config/gui/ConfigMessage.h"
#include "config/gui/DialogUnits.h"
#include "config/gui/NumberEdit.h"
#include "gui/DeviceCommand.h"
#include "gui/DlgGetPath.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/backup/DiscPreparation.h"
#include "recording/gui/BackupProgressDialog.h"
#include "recording/gui/WriteCdSettingDialog.h"
#include "recording/player/PlayerHandOver.h"
#include "recording/search/SearchRequests.h"
#include "session/AppData.h"

namespace recording {

namespace {

using config::Dlu;

template <class Widget>
Widget* Place(Widget* widget, const char* name, const QRect& rect) {
    if (name)
        widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(rect);
    return widget;
}

// A box that takes digits only, from 0 up to max.
config::NumberEdit::Rules DigitsUpTo(std::int64_t max) {
    config::NumberEdit::Rules rules;
    rules.max = max;
    return rules;
}

QLabel* Label(QWidget* page, const char* text, const QRect& rect) {
    return Place(new QLabel(QString::fromUtf8(text), page), nullptr, rect);
}

}  // namespace

DownloadFilePage::DownloadFilePage(session::AppData& app, config::ConfigWorkingSet& set, platform::Timing timing,
                                   QWidget* parent)
    : ConfigPage(QString::fromUtf8(kDownloadFilePageCaption), set, parent), app_(app), timing_(timing) {
    setMinimumSize(Dlu(0, 0, 244, 130).size());
    // The frames first, so the controls lie above them.
    Place(new QGroupBox(QStringLiteral("Archiwizacja od"), this), nullptr, Dlu(7, 5, 186, 28));
    Place(new QGroupBox(QStringLiteral("Informacje o archiwizacji"), this), nullptr, Dlu(8, 48, 208, 79));

    // The pickers are placed in pixels, by the screen's scale.
    const float s = app.fl_DpiScale.load();
    const int left = static_cast<int>(20 * s), top = static_cast<int>(22 * s);
    m_pDateCtrl = Place(new QDateEdit(QDate::currentDate(), this), "date", QRect(left, top, 120, 20));
    m_pDateCtrl->setDisplayFormat(QStringLiteral("yyyy / MM / dd"));
    m_pDateCtrl->setCalendarPopup(true);
    m_pTimeCtrl = Place(new QTimeEdit(QTime::currentTime(), this), "time", QRect(left + 120 + left, top, 120, 20));
    m_pTimeCtrl->setDisplayFormat(QStringLiteral("HH : mm : ss"));

    Label(this, "Objętość : ", Dlu(16, 64, 50, 8));
    size_ = Place(new config::NumberEdit(DigitsUpTo(kMaxBackupSizeMb), this), "size",
                  Dlu(68, 62, 47, 12));
    Label(this, "MB", Dlu(118, 64, 16, 8));
    Label(this, "Kanał : ", Dlu(16, 80, 50, 8));
    channel_ = Place(new config::NumberEdit(DigitsUpTo(std::numeric_limits<std::uint32_t>::max()), this),
                     "channel", Dlu(68, 78, 24, 12));
    Label(this, "Num HDD : ", Dlu(16, 95, 50, 8));
    disks_ = Place(new QComboBox(this), "disks", Dlu(68, 93, 55, 12));
    location_ = Place(new QPushButton(QStringLiteral("Lokalizacja :"), this), "location", Dlu(16, 108, 50, 14));
    path_ = Place(new QLineEdit(this), "path", Dlu(68, 109, 122, 13));
    path_->setReadOnly(true);
    dynamicLoad_ = Place(new QCheckBox(QString::fromUtf8("Ładowanie dynamiczne"), this), "dynamicLoad",
                         Dlu(115, 79, 97, 10));
    writeCd_ = Place(new QCheckBox(QStringLiteral("Kopiowanie na CD"), this), "writeCd", Dlu(141, 63, 72, 10));
    start_ = Place(new QPushButton(QStringLiteral("Start"), this), "start", Dlu(218, 107, 24, 20));
    // A font wider than the dialog font's still shows the whole caption.
    for (QCheckBox* box : {dynamicLoad_, writeCd_})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());

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
    if (result == QDialog::Accepted)
        state_.SetFolder(dialog.GetPath());
    ShowValues();
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
    if (!posted)
        RunDownload(request);
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
        QTimer::singleShot(timing_.runPlayerDelay, this, &DownloadFilePage::OnDownloadDone);
    }
    // The downloaded file now exists, so the next number is proposed.
    state_.GetNextFileName();
    ShowValues();
    EndStart();
}

void DownloadFilePage::OnDownloadDone() {
    // The mailbox may wait for its slot: the post waits on the worker, not here.
    session::AppData& app = app_;
    app.h_DeviceCommandWorker.Post([&app, file = state_.m_strDownloadedFile](std::stop_token stop) {
        app.KernelMailbox.PostRunPlayer(file, stop);
    });
    emit PlayerRunPosted();
}

void DownloadFilePage::EndStart() {
    starting_ = false;
    start_->setEnabled(!loading_);
    emit StartEnded();
}

}  // namespace recording

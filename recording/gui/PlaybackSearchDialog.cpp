#include "recording/gui/PlaybackSearchDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

#include "gui/DeviceCommand.h"
#include "recording/search/PlaybackSearch.h"
#include "recording/search/SearchRequests.h"
#include "session/AppData.h"

namespace recording {

namespace {

constexpr const char* kEventSearchItem = "EVENT SEARCH";
constexpr const char* kTimeSearchItem = "TIME SEARCH";
constexpr const char* kAlarmItem = "ALARM";

// The items of a sorted selector, sorted.
QComboBox* SortedCombo(QWidget* parent, const char* name, QStringList items = {}) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    items.sort();
    combo->addItems(items);
    return combo;
}

}  // namespace

PlaybackSearchDialog::PlaybackSearchDialog(session::AppData& app, platform::Timing timing, QWidget* parent)
    : QDialog(parent), app_(app), timing_(timing) {
    setWindowTitle(QStringLiteral("Playback Search"));
    m_pSearchTypeCombo = SortedCombo(this, "searchType", {kTimeSearchItem, kEventSearchItem});
    m_pDiskCombo = SortedCombo(this, "disk");
    m_pChannelCombo = SortedCombo(this, "channel");
    m_pEventTypeCombo = SortedCombo(this, "eventType", {"MOTION", kAlarmItem});

    auto* when = new QGroupBox(QStringLiteral("Czas i Data"), this);
    m_pDateCtrl = new QDateEdit(when);
    m_pDateCtrl->setObjectName(QStringLiteral("date"));
    m_pDateCtrl->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    // The device's calendar values cover these years.
    m_pDateCtrl->setDateRange(QDate(1970, 1, 1), QDate(2037, 12, 31));
    m_pDateCtrl->setDate(QDate::currentDate());
    m_pDateCtrl->setAlignment(Qt::AlignRight);
    m_pTimeCtrl = new QTimeEdit(when);
    m_pTimeCtrl->setObjectName(QStringLiteral("time"));
    m_pTimeCtrl->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_pTimeCtrl->setTime(QTime::currentTime());
    m_pTimeCtrl->setAlignment(Qt::AlignRight);
    auto* whenLayout = new QGridLayout(when);
    whenLayout->addWidget(m_pDateCtrl, 0, 0);
    whenLayout->addWidget(m_pTimeCtrl, 1, 0);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* grid = new QGridLayout(this);
    const std::pair<const char*, QComboBox*> rows[] = {{"Typ wyszukiwania :", m_pSearchTypeCombo},
                                                       {"Numer dysku :", m_pDiskCombo},
                                                       {"Numer kanału :", m_pChannelCombo},
                                                       {"Typ zdarzenia :", m_pEventTypeCombo}};
    int row = 0;
    for (const auto& [label, combo] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(combo, row++, 1);
    }
    grid->addWidget(when, row++, 0, 1, 2);
    grid->addWidget(ok_, row, 0);
    grid->addWidget(cancel, row, 1);

    connect(m_pSearchTypeCombo, &QComboBox::currentIndexChanged, this, &PlaybackSearchDialog::OnSelchangeSearchType);
    connect(ok_, &QPushButton::clicked, this, &PlaybackSearchDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

void PlaybackSearchDialog::OnInitDialog() {
    // Nothing acts until the start has filled the lists.
    ok_->setEnabled(false);
    m_pSearchTypeCombo->setEnabled(false);
    auto read = [app = &app_, timing = timing_](std::stop_token stop) { return FetchDiskMap(*app, timing, stop); };
    if (!gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(read),
                               [this](std::optional<DiskMap> disks) { FillLists(disks); }))
        FillLists(std::nullopt);
}

void PlaybackSearchDialog::FillLists(const std::optional<DiskMap>& disks) {
    started_ = true;
    if (!disks)
        return;
    m_byDiskMap = *disks;
    for (const auto& [name, disk] : PlaybackDiskItems(m_byDiskMap)) {
        m_pDiskCombo->addItem(QString::fromStdString(name));
        diskOfItem_.push_back(disk);
    }
    const unsigned channels = PlaybackChannelCount(app_.str_ProductID.Get());
    if (channels == 0)
        return;
    for (unsigned channel = 1; channel <= channels; ++channel)
        m_pChannelCombo->addItem(QString::number(channel));
    for (QComboBox* combo : {m_pSearchTypeCombo, m_pDiskCombo, m_pChannelCombo, m_pEventTypeCombo})
        combo->setCurrentIndex(0);
    ready_ = true;
    ok_->setEnabled(true);
    m_pSearchTypeCombo->setEnabled(true);
    OnSelchangeSearchType();
}

void PlaybackSearchDialog::OnSelchangeSearchType() {
    const bool time = m_pSearchTypeCombo->currentText() == QLatin1String(kTimeSearchItem);
    m_pEventTypeCombo->setEnabled(!time);
    m_pChannelCombo->setEnabled(!time);
}

void PlaybackSearchDialog::accept() {
    if (!ready_ || sending_)
        return;
    const QDate date = m_pDateCtrl->date();
    const QTime time = m_pTimeCtrl->time();
    PlaybackSearchRequest search;
    search.eventSearch = m_pSearchTypeCombo->currentText() == QLatin1String(kEventSearchItem);
    search.channelIndex = static_cast<unsigned>(std::max(0, m_pChannelCombo->currentIndex()));
    search.alarm = m_pEventTypeCombo->currentText() == QLatin1String(kAlarmItem);
    search.year = date.year();
    search.month = date.month();
    search.day = date.day();
    search.hour = time.hour();
    search.minute = time.minute();
    search.second = time.second();
    const int disk = m_pDiskCombo->currentIndex();
    search.disk = disk >= 0 && static_cast<std::size_t>(disk) < diskOfItem_.size()
                      ? diskOfItem_[static_cast<std::size_t>(disk)]
                      : std::nullopt;

    auto send = [app = &app_, timing = timing_, search](std::stop_token stop) {
        return SendPlaybackSearch(*app, timing, search, stop);
    };
    const bool eventSearch = search.eventSearch;
    sending_ = gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(send),
                                     [this, eventSearch](bool sent) { OnSearchSent(eventSearch, sent); });
    ok_->setEnabled(!sending_);
}

void PlaybackSearchDialog::OnSearchSent(bool eventSearch, bool sent) {
    sending_ = false;
    ok_->setEnabled(true);
    if (eventSearch && sent)
        QDialog::accept();
}

}  // namespace recording

#include "recording/gui/CEventPage.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>
#include <string>

#include "config/gui/ConfigMessage.h"
#include "config/sheet/PageTree.h"
#include "config/sheet/SheetProgress.h"
#include "gui/DeviceCommand.h"
#include "platform/EitherStop.h"
#include "recording/gui/RecordListDialog.h"
#include "recording/search/SearchRequests.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace recording {

namespace {

constexpr std::uint8_t kAbsent = 0xFF;

QString CaptionText() {
    return QString::fromUtf8(config::caption::kEvent.data(), qsizetype(config::caption::kEvent.size()));
}

}  // namespace

CEventPage::CEventPage(session::AppData& app, config::ConfigWorkingSet& set, platform::Timing timing, QWidget* parent)
    : ConfigPage(CaptionText(), set, parent), app_(app), timing_(timing) {
    m_byDiskToIndex.fill(kAbsent);
    m_byIndexToDisk.fill(kAbsent);

    disk_ = new QComboBox(this);
    disk_->setObjectName(QStringLiteral("disk"));
    listType_ = new QComboBox(this);
    listType_->setObjectName(QStringLiteral("listType"));
    for (const ListType& type : kListTypes)
        listType_->addItem(QString::fromLatin1(type.item));
    maxNumber_ = new QLineEdit(this);
    maxNumber_->setObjectName(QStringLiteral("maxNumber"));
    maxNumber_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), maxNumber_));
    load_ = new QPushButton(QString::fromUtf8("Załaduj listę z HDD"), this);
    load_->setObjectName(QStringLiteral("load"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Numer HDD :"), this), 0, 0);
    grid->addWidget(disk_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Typ listy :"), this), 1, 0);
    grid->addWidget(listType_, 1, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("Ilość pozycji :"), this), 2, 0);
    grid->addWidget(maxNumber_, 2, 1);
    grid->addWidget(load_, 3, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);
    UpdateData(false);

    // Only the operator's own actions: activated and textEdited never come from the page's filling.
    connect(disk_, &QComboBox::activated, this, &CEventPage::OnSelchangeDisk);
    connect(listType_, &QComboBox::activated, this, &CEventPage::OnSelchangeListType);
    connect(maxNumber_, &QLineEdit::textEdited, this, &CEventPage::OnChangeMaxNumber);
    connect(load_, &QPushButton::clicked, this, &CEventPage::LoadSearchList);
}

CEventPage::~CEventPage() { closing_.request_stop(); }

void CEventPage::Fill() {
    // The sheet ending (Exit, Apply, a close) ends a running search like the page's destruction.
    if (auto* sheet = qobject_cast<QDialog*>(window()))
        connect(sheet, &QDialog::finished, this, [this] { closing_.request_stop(); });
    auto read = [app = &app_, timing = timing_, closing = closing_.get_token()](std::stop_token stop) {
        // The worker stopping or the page going away ends the job.
        platform::EitherStop either(std::move(stop), closing);
        return FetchDiskMap(*app, timing, either.Token());
    };
    const bool posted = gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(read),
                                              [this](std::optional<DiskMap> disks) {
                                                  disksRead_ = true;
                                                  if (disks)
                                                      ShowDisks(*disks);
                                              });
    if (!posted)
        disksRead_ = true;
}

void CEventPage::ShowDisks(const DiskMap& disks) {
    m_byDiskMap = disks;
    {
        const QSignalBlocker block(disk_);
        for (const std::uint8_t disk : disks.Disks()) {
            const int position = disk_->count();
            disk_->addItem(QString::fromStdString(DiskName(disk)));
            m_nDiskIndex = 0;
            m_byIndexToDisk[static_cast<std::size_t>(position)] = disk;
            m_byDiskToIndex[disk] = static_cast<std::uint8_t>(position);
        }
    }
    if (m_nDiskIndex < 0) {
        disk_->setEnabled(false);
    } else if (const std::uint8_t stored = m_byDiskToIndex[app_.CSettingINI.m_wSearchListHDD.load() & 0xFF];
               stored != kAbsent) {
        m_nDiskIndex = stored;
    }
    m_nMaxNumber = app_.CSettingINI.m_wSearchListMaxNumber.load();
    m_nListType = app_.CSettingINI.m_bySearchListType.load();
    UpdateData(false);
}

void CEventPage::UpdateData(bool save) {
    if (save) {
        m_nDiskIndex = disk_->currentIndex();
        m_nListType = listType_->currentIndex();
        // An emptied field keeps the previous maximum and asks for a number;
        // the selectors, read first, are taken all the same.
        bool ok = false;
        const unsigned value = maxNumber_->text().toUInt(&ok);
        if (ok)
            m_nMaxNumber = value;
        else
            config::ShowConfigMessage(this, QString::fromLatin1(kMaxNumberPromptText));
        return;
    }
    const QSignalBlocker blockDisk(disk_), blockType(listType_), blockMax(maxNumber_);
    disk_->setCurrentIndex(m_nDiskIndex < disk_->count() ? m_nDiskIndex : -1);
    listType_->setCurrentIndex(m_nListType >= 0 && m_nListType < listType_->count() ? m_nListType : -1);
    maxNumber_->setText(QString::number(m_nMaxNumber));
}

void CEventPage::OnSelchangeDisk() {
    m_bDiskChanged = true;
    UpdateData(true);
}

void CEventPage::OnSelchangeListType() {
    m_bListTypeChanged = true;
    UpdateData(true);
}

void CEventPage::OnChangeMaxNumber(const QString& text) {
    m_bMaxNumberChanged = true;
    std::string digits = text.toStdString();
    if (digits.empty())
        return;
    session::FilterNumericText(digits, 1);
    if (digits.empty())
        return;
    // More digits than a number holds read as the largest maximum.
    const std::size_t significant = digits.find_first_not_of('0');
    m_nMaxNumber = significant == std::string::npos ? 0
                   : digits.size() - significant > 5
                       ? kSearchListMaxNumber
                       : std::min<std::uint32_t>(std::stoul(digits), kSearchListMaxNumber);
    UpdateData(false);
}

void CEventPage::LoadSearchList() {
    if (searching_)
        return;
    const QPointer<CEventPage> self(this);
    UpdateData(true);
    if (!self)
        return;  // the sheet went away while the prompt was open
    if (m_nDiskIndex < 0) {
        config::ShowConfigMessage(this, kNoDiskMessage);
        return;
    }
    const unsigned disk = m_byIndexToDisk[static_cast<std::size_t>(m_nDiskIndex)];
    const auto listType = ListTypeAt(m_nListType);
    const unsigned max = m_nMaxNumber;
    m_arrSearchList.clear();
    config::g_lpSheetProgress().Begin();
    config::g_lpSheetProgress().SetRange(max);

    auto search = [app = &app_, timing = timing_, closing = closing_.get_token(), max, disk,
                   listType](std::stop_token stop) {
        platform::EitherStop either(std::move(stop), closing);
        SearchListResult result = RunSearchList(*app, timing, max, disk, listType, either.Token());
        config::g_lpSheetProgress().End();
        return result;
    };
    searching_ = gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(search),
                                       [this](SearchListResult result) { OnSearchEnded(std::move(result)); });
    if (!searching_)
        config::g_lpSheetProgress().End();
    load_->setEnabled(!searching_);
}

void CEventPage::OnSearchEnded(SearchListResult result) {
    searching_ = false;
    load_->setEnabled(true);
    // The entries of a failed search stay with the page until the next one.
    m_arrSearchList = std::move(result.entries);
    switch (result.end) {
    case SearchListResult::End::Failed: config::ShowConfigMessage(this, kCommandFailedMessage); return;
    case SearchListResult::End::Empty: config::ShowConfigMessage(this, kNoListMessage); return;
    case SearchListResult::End::Stopped: return;
    case SearchListResult::End::Listed: break;
    }
    const auto listType = ListTypeAt(m_nListType);
    RecordListDialog list(m_arrSearchList, QString::fromLatin1(listType ? listType->title : ""),
                          static_cast<std::uint8_t>(m_nDiskIndex), static_cast<std::uint8_t>(m_nListType), this);
    if (runRecordList_)
        runRecordList_(list);
    else
        list.exec();
}

void CEventPage::ContributeValues(config::SheetPageValues& values) const {
    if (m_bListTypeChanged)
        values.searchListType = static_cast<std::uint8_t>(m_nListType);
    if (m_bDiskChanged && m_nDiskIndex >= 0)
        values.searchListHdd = m_byIndexToDisk[static_cast<std::size_t>(m_nDiskIndex)];
    if (m_bMaxNumberChanged)
        values.searchListMaxNumber = static_cast<std::uint16_t>(m_nMaxNumber);
}

}  // namespace recording

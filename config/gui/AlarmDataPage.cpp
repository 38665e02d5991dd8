#include "config/gui/AlarmDataPage.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "config/gui/ConfigMessage.h"
#include "config/gui/AlarmDataPageTemplate.h"
#include "config/sheet/PageTree.h"
#include "platform/TextCodec.h"
#include "recording/alarmlist/SystemConfig.h"
#include "session/AppData.h"
#include "session/tools/CompanionPlayer.h"

namespace config {

namespace {

using recording::AlarmDBItem;

constexpr const char* kFileNotFound = " (File not found)";

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {{"NO.", 40}, {"IP Address", 90}, {"Time", 130}, {"Frame", 100}};

QString Decoded(const std::string& bytes) { return QString::fromStdString(platform::DecodeText(bytes)); }

QStringList RowTexts(int row, const AlarmDBItem& item) {
    const session::SystemTime& t = item.stTime;
    return {QString::number(row + 1), Decoded(item.Source()),
            QString::asprintf("%.4d.%.2d.%.2d %.2d:%.2d:%.2d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond),
            QString::number(item.dwFrames)};
}

bool RecordingMissing(const AlarmDBItem& item) { return (item.byState & recording::kAlarmItemFileMissing) != 0; }

}  // namespace

AlarmDataPage::AlarmDataPage(session::AppData& app, ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(QString::fromUtf8(caption::kAlarmData.data(), qsizetype(caption::kAlarmData.size())), set, parent),
      app_(app) {
    const gui::TemplateControls controls = BuildFromTemplate(kAlarmDataPageTemplate);
    m_ctrlAlarmList = controls.Get<QTreeWidget>(1364);
    pathEdit_ = controls.Get<QPlainTextEdit>(1040);
    m_ctrlAlarmList->setObjectName(QStringLiteral("alarmList"));
    m_ctrlAlarmList->setItemsExpandable(false);
    m_ctrlAlarmList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ctrlAlarmList->setAllColumnsShowFocus(true);
    pathEdit_->setObjectName(QStringLiteral("filePath"));
    pathEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    play_ = controls.Named<QPushButton>(1367, "play");
    refresh_ = controls.Named<QPushButton>(1311, "refresh");
    delete_ = controls.Named<QPushButton>(1068, "delete");
    clear_ = controls.Named<QPushButton>(1365, "clear");

    connect(play_, &QPushButton::clicked, this, &AlarmDataPage::OnPlay);
    connect(refresh_, &QPushButton::clicked, this, &AlarmDataPage::OnRefresh);
    connect(delete_, &QPushButton::clicked, this, &AlarmDataPage::OnDelete);
    connect(clear_, &QPushButton::clicked, this, &AlarmDataPage::OnClear);
    connect(m_ctrlAlarmList, &QTreeWidget::itemClicked, this, &AlarmDataPage::OnClickList);
    connect(m_ctrlAlarmList, &QTreeWidget::itemDoubleClicked, this, &AlarmDataPage::OnDblclkList);
}

int AlarmDataPage::LoadAlarmList() { return Reload(0); }

int AlarmDataPage::Reload(int select) {
    m_ctrlAlarmList->clear();
    QStringList titles;
    for (const Column& column : kColumns)
        titles << QString::fromLatin1(column.title);
    m_ctrlAlarmList->setHeaderLabels(titles);
    for (int i = 0; i < int(std::size(kColumns)); ++i)
        m_ctrlAlarmList->setColumnWidth(i, kColumns[i].width);
    gui::FitColumnsToHeadings(*m_ctrlAlarmList);

    rows_.clear();
    int result = 0;
    // A file that is not a list was moved aside and reported by the list object; it reads as empty.
    if (recording::SystemConfig* list = app_.AlarmList()) {
        if (list->AlarmDB_Read(rows_) == recording::AlarmListResult::Ok)
            result = 1;
        else
            ShowConfigMessage(this, QString::fromLatin1(recording::kAlarmListReadFailedText));
    }
    for (int row = 0; row < int(rows_.size()); ++row)
        m_ctrlAlarmList->addTopLevelItem(new QTreeWidgetItem(RowTexts(row, rows_[std::size_t(row)])));

    if (select < 0 || select >= int(rows_.size()))
        select = 0;
    if (rows_.empty()) {
        ShowRecordPath(-1, std::nullopt);
    } else {
        m_ctrlAlarmList->setCurrentItem(m_ctrlAlarmList->topLevelItem(select));
        ShowRecordPath(select, rows_[std::size_t(select)]);
    }
    return result;
}

std::optional<AlarmDBItem> AlarmDataPage::RecordAt(int row) const {
    recording::SystemConfig* list = app_.AlarmList();
    if (!list || row < 0)
        return std::nullopt;
    const auto visible = list->AlarmDB_VisibleItems();
    if (row >= int(visible.size()))
        return std::nullopt;
    return visible[std::size_t(row)];
}

int AlarmDataPage::SelectedRow() const {
    const auto selected = m_ctrlAlarmList->selectedItems();
    return selected.isEmpty() ? -1 : m_ctrlAlarmList->indexOfTopLevelItem(selected.front());
}

void AlarmDataPage::ShowRecordPath(int row, const std::optional<AlarmDBItem>& record) {
    shownRow_ = record ? row : -1;
    m_strFilePath.clear();
    if (record) {
        m_strFilePath = Decoded(record->FileName());
        if (RecordingMissing(*record))
            m_strFilePath += QString::fromLatin1(kFileNotFound);
    }
    pathEdit_->setPlainText(m_strFilePath);
}

void AlarmDataPage::OnClickList() {
    if (rows_.empty())
        return;
    const int row = SelectedRow();
    if (const auto record = RecordAt(row))
        ShowRecordPath(row, record);
}

void AlarmDataPage::OnDblclkList() {
    if (rows_.empty())
        return;
    const int row = SelectedRow();
    const auto record = RecordAt(row);
    if (!record || RecordingMissing(*record))
        return;
    ShowRecordPath(row, record);
    StartPlayer(record->FileName());
}

void AlarmDataPage::OnPlay() {
    if (rows_.empty())
        return;
    const auto record = RecordAt(shownRow_);
    if (record && !RecordingMissing(*record))
        StartPlayer(record->FileName());
}

void AlarmDataPage::StartPlayer(const std::string& recording) {
    // The path is one argument of its own, however long and whatever it holds.
    if (!session::StartCompanionPlayer(app_.CSettingINI.m_strAppPath.Get(), {recording}))
        ShowConfigMessage(this, 4108u);
}

void AlarmDataPage::OnDelete() {
    if (rows_.empty()) {
        ShowConfigMessage(this, 4045u);
        return;
    }
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, 4086u);
        return;
    }
    recording::SystemConfig* list = app_.AlarmList();
    if (!list)
        return;
    list->AlarmDB_MarkDeleted(std::size_t(row));
    // The same row index stays selected unless it was one of the last two; then row 0.
    const int left = int(rows_.size()) - 1;
    const int next = row < left - 1 ? row : 0;
    list->AlarmDB_Save();
    Reload(next);
}

void AlarmDataPage::OnClear() {
    recording::SystemConfig* list = app_.AlarmList();
    if (rows_.empty() || !list)
        return;
    list->AlarmDB_MarkAllDeleted();
    list->AlarmDB_Save();
    Reload(0);
}

}  // namespace config

#include "recording/gui/RecordListDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QMetaObject>
#include <QPushButton>
#include <QTreeWidget>

#include <numeric>

#include "config/gui/ConfigMessage.h"
#include "config/gui/MySystemDialog.h"

namespace recording {

namespace {

struct Column {
    const char* heading;
    Qt::Alignment alignment;
    int width;
};
constexpr Column kColumns[] = {
    {"NO.", Qt::AlignLeft, 40}, {"EVENT", Qt::AlignHCenter, 100}, {"CHANNEL", Qt::AlignHCenter, 120},
    {"TIME", Qt::AlignHCenter, 250},
};

// Which boxes each list type checks (its flags) and leaves enabled; any other type: none checked, all enabled.
struct TypeBoxes {
    RecordListFilter flags;
    bool othersEnabled;
};
TypeBoxes BoxesFor(std::uint8_t listType) {
    switch (listType) {
    case 0: return {{true, true, true, true}, true};
    case 1: return {{false, false, true, false}, false};
    case 2: return {{false, false, false, true}, false};
    case 3: return {{true, false, false, false}, false};
    case 4: return {{false, true, false, false}, false};
    default: return {{false, false, false, false}, true};
    }
}

}  // namespace

RecordListDialog::RecordListDialog(const std::vector<SearchListEntry>& entries, const QString& title,
                                   std::uint8_t diskIndex, std::uint8_t listType, QWidget* parent)
    : QDialog(parent), m_pSearchList(entries), m_byDiskIndex(diskIndex), m_byListType(listType) {
    setWindowTitle(title);
    m_ctlList = new QTreeWidget(this);
    m_ctlList->setObjectName(QStringLiteral("list"));
    m_ctlList->setRootIsDecorated(false);
    m_ctlList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ctlList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ctlList->setColumnCount(static_cast<int>(std::size(kColumns)));
    QStringList headings;
    for (const Column& c : kColumns)
        headings << QString::fromLatin1(c.heading);
    m_ctlList->setHeaderLabels(headings);
    m_ctlList->header()->setStretchLastSection(false);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        m_ctlList->header()->resizeSection(i, kColumns[i].width);
        m_ctlList->headerItem()->setTextAlignment(i, kColumns[i].alignment);
    }

    const auto box = [this](const char* caption, const char* name) {
        auto* check = new QCheckBox(QString::fromUtf8(caption), this);
        check->setObjectName(QString::fromLatin1(name));
        return check;
    };
    manual_ = box("RĘCZNE", "manual");
    system_ = box("SYSTEM", "system");
    alarm_ = box("ALARM", "alarm");
    motion_ = box("DETEKCJA", "motion");
    timer_ = box("TERMINARZ", "timer");
    load_ = new QPushButton(QString::fromUtf8("Załaduj"), this);
    load_->setObjectName(QStringLiteral("load"));
    exit_ = new QPushButton(QString::fromUtf8("Wyjście"), this);
    exit_->setObjectName(QStringLiteral("exit"));
    exit_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_ctlList, 0, 0, 1, 5);
    grid->addWidget(manual_, 1, 0);
    grid->addWidget(system_, 1, 1);
    grid->addWidget(alarm_, 1, 2);
    grid->addWidget(motion_, 1, 3);
    grid->addWidget(timer_, 1, 4);
    grid->addWidget(load_, 2, 3);
    grid->addWidget(exit_, 2, 4);
    resize(560, 360);

    // At opening every entry has a row, whatever its code.
    std::vector<std::size_t> all(m_pSearchList.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    AddRows(all);

    timer_->setChecked(false);
    timer_->hide();
    const TypeBoxes boxes = BoxesFor(m_byListType);
    filter_ = boxes.flags;
    alarm_->setChecked(filter_.m_bAlarm);
    manual_->setChecked(filter_.m_bManual);
    motion_->setChecked(filter_.m_bMotion);
    system_->setChecked(filter_.m_bSystem);
    if (!boxes.othersEnabled)
        for (QCheckBox* check : {alarm_, manual_, motion_, system_})
            check->setEnabled(check->isChecked());

    connect(alarm_, &QCheckBox::clicked, this, [this] { OnFilter(&RecordListFilter::m_bAlarm, alarm_); });
    connect(manual_, &QCheckBox::clicked, this, [this] { OnFilter(&RecordListFilter::m_bManual, manual_); });
    connect(motion_, &QCheckBox::clicked, this, [this] { OnFilter(&RecordListFilter::m_bMotion, motion_); });
    connect(system_, &QCheckBox::clicked, this, [this] { OnFilter(&RecordListFilter::m_bSystem, system_); });
    connect(m_ctlList, &QTreeWidget::itemDoubleClicked, this, &RecordListDialog::OnDblclkList);
    connect(load_, &QPushButton::clicked, this, &RecordListDialog::OnLoad);
    connect(exit_, &QPushButton::clicked, this, &QDialog::accept);
}

void RecordListDialog::AddRows(const std::vector<std::size_t>& entries) {
    m_ctlList->clear();
    rowEntries_ = entries;
    int number = 0;
    for (const std::size_t index : entries) {
        const auto texts = RecordListRow(++number, m_pSearchList[index]);
        auto* item = new QTreeWidgetItem(m_ctlList);
        for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
            item->setText(i, QString::fromStdString(texts[static_cast<std::size_t>(i)]));
            item->setTextAlignment(i, kColumns[i].alignment);
        }
    }
}

void RecordListDialog::OnFilter(bool RecordListFilter::*flag, QCheckBox* box) {
    filter_.*flag = !(filter_.*flag);
    AddRows(AdmittedEntries(m_pSearchList, filter_));
    box->setChecked(filter_.*flag);
}

void RecordListDialog::OnDblclkList() {
    const QModelIndex current = m_ctlList->currentIndex();
    if (current.isValid() && m_ctlList->currentItem() && m_ctlList->currentItem()->isSelected())
        Pick(current.row());
}

void RecordListDialog::OnLoad() {
    const auto selected = m_ctlList->selectedItems();
    if (selected.isEmpty()) {
        config::ShowConfigMessage(this, kNothingChosenMessage);
        return;
    }
    Pick(m_ctlList->indexOfTopLevelItem(selected.front()));
}

void RecordListDialog::Pick(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rowEntries_.size())
        return;
    PendingSelection() = SelectionOf(m_pSearchList[rowEntries_[static_cast<std::size_t>(row)]], m_byDiskIndex);
    // The sheet brings the backup page forward once this dialog and the search have returned.
    if (auto* sheet = parentWidget() ? qobject_cast<config::MySystemDialog*>(parentWidget()->window()) : nullptr)
        QMetaObject::invokeMethod(sheet, &config::MySystemDialog::OnShowDownloadPage, Qt::QueuedConnection);
    done(0);
}

}  // namespace recording

#include "config/gui/RowTablePage.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/gui/ConfigMessage.h"
#include "gui/StringText.h"

namespace config {

RowTablePage::RowTablePage(QString caption, ConfigWorkingSet& set, const QStringList& headers, QWidget* parent)
    : ConfigPage(std::move(caption), set, parent),
      table_(new QTreeWidget(this)),
      edit_(new QPushButton(QStringLiteral("Edytuj"), this)),
      buttons_(new QHBoxLayout) {
    table_->setObjectName(QStringLiteral("rows"));
    table_->setHeaderLabels(headers);
    table_->setRootIsDecorated(false);
    table_->setItemsExpandable(false);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAllColumnsShowFocus(true);
    edit_->setObjectName(QStringLiteral("edit"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    buttons_->addStretch();
    buttons_->addWidget(edit_);
    layout->addLayout(buttons_);

    connect(edit_, &QPushButton::clicked, this, &RowTablePage::EditSelectedRow);
    connect(table_, &QTreeWidget::itemDoubleClicked, this, &RowTablePage::OnDoubleClick);
    // A double click beside the rows reaches no item signal.
    table_->viewport()->installEventFilter(this);
}

bool RowTablePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        !table_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
        OnDoubleClick();
    return ConfigPage::eventFilter(watched, event);
}

void RowTablePage::OnDoubleClick() {
    if (SelectedRow() < 0 && !DoubleClickReportsNoSelection())
        return;
    EditSelectedRow();
}

QStringList RowTablePage::NumberedHeaders(unsigned firstId, unsigned lastId) {
    QStringList headers{QStringLiteral("NO.")};
    for (unsigned id = firstId; id <= lastId; ++id)
        headers << session::LoadText(id);
    return headers;
}

int RowTablePage::SelectedRow() const {
    const auto selected = table_->selectedItems();
    return selected.isEmpty() ? -1 : table_->indexOfTopLevelItem(selected.front());
}

void RowTablePage::EditSelectedRow() {
    const int row = SelectedRow();
    if (row < 0) {
        ShowConfigMessage(this, NoSelectionMessage());
        return;
    }
    if (EditRow(row))
        RefreshRows();
}

void RowTablePage::RefreshRows() {
    const int selected = SelectedRow();
    table_->clear();
    for (const QStringList& texts : RowTexts())
        table_->addTopLevelItem(new QTreeWidgetItem(texts));
    if (selected >= 0 && selected < table_->topLevelItemCount())
        table_->topLevelItem(selected)->setSelected(true);
}

}  // namespace config

#include "config/gui/RowTablePage.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "config/gui/ConfigMessage.h"
#include "gui/StringText.h"

namespace config {

RowTablePage::RowTablePage(const gui::DialogTemplate& table, int listId, int editId, ConfigWorkingSet& set,
                           const QStringList& headers, QWidget* parent)
    : ConfigPage(gui::TemplateText(table.caption), set, parent) {
    const gui::TemplateControls controls = BuildFromTemplate(table);
    table_ = controls.Get<QTreeWidget>(listId);
    edit_ = controls.Get<QPushButton>(editId);
    Wire(headers);
}

void RowTablePage::Wire(const QStringList& headers) {
    table_->setObjectName(QStringLiteral("rows"));
    table_->setHeaderLabels(headers);
    table_->setRootIsDecorated(false);
    table_->setItemsExpandable(false);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAllColumnsShowFocus(true);
    edit_->setObjectName(QStringLiteral("edit"));

    connect(edit_, &QPushButton::clicked, this, &RowTablePage::EditSelectedRow);
    connect(table_, &QTreeWidget::itemDoubleClicked, this, &RowTablePage::OnDoubleClick);
    // A double click beside the rows reaches no item signal.
    table_->viewport()->installEventFilter(this);
}

void RowTablePage::SetColumnWidths(std::initializer_list<int> widths) {
    int column = 0;
    for (const int width : widths)
        table_->setColumnWidth(column++, width);
    gui::FitColumnsToHeadings(*table_);
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

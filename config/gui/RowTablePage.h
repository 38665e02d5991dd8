#pragma once
// A configuration page built around a table of rows (accounts, alarm inputs,
// PTZ channels, timer rows): one row selected at a time, whole rows; "Edytuj"
// or a double click (on a row or beside the rows) opens the page's own modal
// editor for the selected row. Without a selection "Edytuj" shows the
// no-selection message; a double click shows it only on pages that say so.
// An accepted edit changes the page's values only; Apply sends them later.

#include <QStringList>

#include <initializer_list>
#include <vector>

#include "config/gui/ConfigPage.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace config {

class RowTablePage : public ConfigPage {
    Q_OBJECT
public:
    // Built from the page's template: the list is its control `listId`, "Edytuj" its control `editId`.
    RowTablePage(const gui::DialogTemplate& table, int listId, int editId, ConfigWorkingSet& set,
                 const QStringList& headers, QWidget* parent = nullptr);

    QTreeWidget* Table() const { return table_; }
    QPushButton* EditButton() const { return edit_; }
    // "NO." and the string-table texts firstId..lastId: the usual column headers.
    static QStringList NumberedHeaders(unsigned firstId, unsigned lastId);
    // The columns' widths in pixels; a column narrower than its heading needs widens to show it whole.
    void SetColumnWidths(std::initializer_list<int> widths);
    // The selected row; -1 without a selection.
    int SelectedRow() const;

    // "Edytuj": the row editor for the selected row, or the no-selection message.
    void EditSelectedRow();

protected:
    // The page's modal editor for the row; true when the person accepted it.
    virtual bool EditRow(int row) = 0;
    // The texts of every row, from the page's values.
    virtual std::vector<QStringList> RowTexts() const = 0;
    virtual unsigned NoSelectionMessage() const { return 4046; }
    virtual bool DoubleClickReportsNoSelection() const { return false; }

    // Rebuilds the table from RowTexts, keeping the selected row.
    void RefreshRows();
    void Fill() override { RefreshRows(); }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnDoubleClick();
    void Wire(const QStringList& headers);

    QTreeWidget* table_ = nullptr;
    QPushButton* edit_ = nullptr;
};

}  // namespace config

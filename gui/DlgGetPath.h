#pragma once
// The folder browser: a modal dialog with a tree of the file system's root
// and its mounted volumes, each branch listed the first time it is opened.
// The caller sets a start path, runs it and, after OK, reads the folder that
// was selected when it closed (ending in "/"), or the start path when none was.

#include <QDialog>

#include <string>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace session {

class CDlgGetPath : public QDialog {
    Q_OBJECT
public:
    explicit CDlgGetPath(QWidget* parent = nullptr);

    void SetPath(const std::string& path) { m_strPath = path; }
    std::string GetPath() const { return m_strPath; }

    void done(int result) override;

    QTreeWidget* Tree() const { return m_Tree; }
    // The item's full path, ending in "/".
    static std::string GetItemPath(const QTreeWidgetItem* item);

private:
    void AddRoots();
    QTreeWidgetItem* InsertItem(QTreeWidgetItem* parent, const QString& text, const QString& path, int kind);
    void OnItemExpanding(QTreeWidgetItem* item);
    void PopulateTree(QTreeWidgetItem* item);

    QTreeWidget* m_Tree = nullptr;
    QPushButton* m_btnOk = nullptr;
    std::string m_strPath;
};

}  // namespace session

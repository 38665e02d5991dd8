#pragma once
// A property sheet with a tree of its pages in place of a tab row: the tree on
// the left (150 pixels), the current page inside the page frame with its
// caption bar, the family banner under the tree, the progress strip under the
// pages and room for the sheet's own buttons along the bottom. The tree comes
// from the family's page table matched against the pages' captions; it sits
// beside the main window when it opens.

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "config/sheet/PageTree.h"
#include "config/sheet/SheetGeometry.h"

class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace config {

class ConfigPage;
class PageFrame;
class SheetProgressStrip;

class CTreePropSheet : public QDialog {
    Q_OBJECT
public:
    CTreePropSheet(const QString& caption, QWidget* parent, std::string productId, int selectPage = 0);
    ~CTreePropSheet() override;

    // Adds a page at the end of the tab order (the tree follows once built).
    void AddPage(ConfigPage* page);
    void RemovePage(ConfigPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    ConfigPage* GetPage(int index) const;
    // The page shown; -1 when a tree item without a page is selected.
    int GetActiveIndex() const { return active_; }
    ConfigPage* GetActivePage() const { return GetPage(active_); }
    // Selects the page (and its tree item); false when the current page refuses to be left.
    bool SetActivePage(int index);
    bool SetActivePage(ConfigPage* page);

    // Builds the sheet: frame, tree, banner and progress areas, placement beside the
    // parent window within the screen's work area, the first page. Once.
    void InitSheet();

    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tree item.
    void ActivateNextPage();
    void ActivatePreviousPage();

    QTreeWidget* Tree() const { return tree_; }
    PageFrame* Frame() const { return frame_.get(); }
    SheetProgressStrip* Progress() const { return progress_; }
    const SheetAreas& Areas() const { return areas_; }
    const std::string& ProductId() const { return productId_; }
    QString BannerText() const;

protected:
    virtual QString FormatEmptyPageText(const QString& format, const QString& caption) const;
    virtual std::unique_ptr<PageFrame> CreatePageFrame();
    // The screen's work area and the main window's frame, for the placement.
    virtual QRect WorkArea() const;
    virtual QRect MainWindowRect() const;

    void paintEvent(QPaintEvent* event) override;

private:
    void RefillPageTree();
    QTreeWidgetItem* FindPageTreeItem(int page) const;
    void SelectCurrentPageTreeItem();
    void OnSelectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    bool ShowItemPage(QTreeWidgetItem* item);
    bool KillActiveCurrentPage();
    bool ActivatePage(int index);
    void UpdateCaption();
    QRect PageArea() const;

    std::string productId_;
    int selectFirst_;
    std::vector<ConfigPage*> pages_;
    int active_ = -1;
    bool initialised_ = false;
    bool selectionBusy_ = false;
    QString emptyPageText_;
    QTreeWidget* tree_ = nullptr;
    std::unique_ptr<PageFrame> frame_;
    QStackedWidget* stack_ = nullptr;
    QWidget* blank_ = nullptr;
    SheetProgressStrip* progress_ = nullptr;
    SheetAreas areas_;
    std::vector<PageTreeItem> items_;
};

}  // namespace config

#include "config/gui/TreePropSheet.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>

#include "config/gui/ConfigPage.h"
#include "config/gui/PageFrame.h"
#include "config/gui/SheetProgressStrip.h"
#include "config/sheet/SheetProgress.h"
#include "gui/DialogUnits.h"
#include "gui/FontStandIns.h"
#include "session/AppData.h"

namespace config {

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kFrameTitleRole = Qt::UserRole + 1;
constexpr int kMargin = 7;          // the standard sheet's margin around its tab area
constexpr int kButtonRow = 30;      // the standard sheet's own (hidden) button row
constexpr int kGrowDown = 80;       // room for the progress strip and the sheet's buttons
// The standard page template's size in dialog units; a larger page template widens the area.
constexpr int kPageWidth = 230;
constexpr int kPageHeight = 130;

QString FromStd(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

float DpiScale() { return session::g_lpApp ? session::g_lpApp->fl_DpiScale.load() : 1.0f; }

QTreeWidgetItem* LastDescendant(QTreeWidgetItem* item) {
    while (item && item->childCount() > 0)
        item = item->child(item->childCount() - 1);
    return item;
}

QTreeWidgetItem* NextSibling(QTreeWidgetItem* item) {
    QTreeWidgetItem* parent = item->parent();
    QTreeWidget* tree = item->treeWidget();
    const int index = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    if (index + 1 >= count)
        return nullptr;
    return parent ? parent->child(index + 1) : tree->topLevelItem(index + 1);
}

QTreeWidgetItem* PreviousSibling(QTreeWidgetItem* item) {
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : item->treeWidget()->indexOfTopLevelItem(item);
    if (index <= 0)
        return nullptr;
    return parent ? parent->child(index - 1) : item->treeWidget()->topLevelItem(index - 1);
}

}  // namespace

CTreePropSheet::CTreePropSheet(const QString& caption, QWidget* parent, std::string productId, int selectPage)
    : QDialog(parent), productId_(std::move(productId)), selectFirst_(selectPage) {
    setWindowTitle(caption);
    setFont(gui::StandInFont(gui::kSheetFont));
}

CTreePropSheet::~CTreePropSheet() {
    if (progress_)
        g_lpSheetProgress().Detach(progress_);
}

ConfigPage* CTreePropSheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

void CTreePropSheet::AddPage(ConfigPage* page) {
    pages_.push_back(page);
    if (initialised_) {
        stack_->addWidget(page);
        RefillPageTree();
        SelectCurrentPageTreeItem();
    }
}

void CTreePropSheet::RemovePage(ConfigPage* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end())
        return;
    const int index = static_cast<int>(found - pages_.begin());
    if (index == active_) {
        stack_->setCurrentWidget(blank_);
        active_ = -1;
    } else if (index < active_) {
        --active_;
    }
    pages_.erase(found);
    if (initialised_) {
        stack_->removeWidget(page);
        RefillPageTree();
        SelectCurrentPageTreeItem();
    }
}

QString CTreePropSheet::BannerText() const { return FromStd(BannerTextFor(productId_)); }

QString CTreePropSheet::FormatEmptyPageText(const QString& format, const QString& caption) const {
    QString text = format;
    return text.replace(QStringLiteral("%s"), caption);
}

std::unique_ptr<PageFrame> CTreePropSheet::CreatePageFrame() { return std::make_unique<DefaultPageFrame>(this); }

QRect CTreePropSheet::WorkArea() const {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

QRect CTreePropSheet::MainWindowRect() const {
    return parentWidget() ? parentWidget()->frameGeometry() : QRect();
}

QRect CTreePropSheet::PageArea() const {
    QSize page = gui::BaseUnitsOf(font()).Size(kPageWidth, kPageHeight);
    for (const ConfigPage* p : pages_)
        page = page.expandedTo(p->TemplateSize().isValid() ? p->TemplateSize() : p->sizeHint());
    return QRect(kMargin, kMargin, page.width(), page.height());
}

void CTreePropSheet::InitSheet() {
    if (initialised_)
        return;
    initialised_ = true;

    // The caption bar is as high as a tab of the style.
    QTabBar probe;
    probe.addTab(QString());
    const int captionHeight = probe.tabRect(0).height();

    const QRect pages = PageArea();
    const Rect tab{pages.left(), pages.top(), pages.right() + 1, pages.bottom() + 1 + captionHeight + 1};
    const QSize sheet(tab.right + kMargin + kTreeWidth, tab.bottom + kMargin + kButtonRow + kGrowDown);
    setFixedSize(sheet);

    frame_ = CreatePageFrame();
    QWidget* frameWindow = frame_->GetWnd();
    frameWindow->setGeometry(ToQRect(tab).translated(kTreeWidth, 0));
    frame_->ShowCaption(true);
    frame_->SetCaptionHeight(captionHeight);
    stack_ = new QStackedWidget(frameWindow);
    stack_->setGeometry(frame_->CalcMsgArea());
    blank_ = new QWidget(stack_);
    blank_->setAttribute(Qt::WA_TranslucentBackground);  // the frame's message shows through
    stack_->addWidget(blank_);
    for (ConfigPage* page : pages_)
        stack_->addWidget(page);
    stack_->setCurrentWidget(blank_);
    frameWindow->show();

    areas_ = SheetAreasFor(tab, sheet.width(), sheet.height(), DpiScale());
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("PageTree"));
    tree_->setHeaderHidden(true);
    tree_->setGeometry(ToQRect(areas_.tree));
    connect(tree_, &QTreeWidget::currentItemChanged, this, &CTreePropSheet::OnSelectionChanged);

    progress_ = new SheetProgressStrip(this);
    progress_->setGeometry(ToQRect(areas_.progress));

    // Ctrl+Tab moves through the tree, with Shift backwards. Shift+Tab comes
    // as Backtab from most keyboards and as Tab from some, so both are bound;
    // should one key match both, Qt calls it ambiguous, which goes back too.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, &CTreePropSheet::ActivateNextPage);
    for (const Qt::Key key : {Qt::Key_Backtab, Qt::Key_Tab}) {
        auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | key), this);
        connect(previous, &QShortcut::activated, this, &CTreePropSheet::ActivatePreviousPage);
        connect(previous, &QShortcut::activatedAmbiguously, this, &CTreePropSheet::ActivatePreviousPage);
    }

    const QRect main = MainWindowRect();
    if (main.isValid()) {
        const QRect work = WorkArea();
        const SheetPlacement placed =
            PlaceSheet({0, 0, sheet.width(), sheet.height()},
                       {main.left() - work.left(), main.top() - work.top(), main.right() + 1 - work.left(),
                        main.bottom() + 1 - work.top()},
                       work.width(), work.height());
        if (placed.mainWindow)
            parentWidget()->move(work.left() + placed.mainWindow->x, work.top() + placed.mainWindow->y);
        move(work.left() + placed.sheet.x, work.top() + placed.sheet.y);
    }

    RefillPageTree();
    SetActivePage(std::clamp(selectFirst_, 0, std::max(0, GetPageCount() - 1)));
    g_lpSheetProgress().Attach(progress_);
}

void CTreePropSheet::RefillPageTree() {
    if (!tree_)
        return;
    std::vector<std::string> captions;
    for (const ConfigPage* page : pages_)
        captions.push_back(page->Caption().toStdString());
    items_ = BuildPageTree(PageTreeTableFor(productId_), captions);
    const bool busy = std::exchange(selectionBusy_, true);
    tree_->clear();
    std::vector<QTreeWidgetItem*> made;
    for (const PageTreeItem& item : items_) {
        QTreeWidgetItem* widgetItem = item.parent < 0
                                          ? new QTreeWidgetItem(tree_)
                                          : new QTreeWidgetItem(made[static_cast<std::size_t>(item.parent)]);
        widgetItem->setText(0, QString::fromStdString(item.text));
        widgetItem->setData(0, kPageRole, item.page);
        if (item.frameTitle)
            widgetItem->setData(0, kFrameTitleRole, QString::fromStdString(*item.frameTitle));
        made.push_back(widgetItem);
    }
    tree_->expandAll();
    selectionBusy_ = busy;
}

QTreeWidgetItem* CTreePropSheet::FindPageTreeItem(int page) const {
    if (!tree_ || page < 0 || page >= GetPageCount())
        return nullptr;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(0, kPageRole).toInt() == page)
            return *it;
    return nullptr;
}

void CTreePropSheet::SelectCurrentPageTreeItem() {
    if (QTreeWidgetItem* item = FindPageTreeItem(active_)) {
        const bool busy = std::exchange(selectionBusy_, true);
        tree_->setCurrentItem(item);
        selectionBusy_ = busy;
    }
    UpdateCaption();
}

bool CTreePropSheet::SetActivePage(int index) {
    if (!initialised_ || index < 0 || index >= GetPageCount())
        return false;
    if (QTreeWidgetItem* item = FindPageTreeItem(index)) {
        tree_->setCurrentItem(item);
        return active_ == index;
    }
    // A page without a tree item is still reachable this way.
    const bool shown = ActivatePage(index);
    UpdateCaption();
    return shown;
}

bool CTreePropSheet::SetActivePage(ConfigPage* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    return found != pages_.end() && SetActivePage(static_cast<int>(found - pages_.begin()));
}

void CTreePropSheet::OnSelectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (selectionBusy_)
        return;
    selectionBusy_ = true;
    if (current && !ShowItemPage(current) && previous)
        tree_->setCurrentItem(previous);  // the page refused to be left: the tree keeps its item
    tree_->setFocus();
    selectionBusy_ = false;
    UpdateCaption();
}

bool CTreePropSheet::ShowItemPage(QTreeWidgetItem* item) {
    const int page = item->data(0, kPageRole).toInt();
    if (page < 0 || page >= GetPageCount())
        return KillActiveCurrentPage();
    return ActivatePage(page);
}

bool CTreePropSheet::KillActiveCurrentPage() {
    ConfigPage* page = GetActivePage();
    if (!page)
        return true;
    if (!page->ConfirmLeave())
        return false;
    stack_->setCurrentWidget(blank_);
    active_ = -1;
    return true;
}

bool CTreePropSheet::ActivatePage(int index) {
    if (index == active_)
        return true;
    if (!KillActiveCurrentPage())
        return false;
    stack_->setCurrentWidget(GetPage(index));
    active_ = index;
    GetPage(index)->EnsureFilled();
    return true;
}

void CTreePropSheet::UpdateCaption() {
    QTreeWidgetItem* item = tree_ ? tree_->currentItem() : nullptr;
    if (!item || !frame_)
        return;
    const QVariant title = item->data(0, kFrameTitleRole);
    const QString caption = title.isValid() ? title.toString() : item->text(0);
    if (active_ < 0)
        frame_->SetMsgText(FormatEmptyPageText(emptyPageText_, caption));
    if (frame_->GetShowCaption())
        frame_->SetCaption(caption);
}

void CTreePropSheet::ActivateNextPage() {
    if (!tree_ || tree_->topLevelItemCount() == 0) {
        if (GetPageCount() > 0)
            SetActivePage((active_ + 1) % GetPageCount());
        return;
    }
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* next = nullptr;
    if (item && item->childCount() > 0) {
        next = item->child(0);
    } else {
        for (QTreeWidgetItem* at = item; at && !next; at = at->parent())
            next = NextSibling(at);
    }
    tree_->setCurrentItem(next ? next : tree_->topLevelItem(0));
}

void CTreePropSheet::ActivatePreviousPage() {
    if (!tree_ || tree_->topLevelItemCount() == 0) {
        if (GetPageCount() > 0)
            SetActivePage((active_ + GetPageCount() - 1) % GetPageCount());
        return;
    }
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* previous = nullptr;
    if (item) {
        if (QTreeWidgetItem* sibling = PreviousSibling(item))
            previous = LastDescendant(sibling);
        else
            previous = item->parent();
    }
    tree_->setCurrentItem(previous ? previous : LastDescendant(tree_->topLevelItem(tree_->topLevelItemCount() - 1)));
}

void CTreePropSheet::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!initialised_)
        return;
    QPainter painter(this);
    const QRect banner = ToQRect(areas_.banner);
    painter.fillRect(banner, QColor(0, 50, 128));
    QRect r = banner;
    for (int i = 0; i < 2; ++i, r.adjust(1, 1, -1, -1)) {
        painter.setPen(QColor(0, 100, 230));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QColor(0, 25, 64));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    QFont font = gui::StandInFontPixels("Times New Roman", std::max(1, areas_.banner.Height() * 7 / 10));
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(QRect(banner.left(), banner.top() + 3, banner.width(), banner.height() - 3),
                     Qt::AlignHCenter | Qt::AlignTop, BannerText());
}

}  // namespace config

#include "gui/DlgGetPath.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string_view>

namespace session {

namespace {

constexpr int kPathRole = Qt::UserRole;

// Item pictures: a folder, or a volume by its kind.
enum Kind { kFolder, kRemovable, kFixed, kRemote, kOptical, kRamDisk };

struct FileSystemKind {
    std::string_view type;
    Kind kind;
};
constexpr std::array kFileSystemKinds{
    FileSystemKind{"nfs", kRemote},      FileSystemKind{"nfs4", kRemote},     FileSystemKind{"cifs", kRemote},
    FileSystemKind{"smb3", kRemote},     FileSystemKind{"smbfs", kRemote},    FileSystemKind{"fuse.sshfs", kRemote},
    FileSystemKind{"iso9660", kOptical}, FileSystemKind{"udf", kOptical},     FileSystemKind{"tmpfs", kRamDisk},
    FileSystemKind{"ramfs", kRamDisk},   FileSystemKind{"vfat", kRemovable},  FileSystemKind{"exfat", kRemovable},
};

Kind KindOf(const QStorageInfo& volume) {
    const std::string type = volume.fileSystemType().toStdString();
    for (const FileSystemKind& row : kFileSystemKinds)
        if (row.type == type)
            return row.kind;
    const QString root = volume.rootPath();
    if (root.startsWith("/media/") || root.startsWith("/run/media/"))
        return kRemovable;
    return kFixed;
}

QIcon IconOf(const QStyle* style, int kind) {
    switch (kind) {
    case kRemovable: return style->standardIcon(QStyle::SP_DriveFDIcon);
    case kFixed: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case kRemote: return style->standardIcon(QStyle::SP_DriveNetIcon);
    case kOptical: return style->standardIcon(QStyle::SP_DriveCDIcon);
    case kRamDisk: return style->standardIcon(QStyle::SP_DriveHDIcon);
    default: return style->standardIcon(QStyle::SP_DirIcon);
    }
}

QString WithSlash(QString path) {
    if (!path.endsWith('/'))
        path += '/';
    return path;
}

}  // namespace

CDlgGetPath::CDlgGetPath(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Ścieżka docelowa"));
    setModal(true);
    resize(320, 380);
    m_Tree = new QTreeWidget(this);
    m_Tree->setObjectName("folderTree");
    m_Tree->setHeaderHidden(true);
    m_Tree->setRootIsDecorated(true);
    m_Tree->setDragEnabled(false);
    m_btnOk = new QPushButton(QStringLiteral("OK"), this);
    m_btnOk->setObjectName("okButton");
    m_btnOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ANULUJ"), this);
    cancel->setObjectName("cancelButton");
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_Tree, &QTreeWidget::itemExpanded, this, &CDlgGetPath::OnItemExpanding);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Tree);
    layout->addLayout(buttons);
    AddRoots();
}

void CDlgGetPath::AddRoots() {
    InsertItem(nullptr, QStringLiteral("/"), QStringLiteral("/"), kFixed);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isRoot())
            continue;
        InsertItem(nullptr, volume.rootPath(), volume.rootPath(), KindOf(volume));
    }
}

QTreeWidgetItem* CDlgGetPath::InsertItem(QTreeWidgetItem* parent, const QString& text, const QString& path,
                                          int kind) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_Tree);
    item->setText(0, text);
    item->setData(0, kPathRole, WithSlash(path));
    item->setIcon(0, IconOf(style(), kind));
    // Every item may have subfolders until it is opened.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

std::string CDlgGetPath::GetItemPath(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString().toStdString() : std::string();
}

void CDlgGetPath::OnItemExpanding(QTreeWidgetItem* item) {
    if (item->childCount() > 0 || item->data(0, kPathRole + 1).toBool())
        return;
    PopulateTree(item);
    item->setData(0, kPathRole + 1, true);
    if (!item->isSelected())
        m_Tree->setCurrentItem(item);
}

void CDlgGetPath::PopulateTree(QTreeWidgetItem* item) {
    const QString path = item->data(0, kPathRole).toString();
    // Every folder as the file system names it, hidden ones included.
    const QStringList names =
        QDir(path).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        InsertItem(item, name, path + name, kFolder);
    if (names.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void CDlgGetPath::done(int result) {
    const QList<QTreeWidgetItem*> selected = m_Tree->selectedItems();
    if (result == QDialog::Accepted && !selected.isEmpty())
        m_strPath = GetItemPath(selected.front());
    QDialog::done(result);
}

}  // namespace session

#pragma once
// Works the folder browser for a test: opens its tree down to a folder.

#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "gui/DlgGetPath.h"

namespace testutil {

// The item for `path` in the browser's tree, opening each branch on the way
// from "/"; null when a step is missing.
inline QTreeWidgetItem* OpenFolderItem(session::CDlgGetPath& dialog, const std::filesystem::path& path) {
    QTreeWidgetItem* item = dialog.Tree()->topLevelItem(0);
    EXPECT_EQ(item->text(0), "/");
    for (const auto& part : path.relative_path()) {
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == QString::fromStdString(part.string()))
                next = item->child(i);
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}

}  // namespace testutil

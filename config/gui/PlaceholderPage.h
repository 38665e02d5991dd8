#pragma once
// A page that is not built yet: it carries its caption, so the tree and the
// page order are right, and contributes nothing to Apply.

#include <QLabel>
#include <QVBoxLayout>

#include "config/gui/ConfigPage.h"

namespace config {

class PlaceholderPage : public ConfigPage {
    Q_OBJECT
public:
    PlaceholderPage(const QString& caption, ConfigWorkingSet& set, QWidget* parent = nullptr)
        : ConfigPage(caption, set, parent) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(caption.trimmed(), this), 0, Qt::AlignCenter);
    }
};

}  // namespace config

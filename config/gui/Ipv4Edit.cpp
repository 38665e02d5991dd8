#include "config/gui/Ipv4Edit.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace config {

Ipv4Edit::Ipv4Edit(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        if (i > 0)
            row->addWidget(new QLabel(QStringLiteral("."), this));
        auto* part = new QLineEdit(this);
        part->setObjectName(QStringLiteral("part%1").arg(i));
        part->setMaxLength(3);
        part->setValidator(new QIntValidator(0, 255, part));
        part->setAlignment(Qt::AlignCenter);
        connect(part, &QLineEdit::textEdited, this, &Ipv4Edit::ValueEdited);
        row->addWidget(part);
        parts_[i] = part;
    }
}

void Ipv4Edit::Load(std::uint32_t address) {
    loaded_ = address;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const QSignalBlocker block(parts_[i]);
        parts_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFF));
    }
}

std::uint32_t Ipv4Edit::Value() const {
    std::uint32_t address = 0;
    for (const QLineEdit* part : parts_)
        address = address << 8 | std::min(part->text().toUInt(), 255u);  // "300" is still being typed
    return address;
}

}  // namespace config

#include "config/gui/PtzEntryDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"
#include "config/pages/PeripheralValues.h"

namespace config {

namespace {

IndexedCombo* MakeList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new IndexedCombo(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->SetItems(items);
    return list;
}

}  // namespace

PtzEntryDialog::PtzEntryDialog(int channel, const PtzRow& row, QWidget* parent) : QDialog(parent), row_(row) {
    setWindowTitle(QStringLiteral("Edit"));
    type_ = MakeList(this, "type", {"CAMERA", "PTZ"});
    type_->LoadIndex(row.type);
    NumberEdit::Rules rules;
    rules.max = 255;
    address_ = new NumberEdit(rules, this);
    address_->setObjectName(QStringLiteral("address"));
    address_->setAlignment(Qt::AlignCenter);
    address_->Load(row.address);
    protocol_ = MakeList(this, "protocol", {"NORMAL", "P-D"});
    protocol_->LoadIndex(row.protocol);
    // The rates' leading blanks line them up on the right.
    speed_ = MakeList(this, "speed", {});
    speed_->SetItems({"    2400", "    4800", "    9600", "  19200", "  38400", "  57600", "115200"},
                     {kPeripheralBaudTable.begin(), kPeripheralBaudTable.end()});
    speed_->LoadCode(row.baud);
    auto* number = new QLabel(QString::asprintf("%2d", channel + 1), this);
    number->setObjectName(QStringLiteral("row"));
    number->setFrameShape(QFrame::Panel);
    number->setFrameShadow(QFrame::Sunken);
    number->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    const char* headings[] = {"NR.", "URZĄDZENIE", "ID", "PROTOKÓŁ", "SZYBKOŚĆ"};
    QWidget* fields[] = {number, type_, address_, protocol_, speed_};
    for (int column = 0; column < 5; ++column) {
        grid->addWidget(new QLabel(QString::fromUtf8(headings[column]), this), 0, column, Qt::AlignCenter);
        grid->addWidget(fields[column], 1, column);
    }
    grid->addWidget(ok, 0, 5, 2, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

PtzRow PtzEntryDialog::Row() const {
    PtzRow row = row_;
    if (type_->Changed())
        row.type = type_->Index();
    if (const auto typed = address_->Value())
        row.address = static_cast<int>(*typed);
    if (protocol_->Changed())
        row.protocol = protocol_->Index();
    if (const auto rate = speed_->Code(); rate && speed_->Changed())
        row.baud = static_cast<std::uint32_t>(*rate);
    return row;
}

}  // namespace config

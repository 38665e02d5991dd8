#include "config/gui/CameraEntryDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/gui/ConfigMessage.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"

namespace config {

namespace {

NumberEdit* MakeByteEdit(QWidget* parent, const char* name, int value) {
    NumberEdit::Rules rules;
    rules.max = 255;
    auto* edit = new NumberEdit(rules, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignCenter);
    edit->Load(value);
    return edit;
}

IndexedCombo* MakeFlagList(QWidget* parent, const char* name, int value) {
    auto* list = new IndexedCombo(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->SetItems({"NO", "YES"});
    list->LoadIndex(value);
    return list;
}

}  // namespace

CameraEntryDialog::CameraEntryDialog(int channel, const CameraRow& row, QWidget* parent)
    : QDialog(parent), row_(row) {
    setWindowTitle(QStringLiteral("Edit"));
    name_ = new QLineEdit(QString::fromStdString(row.name), this);
    name_->setObjectName(QStringLiteral("name"));
    name_->setAlignment(Qt::AlignCenter);
    brightness_ = MakeByteEdit(this, "brightness", row.brightness);
    contrast_ = MakeByteEdit(this, "contrast", row.contrast);
    saturation_ = MakeByteEdit(this, "saturation", row.saturation);
    hue_ = MakeByteEdit(this, "hue", row.hue);
    covert_ = MakeFlagList(this, "covert", row.covert);
    record_ = MakeFlagList(this, "record", row.record);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* number = new QLabel(QString::number(channel + 1), this);
    number->setObjectName(QStringLiteral("row"));
    number->setFrameShape(QFrame::Panel);
    number->setFrameShadow(QFrame::Sunken);
    number->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(this);
    const char* headings[] = {"NR.", "NAZWA", "JAS", "KON", "NAS", "KOL", "UKR", "NAGR"};
    QWidget* fields[] = {number, name_, brightness_, contrast_, saturation_, hue_, covert_, record_};
    for (int column = 0; column < 8; ++column) {
        grid->addWidget(new QLabel(QString::fromLatin1(headings[column]), this), 0, column, Qt::AlignCenter);
        grid->addWidget(fields[column], 1, column);
    }
    grid->addWidget(ok, 0, 8, 2, 1);

    connect(name_, &QLineEdit::textEdited, this, &CameraEntryDialog::OnNameEdited);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CameraEntryDialog::OnNameEdited(const QString& text) {
    const CameraNameInput input = FilterCameraName(text.toStdString());
    name_->setText(QString::fromStdString(input.name));
    name_->setCursorPosition(name_->text().size());
    if (input.tooLong)
        ShowConfigMessage(this, 4112u);
}

CameraRow CameraEntryDialog::Row() const {
    CameraRow row = row_;
    row.name = name_->text().toStdString();
    const std::pair<NumberEdit*, int*> numbers[] = {{brightness_, &row.brightness},
                                                    {contrast_, &row.contrast},
                                                    {saturation_, &row.saturation},
                                                    {hue_, &row.hue}};
    for (auto [edit, value] : numbers)
        if (const auto typed = edit->Value())
            *value = static_cast<int>(*typed);
    if (covert_->Changed())
        row.covert = covert_->Index();
    if (record_->Changed())
        row.record = record_->Index();
    return row;
}

}  // namespace config

#include "config/gui/CameraEntryDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/gui/CameraEntryDialogTemplate.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"
#include "gui/TemplateBuilder.h"

namespace config {

CameraEntryDialog::CameraEntryDialog(int channel, const CameraRow& row, QWidget* parent)
    : QDialog(parent), row_(row) {
    setWindowTitle(gui::TemplateText(kCameraEntryDialogTemplate.caption));
    NumberEdit::Rules rules;
    rules.max = 255;
    const gui::TemplateControls controls = gui::BuildTemplate(
        *this, kCameraEntryDialogTemplate, [&](const gui::TemplateControl& control, QWidget& dialog) -> QWidget* {
            if (control.kind == gui::ControlKind::ComboBox)
                return new IndexedCombo(&dialog);
            if (control.style & gui::kNumber)
                return new NumberEdit(rules, &dialog);
            return nullptr;
        });
    name_ = controls.Get<QLineEdit>(1439);
    name_->setObjectName(QStringLiteral("name"));
    name_->setText(QString::fromStdString(row.name));
    const struct {
        NumberEdit** edit;
        int id;
        const char* name;
        int value;
    } numbers[] = {{&brightness_, 1434, "brightness", row.brightness},
                   {&contrast_, 1435, "contrast", row.contrast},
                   {&saturation_, 1436, "saturation", row.saturation},
                   {&hue_, 1438, "hue", row.hue}};
    for (const auto& number : numbers) {
        *number.edit = controls.Get<NumberEdit>(number.id);
        (*number.edit)->setObjectName(QString::fromLatin1(number.name));
        (*number.edit)->Load(number.value);
    }
    const struct {
        IndexedCombo** list;
        int id;
        const char* name;
        int value;
    } flags[] = {{&covert_, 1195, "covert", row.covert}, {&record_, 1196, "record", row.record}};
    for (const auto& flag : flags) {
        *flag.list = controls.Get<IndexedCombo>(flag.id);
        (*flag.list)->setObjectName(QString::fromLatin1(flag.name));
        (*flag.list)->SetItems({"NO", "YES"});
        (*flag.list)->LoadIndex(flag.value);
    }
    auto* number = controls.Get<QLabel>(1433);
    number->setObjectName(QStringLiteral("row"));
    number->setText(QString::number(channel + 1));
    auto* ok = controls.Get<QPushButton>(1);
    ok->setObjectName(QStringLiteral("ok"));

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

#include "config/gui/MailAccountDialog.h"

#include <QLabel>
#include <QPushButton>

#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MailAccountDialogTemplate.h"
#include "gui/TemplateBuilder.h"

namespace config {

MailAccountDialog::MailAccountDialog(const QString& prompt, const QString& address, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(gui::TemplateText(kMailAccountDialogTemplate.caption));
    const gui::TemplateControls controls =
        gui::BuildTemplate(*this, kMailAccountDialogTemplate, [](const gui::TemplateControl& control, QWidget& dialog) {
            return control.id == 1040 ? new LimitedTextEdit(63, LimitedTextEdit::Mode::Plain, &dialog) : nullptr;
        });
    controls.Get<QLabel>(1274)->setText(prompt);
    edit_ = controls.Get<LimitedTextEdit>(1040);
    ok_ = controls.Get<QPushButton>(1);
    edit_->setObjectName(QStringLiteral("address"));
    edit_->Load(address);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(controls.Get<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

QString MailAccountDialog::Address() const { return edit_->text(); }

}  // namespace config

#include "config/gui/MailAccountDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "config/gui/LimitedTextEdit.h"

namespace config {

MailAccountDialog::MailAccountDialog(const QString& prompt, const QString& address, QWidget* parent)
    : QDialog(parent), edit_(new LimitedTextEdit(63, LimitedTextEdit::Mode::Plain, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Edycja kont email"));
    auto* cancel = new QPushButton(QStringLiteral("ANULUJ"), this);
    edit_->setObjectName(QStringLiteral("address"));
    edit_->Load(address);
    ok_->setDefault(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(prompt, this), 0, 0);
    grid->addWidget(edit_, 0, 1, 1, 3);
    grid->addWidget(ok_, 1, 0);
    grid->addWidget(cancel, 1, 3);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString MailAccountDialog::Address() const { return edit_->text(); }

}  // namespace config

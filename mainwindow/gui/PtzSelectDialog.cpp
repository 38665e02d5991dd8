#include "mainwindow/gui/PtzSelectDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <charconv>
#include <string>

#include "gui/StringText.h"
#include "mainwindow/control/PtzSelection.h"
#include "session/DeviceFamily.h"

namespace session {

namespace {

constexpr std::uint16_t kExitTipId = 3204;

}  // namespace

PtzSelectDialog::PtzSelectDialog(bool masterCurrent, int ordinal, float dpiScale, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select PTZ device"));
    auto scaled = [dpiScale](int x, int y, int w, int h) {
        return QRect(static_cast<int>(x * dpiScale), static_cast<int>(y * dpiScale), static_cast<int>(w * dpiScale),
                     static_cast<int>(h * dpiScale));
    };
    auto* choose = new QLabel(QString::fromUtf8("WYBÓR NR :"), this);
    choose->setGeometry(scaled(10, 12, 80, 22));
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(scaled(92, 10, 60, 24));
    auto* ptz = new QLabel(QStringLiteral("PTZ"), this);
    ptz->setGeometry(scaled(160, 12, 40, 22));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(scaled(10, 42, 80, 37));
    m_cancel = new QPushButton(QStringLiteral("ANULUJ"), this);
    m_cancel->setGeometry(scaled(91, 42, 80, 37));
    m_exit = new QPushButton(QString::fromUtf8("WYJŚCIE"), this);
    m_exit->setGeometry(scaled(172, 42, 98, 37));
    m_exit->setToolTip(LoadText(kExitTipId));
    setFixedSize(scaled(0, 0, 280, 90).size());
    if (masterCurrent) {
        m_exit->hide();
        m_cancel->setGeometry(scaled(172, 42, 98, 37));
    }
    m_ok->setDefault(true);
    // Digits only, as the person types.
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        std::string digits = text.toStdString();
        FilterNumericText(digits, 1);
        if (QString::fromStdString(digits) != text)
            m_edit->setText(QString::fromStdString(digits));
    });
    m_nPtzNumber = ordinal + 1;
    m_edit->setText(QString::number(m_nPtzNumber));
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(mainwindow::kPtzSelectCancel); });
    connect(m_exit, &QPushButton::clicked, this, [this] { done(mainwindow::kPtzSelectExit); });
}

void PtzSelectDialog::OnOK() {
    const std::string text = m_edit->text().trimmed().toStdString();
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_nPtzNumber = number;
    done(mainwindow::kPtzSelectOk);
}

}  // namespace session

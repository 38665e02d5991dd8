#include "mainwindow/gui/SensorModeToolBar.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>

#include "gui/DeviceCommand.h"
#include "gui/SkinPicture.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"
#include "session/AppData.h"

namespace mainwindow {

using session::CVtxButton;

namespace {

constexpr int kButtonSize = 30;
// The drawn buttons' captions where their pictures are missing.
constexpr const char* kCaptions[] = {"1", "LT", "RT", "LB", "RB", "CN", "H", "V"};

}  // namespace

SensorModeToolBar::SensorModeToolBar(session::AppData& app, platform::Timing timing, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), app_(app), timing_(timing) {
    setFixedSize(kSensorBarWidth, kSensorBarHeight);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kSensorBarWidth, kSensorBarHeight), 5, 5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    const auto folder = session::ProgramFolderOf(app_);
    background_ = session::LoadSkinPicture(folder, kSensorBarBackground);
    // Every button is made whatever pictures there are: a missing one is drawn in place.
    for (std::size_t i = 0; i < kSensorButtons.size(); ++i) {
        const SensorButtonRow& row = kSensorButtons[i];
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(row.id));
        button->setGeometry(row.x, row.y, kButtonSize, kButtonSize);
        button->setToolTip(session::LoadText(row.id));
        button->setText(QString::fromLatin1(kCaptions[i]));
        if (row.mirror) {
            button->LoadButtonBitmap(folder, row.up, row.down, row.down, CVtxButton::VTX_PUSH);
        } else {
            const CVtxButton::StatePair pairs[] = {{row.up, row.up}, {row.down, row.down}};
            button->LoadButtonBitmap(folder, pairs, CVtxButton::VTX_STATE_CLICK);
        }
        connect(button, &QAbstractButton::clicked, this, [this, &row] { OnButton(row); });
        buttons_[i] = button;
    }
    UpdateModeButtons();
}

CVtxButton* SensorModeToolBar::Button(std::uint16_t id) const {
    const std::size_t i = static_cast<std::size_t>(id - kFirstSensorButton);
    return id >= kFirstSensorButton && i < buttons_.size() ? buttons_[i] : nullptr;
}

void SensorModeToolBar::UpdateModeButtons() {
    for (int mode = 0; mode < kSensorModeCount; ++mode)
        buttons_[static_cast<std::size_t>(mode)]->SetImageState(mode == reported_.frameMode ? 1 : 0);
}

void SensorModeToolBar::OnPostSensorMode(unsigned byte) {
    const SensorState state = DecodeSensorByte(byte);
    if (state == reported_)
        return;
    reported_ = state;
    UpdateModeButtons();
}

void SensorModeToolBar::OnButton(const SensorButtonRow& row) {
    session::AppData& app = app_;
    const platform::Timing timing = timing_;
    std::function<int(std::stop_token)> job;
    if (row.mirror) {
        const bool horizontal = row.id == kHorizontalMirrorButton;
        job = [&app, timing, horizontal, reported = reported_](std::stop_token stop) {
            return SendMirror(app, timing, horizontal, reported, stop);
        };
    } else {
        // The click moved the pressed button's own state: the buttons show the reported mode until a header says otherwise.
        UpdateModeButtons();
        const int mode = row.id - kFirstSensorButton;
        job = [&app, timing, mode](std::stop_token stop) { return SendSensorMode(app, timing, mode, stop); };
    }
    auto done = [this](int sent) {
        if (sent != 1) {
            const QString text = session::LoadText(kSensorCommandFailedMessage);
            if (showMessage_)
                showMessage_(text);
            else
                QMessageBox::warning(this, QString(), text);
        }
        emit requestFinished(sent == 1);
    };
    if (!gui::RunDeviceCommand(this, app_.h_DeviceCommandWorker, std::move(job), done))
        done(0);
}

void SensorModeToolBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.isNull())
        painter.drawPixmap(rect(), background_);
    else
        painter.fillRect(rect(), session::kSkinBlue);
}

// Enter and Esc do nothing here (the bar never closes by the keyboard).
void SensorModeToolBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace mainwindow

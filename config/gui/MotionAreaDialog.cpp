#include "config/gui/MotionAreaDialog.h"

#include <QImage>
#include <QLabel>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "config/gui/IndexedCombo.h"
#include "config/gui/MotionAreaDialogTemplate.h"
#include "config/gui/NumberEdit.h"
#include "config/motion/MotionOverlay.h"
#include "gui/TemplateBuilder.h"
#include "session/AppData.h"

namespace config {

namespace {

constexpr int kDisplayWidth = 320;
constexpr int kDisplayHeightNtsc = 228;
constexpr int kDisplayHeightPal = 276;

}  // namespace

MotionAreaDialog::MotionAreaDialog(session::AppData& app, const DetectionRow& row, const QString& rowText,
                                   QWidget* parent)
    : QDialog(parent),
      app_(app),
      row_(row),
      grabber_(app, picture_,
               [this] { QMetaObject::invokeMethod(this, [this] { update(PictureRect()); }, Qt::QueuedConnection); }),
      displayWidth_(kDisplayWidth),
      displayHeight_(app.by_VideoMode.load() == 0 ? kDisplayHeightNtsc : kDisplayHeightPal) {
    setWindowTitle(gui::TemplateText(kMotionAreaDialogTemplate.caption));
    setMouseTracking(true);
    const gui::TemplateControls controls = gui::BuildTemplate(
        *this, kMotionAreaDialogTemplate, [](const gui::TemplateControl& control, QWidget& dialog) -> QWidget* {
            if (control.kind == gui::ControlKind::ComboBox)
                return new IndexedCombo(&dialog);
            if (control.style & gui::kNumber) {
                NumberEdit::Rules rules;
                rules.max = control.id == 1420 ? kMotionReMax : kMotionLevelMax;
                return new NumberEdit(rules, &dialog);
            }
            return nullptr;
        });
    auto* number = controls.Get<QLabel>(1413);
    number->setObjectName(QStringLiteral("row"));
    number->setText(rowText);

    detection_ = controls.Get<IndexedCombo>(1416);
    detection_->setObjectName(QStringLiteral("detection"));
    detection_->SetItems({"OFF", "ON"});
    detection_->LoadIndex(row.detection);
    setArea_ = controls.Get<QPushButton>(1068);
    setArea_->setObjectName(QStringLiteral("setArea"));
    const struct {
        NumberEdit** edit;
        int id;
        const char* name;
        int value;
    } numbers[] = {{&ls_, 1417, "ls", row.ls}, {&ss_, 1418, "ss", row.ss}, {&ts_, 1419, "ts", row.ts},
                   {&re_, 1420, "re", row.re}};
    for (const auto& field : numbers) {
        *field.edit = controls.Get<NumberEdit>(field.id);
        (*field.edit)->setObjectName(QString::fromLatin1(field.name));
        (*field.edit)->Load(field.value);
    }
    alarmType_ = controls.Get<IndexedCombo>(1421);
    alarmType_->setObjectName(QStringLiteral("alarmType"));
    const bool contact = (app.dw_DeviceCapability.load() & kCapabilityContactAlarm) != 0;
    QStringList alarmTypes;
    for (int type = 0; type < 3; ++type)
        alarmTypes << QString::fromLatin1(AlarmTypeText(type, contact).data());
    alarmType_->SetItems(alarmTypes);
    alarmType_->LoadIndex(row.alarmType);

    auto* ok = controls.Get<QPushButton>(1);
    ok->setObjectName(QStringLiteral("ok"));
    selectAll_ = controls.Get<QPushButton>(1423);
    selectAll_->setObjectName(QStringLiteral("selectAll"));
    removeAll_ = controls.Get<QPushButton>(1424);
    removeAll_->setObjectName(QStringLiteral("removeAll"));

    grid_.Mask() = row.area;

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(setArea_, &QPushButton::clicked, this, &MotionAreaDialog::OnSetArea);
    connect(selectAll_, &QPushButton::clicked, this, &MotionAreaDialog::OnSelectAll);
    connect(removeAll_, &QPushButton::clicked, this, &MotionAreaDialog::OnRemoveAll);
    grabber_.Start();
}

MotionAreaDialog::~MotionAreaDialog() { grabber_.Stop(); }

void MotionAreaDialog::done(int result) {
    grabber_.Stop();
    QDialog::done(result);
}

DetectionRow MotionAreaDialog::Row() const {
    DetectionRow row = row_;
    if (detection_->Changed())
        row.detection = detection_->Index();
    if (alarmType_->Changed())
        row.alarmType = alarmType_->Index();
    const std::pair<NumberEdit*, int*> numbers[] = {{ls_, &row.ls}, {ss_, &row.ss}, {ts_, &row.ts}, {re_, &row.re}};
    for (auto [edit, value] : numbers)
        if (const auto typed = edit->Value())
            *value = static_cast<int>(*typed);
    row.area = grid_.Mask();
    return row;
}

void MotionAreaDialog::OnSetArea() {
    setFixedSize(width(), height() + displayHeight_ + 20);
    setArea_->setEnabled(false);

    const int width = std::min<int>(app_.w_ImageWidth.load(), kMotionGridWidth);
    const int height = app_.w_ImageHeight.load();
    const float scale = app_.fl_DpiScale.load();
    left_ = (this->width() - width) / 2;
    top_ = static_cast<int>(60 * scale);
    grid_.Place(left_, top_, height, app_.by_VideoSizeFamily.load());

    const QSize buttonSize(static_cast<int>(65 * scale), static_cast<int>(60 * scale));
    const int x = left_ + width * 65 / 64;
    selectAll_->setGeometry(QRect(QPoint(x, top_ + height / 8), buttonSize));
    removeAll_->setGeometry(QRect(QPoint(x, top_ + height * 5 / 8), buttonSize));
    selectAll_->show();
    removeAll_->show();
    // Beside a full-width picture the buttons would stand past the dialog's edge.
    const int needed = x + buttonSize.width() + left_ / 4;
    if (needed > this->width())
        setFixedSize(needed, this->height());

    update();
    grabber_.StartFeed();
}

void MotionAreaDialog::OnSelectAll() {
    grid_.SelectAll();
    update();
}

void MotionAreaDialog::OnRemoveAll() {
    grid_.RemoveAll();
    update();
}

void MotionAreaDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!picture_.CopyTo(drawing_))
        return;
    DrawMotionOverlay(drawing_.pixels, drawing_.width, drawing_.height, grid_.Mask(), grid_.PointerMask());
    const QImage bottomUp(drawing_.pixels.data(), drawing_.width, drawing_.height, drawing_.width * 3,
                          QImage::Format_BGR888);
    QPainter painter(this);
    painter.drawImage(PictureRect(), bottomUp.mirrored());
}

void MotionAreaDialog::Repaint(const MotionRepaint& area) {
    if (area.kind == MotionRepaint::Kind::Whole)
        update();
    else if (area.kind == MotionRepaint::Kind::Area)
        update(QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom)));
}

void MotionAreaDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        grid_.SetPictureReady(picture_.Ready());
        const QPoint p = event->position().toPoint();
        Repaint(grid_.OnButtonDown(p.x(), p.y()));
    }
    QDialog::mousePressEvent(event);
}

void MotionAreaDialog::mouseMoveEvent(QMouseEvent* event) {
    grid_.SetPictureReady(picture_.Ready());
    const QPoint p = event->position().toPoint();
    Repaint(grid_.OnMove(p.x(), p.y()));
    QDialog::mouseMoveEvent(event);
}

void MotionAreaDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        grid_.SetPictureReady(picture_.Ready());
        const QPoint p = event->position().toPoint();
        Repaint(grid_.OnButtonUp(p.x(), p.y()));
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace config

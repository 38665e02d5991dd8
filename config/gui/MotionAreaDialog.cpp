#include "config/gui/MotionAreaDialog.h"

#include <QImage>
#include <QLabel>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "config/gui/DialogUnits.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/NumberEdit.h"
#include "config/motion/MotionOverlay.h"
#include "session/AppData.h"

namespace config {

namespace {

constexpr int kDisplayWidth = 320;
constexpr int kDisplayHeightNtsc = 228;
constexpr int kDisplayHeightPal = 276;

NumberEdit* MakeNumber(QWidget* parent, const char* name, int max, int value, const QRect& place) {
    NumberEdit::Rules rules;
    rules.max = max;
    auto* edit = new NumberEdit(rules, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignCenter);
    edit->setGeometry(place);
    edit->Load(value);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, const QRect& place) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

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
    setWindowTitle(QStringLiteral("Edit"));
    setFixedSize(Dlu(0, 0, 265, 44).size());
    setMouseTracking(true);

    MakeLabel(this, "NR.", Dlu(3, 2, 21, 10));
    MakeLabel(this, "DETEKCJA", Dlu(24, 2, 44, 10));
    MakeLabel(this, "POLE", Dlu(68, 2, 36, 10));
    const char* values[] = {"LS", "SS", "TS", "RE"};
    for (int i = 0; i < 4; ++i)
        MakeLabel(this, values[i], Dlu(104 + 19 * i, 2, 19, 10));
    MakeLabel(this, "ALARM", Dlu(180, 2, 33, 10));
    QLabel* number = MakeLabel(this, "", Dlu(3, 13, 21, 12));
    number->setObjectName(QStringLiteral("row"));
    number->setText(rowText);
    number->setFrameShape(QFrame::Panel);
    number->setFrameShadow(QFrame::Sunken);

    detection_ = new IndexedCombo(this);
    detection_->setObjectName(QStringLiteral("detection"));
    detection_->setGeometry(Dlu(24, 13, 44, 12));
    detection_->SetItems({"OFF", "ON"});
    detection_->LoadIndex(row.detection);
    setArea_ = MakeButton(this, "setArea", "Ustaw", Dlu(68, 13, 36, 12));
    ls_ = MakeNumber(this, "ls", kMotionLevelMax, row.ls, Dlu(104, 13, 19, 12));
    ss_ = MakeNumber(this, "ss", kMotionLevelMax, row.ss, Dlu(123, 13, 19, 12));
    ts_ = MakeNumber(this, "ts", kMotionLevelMax, row.ts, Dlu(142, 13, 19, 12));
    re_ = MakeNumber(this, "re", kMotionReMax, row.re, Dlu(161, 13, 19, 12));
    alarmType_ = new IndexedCombo(this);
    alarmType_->setObjectName(QStringLiteral("alarmType"));
    alarmType_->setGeometry(Dlu(180, 13, 33, 12));
    const bool contact = (app.dw_DeviceCapability.load() & kCapabilityContactAlarm) != 0;
    QStringList alarmTypes;
    for (int type = 0; type < 3; ++type)
        alarmTypes << QString::fromLatin1(AlarmTypeText(type, contact).data());
    alarmType_->SetItems(alarmTypes);
    alarmType_->LoadIndex(row.alarmType);

    auto* ok = MakeButton(this, "ok", "OK", Dlu(216, 2, 18, 23));
    ok->setDefault(true);
    selectAll_ = MakeButton(this, "selectAll", "( + )\nWYBÓR\nWSZYST", Dlu(151, 23, 50, 30));
    removeAll_ = MakeButton(this, "removeAll", "( - )\nUSUŃ\nWSZYST", Dlu(169, 23, 50, 30));
    selectAll_->hide();
    removeAll_->hide();

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

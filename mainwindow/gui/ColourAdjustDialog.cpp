#include "mainwindow/gui/ColourAdjustDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSlider>

#include "gui/DeviceCommand.h"
#include "gui/SkinPicture.h"
#include "gui/StringText.h"
#include "gui/TemplateBuilder.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/ColourAdjustDialogTemplate.h"
#include "res/StringTable.h"
#include "session/AppData.h"

namespace mainwindow {

using session::CVtxButton;

const std::array<ColourAdjustDialog::Piece, 9> ColourAdjustDialog::kPieces{{
    {"BMP/TitleLeft.bmp", QRect(QPoint(0, 0), QPoint(9, 31))},
    {"BMP/TitleRight.bmp", QRect(QPoint(294, 0), QPoint(303, 31))},
    {"BMP/BottomLeft.bmp", QRect(QPoint(0, 183), QPoint(9, 195))},
    {"BMP/BottomRight.bmp", QRect(QPoint(294, 183), QPoint(303, 195))},
    {"BMP/TilteBar_ess.bmp", QRect(QPoint(10, 0), QPoint(293, 31))},
    {"BMP/LeftSide_ess.bmp", QRect(QPoint(0, 32), QPoint(9, 182))},
    {"BMP/RightSide_ess.bmp", QRect(QPoint(294, 32), QPoint(303, 182))},
    {"BMP/Bottom_ess.bmp", QRect(QPoint(10, 183), QPoint(293, 195))},
    {"BMP/Player_Logo.bmp", QRect(QPoint(10, 7), QPoint(30, 21))},
}};

namespace {

constexpr int kLogoPiece = 8;
constexpr std::array<int, 3> kRowTops{47, 87, 127};
const QColor kBodyGrey{221, 221, 221};

// The pictures of the skinned buttons: id, pictures (flat, focus and selected), style, tool tip.
struct ButtonRow {
    int id;
    unsigned flatNameId;  // string ids of the picture names; 0: the names below
    unsigned overNameId;
    const char* flat;
    const char* over;
    std::uint16_t style;
    const char* tip;
};
const ButtonRow kButtons[] = {
    {ColourAdjustDialog::kDefaultButton, 4212, 4213, nullptr, nullptr, CVtxButton::VTX_PUSH, "Domyślne"},
    {1, 4210, 4211, nullptr, nullptr, CVtxButton::VTX_PUSH, "Zastosuj"},
    {2, 4208, 4209, nullptr, nullptr, CVtxButton::VTX_PUSH, "OK"},
    {ColourAdjustDialog::kCloseButton, 0, 0, "BMP/Title_Bar_Close.bmp", "BMP/Title_Bar_Close_a.bmp",
     CVtxButton::VTX_HOVER, "Zamknij"},
};
// The close button is made at run time, in pixels.
const QRect kCloseRect(280, 8, 13, 13);

// The icon buttons beside the rows, with their tool tips by id.
struct IconRow {
    int id;
    QRect rect;
    const char* picture;
};
const IconRow kIcons[] = {
    {8523, QRect(15, 47, 20, 20), "BMP/Dialog_Brightness.bmp"},
    {8524, QRect(15, 87, 20, 20), "BMP/Dialog_Contrast.bmp"},
    {8525, QRect(15, 127, 20, 20), "BMP/Dialog_Hue.bmp"},
};

}  // namespace

ColourAdjustDialog::ColourAdjustDialog(session::AppData& app, platform::Timing timing, ColourValues device,
                                       QWidget* parent)
    : QDialog(parent),
      app_(app),
      timing_(timing),
      server_(CountsColourAroundZero(app.str_ProductID.Get())),
      device_(device),
      shown_(ShownFromDevice(device, server_)) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kWidth, kHeight), 2.5, 2.5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect work = screen->availableGeometry();
        move(work.left() + (work.width() - kWidth) / 2, work.top() + (work.height() - kHeight) / 2);
    }
    LoadPictures();
    CreateControls();
    UpdateControls();
}

void ColourAdjustDialog::LoadPictures() {
    const auto folder = session::ProgramFolderOf(app_);
    for (std::size_t i = 0; i < kPieces.size(); ++i)
        pictures_[i] = session::LoadSkinPicture(folder, kPieces[i].file);
}

void ColourAdjustDialog::CreateControls() {
    const auto folder = session::ProgramFolderOf(app_);
    auto name = [](unsigned id, const char* fixed) {
        return id != 0 ? std::string(res::LoadString(id)) : std::string(fixed);
    };
    const gui::TemplateControls controls =
        gui::BuildTemplate(*this, kColourAdjustDialogTemplate, [](const gui::TemplateControl& control, QWidget& dialog) {
            return control.kind == gui::ControlKind::PushButton ? new CVtxButton(&dialog) : nullptr;
        });
    for (const ButtonRow& row : kButtons) {
        auto* button = row.id == kCloseButton ? new CVtxButton(this) : controls.Get<CVtxButton>(row.id);
        button->setObjectName(QStringLiteral("button%1").arg(row.id));
        if (row.id == kCloseButton)
            button->setGeometry(kCloseRect);
        button->setText(QString::fromUtf8(row.tip));
        button->setToolTip(QString::fromUtf8(row.tip));
        const std::string over = name(row.overNameId, row.over);
        button->LoadButtonBitmap(folder, name(row.flatNameId, row.flat), over, over, row.style);
    }
    connect(Button(1), &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(Button(2), &QAbstractButton::clicked, this, [this] { reject(); });
    connect(Button(kCloseButton), &QAbstractButton::clicked, this, [this] { reject(); });
    connect(Button(kDefaultButton), &QAbstractButton::clicked, this, [this] { OnDefault(); });

    for (const IconRow& row : kIcons) {
        auto* icon = new CVtxButton(this);
        icon->setObjectName(QStringLiteral("button%1").arg(row.id));
        icon->setGeometry(row.rect);
        icon->setToolTip(session::LoadText(static_cast<unsigned>(row.id)));
        icon->setText(icon->toolTip().left(1));
        icon->setFocusPolicy(Qt::NoFocus);
        icon->LoadButtonBitmap(folder, row.picture, CVtxButton::VTX_SINGLE);
    }

    for (std::size_t row = 0; row < sliders_.size(); ++row) {
        auto* slider = controls.Get<QSlider>(kSliderIds[row]);
        slider->setObjectName(QStringLiteral("slider%1").arg(kSliderIds[row]));
        slider->setRange(0, kColourMax);
        slider->setPageStep(10);
        slider->setTickInterval(1);
        // The slider's own new position is the value: a page click moves one page.
        connect(slider, &QSlider::valueChanged, this, [this, row](int value) { OnSliderMoved(row, value); });
        sliders_[row] = slider;

        auto* edit = controls.Get<QLineEdit>(kEditIds[row]);
        edit->setObjectName(QStringLiteral("edit%1").arg(kEditIds[row]));
        connect(edit, &QLineEdit::textEdited, this, [this, row] { OnTextEdited(row); });
        edits_[row] = edit;
    }
}

session::CVtxButton* ColourAdjustDialog::Button(int id) const {
    return findChild<CVtxButton*>(QStringLiteral("button%1").arg(id), Qt::FindDirectChildrenOnly);
}

int& ColourAdjustDialog::ShownValue(std::size_t row) {
    switch (row) {
    case 0: return shown_.brightness;
    case 1: return shown_.contrast;
    case 2: return shown_.hue;
    default: return shown_.spare;
    }
}

void ColourAdjustDialog::UpdateControls() {
    updating_ = true;
    for (std::size_t row = 0; row < sliders_.size(); ++row) {
        const int value = ShownValue(row);
        sliders_[row]->setValue(value);
        if (edits_[row]->text() != QString::number(value))
            edits_[row]->setText(QString::number(value));
    }
    updating_ = false;
}

void ColourAdjustDialog::OnSliderMoved(std::size_t row, int value) {
    if (updating_)
        return;
    ShownValue(row) = std::clamp(value, 0, kColourMax);
    UpdateControls();
}

void ColourAdjustDialog::OnTextEdited(std::size_t row) {
    ShownValue(row) = TypedColour(edits_[row]->text().toStdString(), ShownValue(row));
    UpdateControls();
}

void ColourAdjustDialog::OnDefault() {
    shown_ = DefaultColours(server_);
    UpdateControls();
}

void ColourAdjustDialog::OnOK() {
    if (applying_)
        return;
    device_ = DeviceFromShown(shown_, server_);
    applying_ = true;
    setEnabled(false);
    session::AppData& app = app_;
    const platform::Timing timing = timing_;
    const ColourValues values = device_;
    const bool posted = gui::RunDeviceCommand(
        this, app_.h_DeviceCommandWorker,
        [&app, timing, values](std::stop_token stop) { return SendColour(app, timing, values, stop); },
        [this](int sent) {
            applying_ = false;
            setEnabled(true);
            if (sent != 1)
                ShowMessage(kColourCommandFailedMessage);
            emit applyFinished(sent == 1);
        });
    if (!posted) {
        applying_ = false;
        setEnabled(true);
        ShowMessage(kColourCommandFailedMessage);
        emit applyFinished(false);
    }
}

void ColourAdjustDialog::ShowMessage(unsigned stringId) {
    const QString text = session::LoadText(stringId);
    if (showMessage_)
        showMessage_(text);
    else
        QMessageBox::warning(this, QString(), text);
}

// Enter sends, Esc ends without a request; nothing else of the keyboard ends it.
void ColourAdjustDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnOK();
        event->accept();
        return;
    case Qt::Key_Escape:
        reject();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void ColourAdjustDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (std::size_t i = 0; i < kPieces.size(); ++i) {
        const QRect& rect = kPieces[i].rect;
        if (!pictures_[i].isNull())
            painter.drawPixmap(rect, pictures_[i]);
        else
            painter.fillRect(rect, i == kLogoPiece ? session::kSkinLightBlue : session::kSkinBlue);
    }
    painter.fillRect(QRect(QPoint(10, 32), QPoint(293, 182)), kBodyGrey);
    painter.setPen(Qt::black);
    for (int top : kRowTops) {
        painter.drawText(QRect(50, top, 10, 20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("-"));
        painter.drawText(QRect(215, top, 10, 20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("+"));
    }
}

// Dragged by any point of its body: a press on its own background (or on a
// static text) starts the drag. Presses and moves a control leaves to its
// parent (a slider's track does with its moves) are the control's, not a drag.
void ColourAdjustDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QWidget* under = childAt(event->position().toPoint());
        dragging_ = under == nullptr || qobject_cast<QLabel*>(under) != nullptr;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void ColourAdjustDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
    QDialog::mouseMoveEvent(event);
}

void ColourAdjustDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QDialog::mouseReleaseEvent(event);
}

}  // namespace mainwindow

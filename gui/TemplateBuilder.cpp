#include "gui/TemplateBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeWidget>

#include <algorithm>

#include "gui/CaptionFit.h"
#include "gui/TemplateComboStyle.h"
#include "gui/TemplateGroupBox.h"

namespace gui {

namespace {

Qt::Alignment TextAlignment(unsigned style) {
    if (style & kCentre)
        return Qt::AlignHCenter;
    if (style & kRight)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

QWidget* MakeDefault(const TemplateControl& control, QWidget& parent) {
    const QString text = TemplateText(control.text);
    switch (control.kind) {
    case ControlKind::Static:
        return new QLabel(text, &parent);
    case ControlKind::Edit:
    case ControlKind::IpAddress:
        if (control.style & kMultiline)
            return new QPlainTextEdit(&parent);
        return new QLineEdit(&parent);
    case ControlKind::PushButton:
        return new QPushButton(text, &parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text, &parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, &parent);
    case ControlKind::GroupBox:
        return new TemplateGroupBox(text, &parent);
    case ControlKind::ComboBox:
        return new QComboBox(&parent);
    case ControlKind::ListBox:
        return new QListWidget(&parent);
    case ControlKind::ListView: {
        auto* list = new QTreeWidget(&parent);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        return list;
    }
    case ControlKind::TreeView: {
        auto* tree = new QTreeWidget(&parent);
        tree->setHeaderHidden(true);
        return tree;
    }
    case ControlKind::DateTime:
        if (control.style & kTimeFormat)
            return new QTimeEdit(&parent);
        return new QDateEdit(&parent);
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(&parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Trackbar:
        return new QSlider(Qt::Horizontal, &parent);
    case ControlKind::Frame: {
        auto* frame = new QFrame(&parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    }
    return new QWidget(&parent);
}

// The table's text and style on whatever widget stands for the control.
void ApplyTextAndStyle(QWidget& widget, const TemplateControl& control) {
    const QString text = TemplateText(control.text);
    const unsigned style = control.style;
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
        label->setWordWrap(!(style & kNoWrap));
        label->setAlignment(TextAlignment(style) | Qt::AlignTop);
        if (style & kSunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setAlignment(TextAlignment(style) | Qt::AlignVCenter);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        if (!text.isEmpty())
            button->setText(text);
        if (auto* push = qobject_cast<QPushButton*>(&widget); push && (style & kDefaultButton))
            push->setDefault(true);
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        if (style & kPassword)
            edit->setEchoMode(QLineEdit::Password);
        if (style & kReadOnly)
            edit->setReadOnly(true);
        if ((style & kNumber) && !edit->validator())
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setAlignment(TextAlignment(style) | Qt::AlignVCenter);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&widget)) {
        plain->setReadOnly(style & kReadOnly);
    } else if (auto* list = qobject_cast<QListWidget*>(&widget)) {
        list->setSortingEnabled(style & kSort);
    }
    if (style & kDisabled)
        widget.setEnabled(false);
    if (style & kHidden)
        widget.hide();
}

}  // namespace

QWidget* TemplateControls::Widget(int id) const {
    if (!table_)
        return nullptr;
    for (std::size_t i = 0; i < widgets_.size(); ++i)
        if (table_->controls[i].id == id)
            return widgets_[i];
    return nullptr;
}

std::vector<QWidget*> TemplateControls::All(int id) const {
    std::vector<QWidget*> found;
    if (table_)
        for (std::size_t i = 0; i < widgets_.size(); ++i)
            if (table_->controls[i].id == id)
                found.push_back(widgets_[i]);
    return found;
}

int HeadingWidth(const QTreeView& list, int section) {
    const QHeaderView* header = list.header();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.section = section;
    option.text = header->model()->headerData(section, Qt::Horizontal).toString();
    option.fontMetrics = QFontMetrics(header->font());
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
}

void FitColumnsToHeadings(QTreeView& list) {
    QHeaderView* header = list.header();
    for (int section = 0; section < header->count(); ++section)
        header->resizeSection(section, std::max(header->sectionSize(section), HeadingWidth(list, section)));
}

int ClosedComboHeight(const QWidget& combo, int rectangleHeight) {
    // Closed, a drop-down stands as tall as the platform makes it: its font's height and a frame of four
    // pixels above and below. The style here would make it taller, past rows laid out for that height.
    const int platform = QFontMetrics(combo.font()).height() + 8;
    return std::min({rectangleHeight, combo.sizeHint().height(), platform});
}

DialogBaseUnits TemplateUnits(const DialogTemplate& table) {
    return table.pixels ? kPixelUnits : BaseUnitsOf(StandInFont(table.font));
}

QRect ControlRect(const DialogBaseUnits& units, const DialogTemplate& table, const TemplateControl& control) {
    QRect rect = units.Rect(control.rect);
    const QSize window = units.Size(table.width, table.height);
    if (control.rect.x + control.rect.width == table.width && rect.right() == window.width())
        rect.setRight(window.width() - 1);
    if (control.rect.y + control.rect.height == table.height && rect.bottom() == window.height())
        rect.setBottom(window.height() - 1);
    return rect;
}

QSize TemplateSize(const DialogTemplate& table) { return TemplateUnits(table).Size(table.width, table.height); }

TemplateControls BuildTemplate(QWidget& window, const DialogTemplate& table, const ControlFactory& make) {
    window.setFont(StandInFont(table.font));
    const DialogBaseUnits units = TemplateUnits(table);
    window.setFixedSize(units.Size(table.width, table.height));

    std::vector<QWidget*> widgets;
    widgets.reserve(table.controls.size());
    for (const TemplateControl& control : table.controls) {
        QWidget* widget = make ? make(control, window) : nullptr;
        if (!widget)
            widget = MakeDefault(control, window);
        if (widget->parentWidget() != &window)
            widget->setParent(&window);
        ApplyTextAndStyle(*widget, control);
        if (qobject_cast<QComboBox*>(widget))
            widget->setStyle(&TemplateComboStyle::Shared());
        QRect rect = ControlRect(units, table, control);
        if (control.kind == ControlKind::ComboBox)
            rect.setHeight(ClosedComboHeight(*widget, rect.height()));
        widget->setGeometry(rect);
        FitText(*widget);
        widget->setProperty(kTemplateIdProperty, control.id);
        widgets.push_back(widget);
    }
    // Group boxes and frames are drawn under the controls they hold, whatever the table order.
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
        const ControlKind kind = table.controls[std::size_t(widgets.rend() - it - 1)].kind;
        if (kind == ControlKind::GroupBox || kind == ControlKind::Frame)
            (*it)->lower();
    }
    return {&table, units, std::move(widgets)};
}

}  // namespace gui

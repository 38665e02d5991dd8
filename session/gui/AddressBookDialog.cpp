#include "session/gui/AddressBookDialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/StringText.h"

namespace session {

namespace {

constexpr int kVisibleRows = 10;      // the shared scroll bar is needed from 11 entries on
constexpr int kPageRows = 5;          // a page of the scroll bar moves the selection by 5
constexpr int kMaxUserLength = 15;

struct Column {
    const char* label;
    const char* listName;
    const char* editName;
    int width;
};
// user, address, port, comment
constexpr Column kColumns[4] = {
    {"Użytk", "userList", "userEdit", 120},
    {"Adres IP", "addressList", "addressEdit", 200},
    {"Port", "portList", "portEdit", 60},
    {"Komentarz", "commentList", "commentEdit", 180},
};

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

}  // namespace

CAddressBookDialog::CAddressBookDialog(std::filesystem::path file, QWidget* parent)
    : QDialog(parent), m_file(std::move(file)) {
    setWindowTitle("IP Address Book");

    auto* grid = new QGridLayout;
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(new QLabel(QString::fromUtf8(kColumns[c].label), this), 0, c);

        auto* list = new QListWidget(this);
        list->setObjectName(kColumns[c].listName);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // The four lists scroll only through the shared scroll bar.
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFixedWidth(kColumns[c].width);
        list->addItem("0");  // measures a row
        list->setFixedHeight(list->sizeHintForRow(0) * kVisibleRows + 2 * list->frameWidth());
        list->clear();
        connect(list, &QListWidget::currentRowChanged, this, &CAddressBookDialog::OnSelchange);
        list->viewport()->installEventFilter(this);
        grid->addWidget(list, 1, c);
        m_lists[c] = list;

        auto* edit = new QLineEdit(this);
        edit->setObjectName(kColumns[c].editName);
        edit->setFixedWidth(kColumns[c].width);
        grid->addWidget(edit, 2, c);
        m_edits[c] = edit;
    }
    // Tab walks the fields from left to right, not down each column's list.
    for (std::size_t c = 1; c < m_edits.size(); ++c)
        setTabOrder(m_edits[c - 1], m_edits[c]);
    m_edits[0]->setMaxLength(kMaxUserLength);
    m_edits[2]->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_edits[2]));
    m_edits[2]->setText("0");

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName("scrollBar");
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(kPageRows);
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &CAddressBookDialog::OnVScroll);
    grid->addWidget(m_scrollBar, 1, 4);

    auto button = [this](const char* text, const char* name, auto slot) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_okButton = button("OK", "okButton", &CAddressBookDialog::OnOkButton);
    m_okButton->setFixedWidth(m_okButton->fontMetrics().horizontalAdvance("OK") + 16);
    grid->addWidget(m_okButton, 2, 4);

    m_addButton = button("DODAJ", "addButton", &CAddressBookDialog::OnAdd);
    m_deleteButton = button("USUŃ", "deleteButton", &CAddressBookDialog::OnDelete);
    m_editButton = button("EDYCJA", "editButton", &CAddressBookDialog::OnEditButton);
    m_selectButton = button("WYBIERZ", "selectButton", &CAddressBookDialog::OnSelect);
    m_cancelButton = button("ANULUJ", "cancelButton", [this] { done(kCancelled); });

    auto* buttons = new QHBoxLayout;
    for (auto* b : {m_addButton, m_deleteButton, m_editButton, m_selectButton, m_cancelButton})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_scrollBar->setEnabled(false);
    ShowEditRow(false);
}

bool CAddressBookDialog::Open() {
    if (m_opened)
        return true;
    const auto loaded = m_book.Load(m_file);
    if (!loaded) {
        ShowMessageText(QString::fromStdString(loaded.error));
        return false;
    }
    for (std::size_t i = 0; i < m_book.Count(); ++i)
        SetRow(static_cast<int>(i), m_book.Entries()[i], true);
    const int count = static_cast<int>(m_book.Count());
    if (count > 0) {
        UpdateScrollBar(count - 1);
        SelectRow(count - 1);
    }
    m_opened = true;
    return true;
}

int CAddressBookDialog::exec() {
    if (!Open())
        return kUnusable;
    return QDialog::exec();
}

void CAddressBookDialog::done(int result) {
    // The whole book goes back however the dialog ends; an unreadable file is
    // left alone.
    if (m_opened && !m_saved) {
        m_saved = true;
        const auto saved = m_book.Save(m_file);
        if (!saved)
            ShowMessageText(QString::fromStdString(saved.error));
    }
    QDialog::done(result);
}

void CAddressBookDialog::reject() {
    done(kClosed);
}

// The wheel over a list goes to the shared scroll bar, so no list scrolls alone.
bool CAddressBookDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(m_scrollBar, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CAddressBookDialog::ShowMessageText(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void CAddressBookDialog::ShowMessage(unsigned id) {
    ShowMessageText(LoadText(id));
}

void CAddressBookDialog::ShowEditRow(bool show) {
    for (auto* e : m_edits)
        e->setVisible(show);
    m_okButton->setVisible(show);
    for (auto* b : {m_addButton, m_deleteButton, m_editButton, m_selectButton, m_cancelButton})
        b->setVisible(!show);
    // Enter commits the entry being typed instead of closing the dialog.
    m_okButton->setDefault(show);
    m_cancelButton->setDefault(!show);
    if (show)
        m_edits[0]->setFocus();
}

void CAddressBookDialog::SetRow(int row, const IPRecord& entry, bool insert) {
    const QString texts[4] = {Q(entry.user), Q(entry.address), QString::number(entry.webPort), Q(entry.comment)};
    for (int c = 0; c < 4; ++c) {
        if (insert)
            m_lists[c]->insertItem(row, texts[c]);
        else
            m_lists[c]->item(row)->setText(texts[c]);
    }
}

void CAddressBookDialog::SelectRow(int row) {
    for (auto* list : m_lists) {
        if (list->currentRow() != row)
            list->setCurrentRow(row);
        else if (auto* item = list->item(row))
            item->setSelected(true);
    }
    m_nSelected = row;
}

void CAddressBookDialog::UpdateScrollBar(int position) {
    const int count = static_cast<int>(m_book.Count());
    m_scrollBar->setRange(0, std::max(0, count - 1));
    m_scrollBar->setValue(std::max(0, position));
    m_scrollBar->setEnabled(count > kVisibleRows);
}

int CAddressBookDialog::SelectedRow() const {
    const int row = m_lists[0]->currentRow();
    return row >= 0 && row < static_cast<int>(m_book.Count()) && m_lists[0]->item(row)->isSelected() ? row : -1;
}

AddressFields CAddressBookDialog::ReadFields() const {
    return {S(m_edits[0]->text()), S(m_edits[1]->text()), S(m_edits[2]->text()), S(m_edits[3]->text())};
}

void CAddressBookDialog::OnAdd() {
    // The edits keep what they last held.
    m_wEditMode = EditMode::Adding;
    m_edits[0]->setMaxLength(kMaxUserLength);
    ShowEditRow(true);
}

void CAddressBookDialog::OnEditButton() {
    const int row = SelectedRow();
    if (row < 0) {
        ShowMessage(kMsgSelectEntry);
        return;
    }
    m_wEditMode = EditMode::Editing;
    const auto& entry = m_book.Entries()[row];
    // A longer name from an older file is kept, not cut to the typing limit.
    const QString user = Q(entry.user);
    m_edits[0]->setMaxLength(std::max<int>(kMaxUserLength, user.size()));
    m_edits[0]->setText(user);
    m_edits[1]->setText(Q(entry.address));
    m_edits[2]->setText(QString::number(entry.webPort));
    m_edits[3]->setText(Q(entry.comment));
    ShowEditRow(true);
    for (auto* list : m_lists)
        list->setEnabled(false);
}

void CAddressBookDialog::OnOkButton() {
    const EditMode mode = m_wEditMode;
    m_wEditMode = EditMode::None;
    ShowEditRow(false);
    const AddressFields fields = ReadFields();

    if (mode == EditMode::Adding) {
        // A refused entry stays in the edits for the next "DODAJ".
        if (const unsigned refusal = m_book.Add(fields)) {
            ShowMessage(refusal);
            return;
        }
        const int last = static_cast<int>(m_book.Count()) - 1;
        SetRow(last, m_book.Entries()[last], true);
        UpdateScrollBar(last);
        SelectRow(last);
    } else if (mode == EditMode::Editing) {
        const int row = m_lists[0]->currentRow();  // the lists are disabled while editing
        for (auto* list : m_lists)
            list->setEnabled(true);
        const unsigned refusal = m_book.Replace(static_cast<std::size_t>(row), fields);
        if (refusal == 0)
            SetRow(row, m_book.Entries()[row], false);
        SelectRow(row);
        if (refusal)
            ShowMessage(refusal);
    }
}

void CAddressBookDialog::OnDelete() {
    const int row = SelectedRow();
    if (row < 0) {
        ShowMessage(kMsgSelectEntry);
        return;
    }
    m_book.Remove(static_cast<std::size_t>(row));
    for (auto* list : m_lists)
        delete list->takeItem(row);
    const int count = static_cast<int>(m_book.Count());
    if (count > 0) {
        UpdateScrollBar(count - 1);
        SelectRow(count - 1);
    } else {
        m_nSelected = -1;
    }
}

void CAddressBookDialog::OnSelect() {
    m_nSelected = SelectedRow();
    if (m_nSelected < 0) {
        ShowMessage(kMsgChooseSomething);
        return;
    }
    m_chosen = m_book.Entries()[m_nSelected];
    done(kChosen);
}

void CAddressBookDialog::OnSelchange(int row) {
    const int count = static_cast<int>(m_book.Count());
    m_nSelected = row;
    if (row >= 0 && row < count)
        SelectRow(row);
    m_scrollBar->setValue(std::max(0, m_nSelected));
    m_scrollBar->setEnabled(count > kVisibleRows);
}

// The scroll bar moves the selection of all four lists, not just the view.
void CAddressBookDialog::OnVScroll(int action) {
    const int count = static_cast<int>(m_book.Count());
    if (count == 0)
        return;
    int p = m_scrollBar->value();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: p -= 1; break;
    case QAbstractSlider::SliderSingleStepAdd: p += 1; break;
    case QAbstractSlider::SliderPageStepSub: p -= kPageRows; break;
    case QAbstractSlider::SliderPageStepAdd: p += kPageRows; break;
    case QAbstractSlider::SliderMove: p = m_scrollBar->sliderPosition(); break;
    default: break;  // to top / to bottom leave the position
    }
    p = std::clamp(p, 0, count - 1);
    m_scrollBar->setSliderPosition(p);
    SelectRow(p);
}

}  // namespace session

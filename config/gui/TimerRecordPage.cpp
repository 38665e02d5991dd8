#include "config/gui/TimerRecordPage.h"

#include <QSignalBlocker>
#include <QTimeEdit>

#include "config/ConfigWorkingSet.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/TimerRecordPageTemplate.h"

namespace config {

namespace {

const QStringList kDays{"OFF", "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "MON-FRI", "SAT-SUN", "DAILY"};

// Row r's controls: day list 1195 + r, start and end pickers 1479 + 2r and 1480 + 2r.
constexpr int kFirstDayList = 1195;
constexpr int kFirstStartPicker = 1479;

QTimeEdit* Picker(const gui::TemplateControls& controls, int id, const QString& name) {
    auto* picker = controls.Get<QTimeEdit>(id);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH : mm"));
    picker->setAlignment(Qt::AlignRight);
    return picker;
}

// A stored time the picker can show (hour x 256 + minute).
void LoadTime(QTimeEdit* picker, std::uint16_t stored) {
    const QSignalBlocker block(picker);
    const QTime time(stored >> 8, stored & 0xFF);
    picker->setTime(time.isValid() ? time : QTime(0, 0));
}

std::uint16_t Stored(const QTimeEdit* picker) {
    return static_cast<std::uint16_t>(picker->time().hour() * 256 + picker->time().minute());
}

}  // namespace

TimerRecordPage::TimerRecordPage(ConfigWorkingSet& set, QWidget* parent)
    : ConfigPage(gui::TemplateText(kTimerRecordPageTemplate.caption), set, parent) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kTimerRecordPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            return control.kind == gui::ControlKind::ComboBox ? new IndexedCombo(&page) : nullptr;
        });
    for (int r = 0; r < kTimerRows; ++r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        const QString suffix = QString::number(r + 1);
        row.day = controls.Get<IndexedCombo>(kFirstDayList + r);
        row.day->setObjectName("day" + suffix);
        row.day->SetItems(kDays);
        row.start = Picker(controls, kFirstStartPicker + 2 * r, "start" + suffix);
        row.end = Picker(controls, kFirstStartPicker + 2 * r + 1, "end" + suffix);
        connect(row.start, &QTimeEdit::timeChanged, this, [&row] { row.startEdited = true; });
        connect(row.end, &QTimeEdit::timeChanged, this, [&row] { row.endEdited = true; });
    }
}

void TimerRecordPage::Fill() {
    const DeviceFacts& facts = WorkingSet().Facts();
    if (!facts.IsDvr() || !facts.FirmwareAtLeast("1058")) {
        SetPageEnabled(false);
        return;
    }
    const auto stored = LoadTimerRows(WorkingSet());
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        rows_[r].day->LoadIndex(stored[r].day);
        LoadTime(rows_[r].start, stored[r].start);
        LoadTime(rows_[r].end, stored[r].end);
    }
}

TimerEdits TimerRecordPage::Edits() const {
    TimerEdits edits;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        if (row.day->Changed())
            edits[r].day = row.day->Index();
        if (row.startEdited)
            edits[r].start = Stored(row.start);
        if (row.endEdited)
            edits[r].end = Stored(row.end);
    }
    return edits;
}

void TimerRecordPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::TimerRecord)] = [edits = Edits()](ApplyContext& apply) {
        return SendTimerRecord(edits, apply.Set(), [&apply](std::uint8_t option) { return apply.Store(option); });
    };
}

}  // namespace config

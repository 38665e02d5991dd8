#pragma once
// The DVR's seven timer-recording rows ("Terminarze  "): a day list and a
// start and end time each. Live from firmware "1058"; on older firmware the
// rows stay disabled and unfilled and Apply sends nothing for them. A day
// code the list lacks, or a time the pickers cannot show, stays as stored
// unless the person picks another.

#include <array>

#include "config/gui/ConfigPage.h"
#include "config/pages/TimerRows.h"

class QTimeEdit;

namespace config {

class IndexedCombo;

class TimerRecordPage : public ConfigPage {
    Q_OBJECT
public:
    explicit TimerRecordPage(ConfigWorkingSet& set, QWidget* parent = nullptr);

    // The person's changes, row by row.
    TimerEdits Edits() const;
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    void Fill() override;

private:
    struct Row {
        IndexedCombo* day = nullptr;
        QTimeEdit* start = nullptr;
        QTimeEdit* end = nullptr;
        bool startEdited = false, endEdited = false;
    };
    std::array<Row, kTimerRows> rows_;
};

}  // namespace config

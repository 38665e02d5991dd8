#pragma once
// The DVR's clock, date order and daylight-saving rule ("Data"), read with
// "/GetDvrDate.cgi". Apply sends "/SetDvrDate.cgi" only when a group changed,
// with the device's own value for anything the person left alone.

#include <optional>

#include "config/dvr/DvrDateSettings.h"
#include "config/gui/DvrSettingsPage.h"

class QDateEdit;
class QTimeEdit;
class QRadioButton;

namespace config {

class IndexedCombo;
class RadioGroup;

class DVRDatePage : public DvrSettingsPage {
    Q_OBJECT
public:
    DVRDatePage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing = {},
                QWidget* parent = nullptr);

    // None unless the page is live and a group changed.
    std::optional<session::CgiRequest> ApplyRequest() const override;

    // The date picker's display format for a date order (0-2; others the first).
    static QString DateFormatFor(int format);

protected:
    void Show(const std::vector<std::uint16_t>& values) override;

private:
    DvrDateChoice Choice() const;

    DVRDatePageState device_;
    QDateEdit* date_;
    QTimeEdit* time_;
    IndexedCombo* format_;
    QRadioButton* on_;
    QRadioButton* off_;
    RadioGroup* daylight_;
    IndexedCombo* startWeek_;
    IndexedCombo* startDay_;
    IndexedCombo* startMonth_;
    QTimeEdit* start_;
    IndexedCombo* endWeek_;
    IndexedCombo* endDay_;
    IndexedCombo* endMonth_;
    QTimeEdit* end_;
    QTimeEdit* adjust_;
    // Pickers the person changed; the others keep the device's values.
    bool dateEdited_ = false, timeEdited_ = false, startEdited_ = false, endEdited_ = false,
         adjustEdited_ = false;
};

}  // namespace config

#pragma once
// How a DVR records ("Ust.Nagrywan. "), read with "/GetRecordSetting.cgi":
// manual, alarm and schedule recording with a rate each, overwriting, the
// recording mode, the quality and the fixed/grouped rate. The rate lists
// follow the channel count, the video standard and the mode. Apply sends
// "/SetRecordSetting.cgi" every time the page is live.

#include <optional>

#include "config/dvr/DvrRecordSettings.h"
#include "config/gui/DvrSettingsPage.h"

class QRadioButton;

namespace config {

class IndexedCombo;
class RadioGroup;

class DVRRecordPage : public DvrSettingsPage {
    Q_OBJECT
public:
    DVRRecordPage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing = {},
                  QWidget* parent = nullptr);

    // None unless the page is live.
    std::optional<session::CgiRequest> ApplyRequest() const override;

protected:
    void Show(const std::vector<std::uint16_t>& values) override;

private:
    // A mode the person clicked.
    void OnMode(int mode);
    // The three rate lists for the mode, at their first item (empty and disabled without rates).
    void RebuildRates(int mode);
    DvrRecordChoice Choice() const;

    DVRRecordPageState device_;
    int mode_ = -1;  // the mode the rate lists are built for
    bool ratesRebuilt_ = false;
    RadioGroup* manual_;
    RadioGroup* event_;
    RadioGroup* timer_;
    RadioGroup* overwrite_;
    RadioGroup* modes_;
    RadioGroup* fix_;
    QRadioButton* frame_;
    QRadioButton* field_;
    QRadioButton* cif_;
    QRadioButton* fixed_;
    QRadioButton* grouped_;
    IndexedCombo* manualRate_;
    IndexedCombo* eventRate_;
    IndexedCombo* timerRate_;
    IndexedCombo* quality_;
};

}  // namespace config

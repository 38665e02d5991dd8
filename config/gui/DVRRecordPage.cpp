#include "config/gui/DVRRecordPage.h"

#include <QRadioButton>

#include "config/ConfigWorkingSet.h"
#include "config/dvr/RecordRateTable.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/DvrRecordPageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrRecordKey;

constexpr int kFrameBit = 1, kFieldBit = 2, kCifBit = 4;
constexpr int kIpsShareOffered = 3;

// The group's choice when the person changed it, else none.
std::optional<int> Chosen(const RadioGroup* group) { return group->Changed() ? group->Value() : std::nullopt; }

}  // namespace

DVRRecordPage::DVRRecordPage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing, QWidget* parent)
    : DvrSettingsPage(gui::TemplateText(kDvrRecordPageTemplate.caption), app, set, timing,
                      session::CMD_GET_RECORD_SETTING, kDvrRecordKeys, ApplyRoutine::DvrRecordSetting, parent) {
    const gui::TemplateControls controls = BuildFromTemplate(
        kDvrRecordPageTemplate,
        [](const gui::TemplateControl& control, QWidget& holder) -> QWidget* {
            return control.kind == gui::ControlKind::ComboBox ? new IndexedCombo(&holder) : nullptr;
        },
        Controls());
    const auto list = [&](int id, const char* name) { return Named<IndexedCombo>(controls, id, name); };
    const auto radio = [&](int id, const char* name) { return Named<QRadioButton>(controls, id, name); };
    manualRate_ = list(1195, "manualRate");
    eventRate_ = list(1198, "eventRate");
    timerRate_ = list(1197, "timerRate");
    quality_ = list(1494, "quality");
    quality_->SetItems({"BEST", "HIGH", "NORMAL", "BASIC"},
                       {kRecordQualityCodes.begin(), kRecordQualityCodes.end()});

    const auto pair = [&](int yes, int no, const char* on, const char* off) {
        auto* group = new RadioGroup(this);
        group->Add(radio(yes, on), 1);
        group->Add(radio(no, off), 0);
        return group;
    };
    manual_ = pair(1483, 1484, "manualOn", "manualOff");
    event_ = pair(1485, 1486, "eventOn", "eventOff");
    timer_ = pair(1487, 1488, "timerOn", "timerOff");
    overwrite_ = pair(1489, 1490, "overwriteOn", "overwriteOff");
    fix_ = pair(1496, 1497, "fixed", "grouped");
    fixed_ = controls.Get<QRadioButton>(1496);
    grouped_ = controls.Get<QRadioButton>(1497);

    modes_ = new RadioGroup(this);
    frame_ = radio(1491, "frame");
    field_ = radio(1492, "field");
    cif_ = radio(1493, "cif");
    int mode = 0;
    for (QRadioButton* button : {frame_, field_, cif_}) {
        modes_->Add(button, mode);
        connect(button, &QRadioButton::clicked, this, [this, mode] { OnMode(mode); });
        ++mode;
    }
}

void DVRRecordPage::Show(const std::vector<std::uint16_t>& values) {
    device_ = DVRRecordPageState::From(values);
    manual_->Load(device_[K::Manual] != 0);
    event_->Load(device_[K::Event] != 0);
    timer_->Load(device_[K::Timer] != 0);
    overwrite_->Load(device_[K::Overwrite] != 0);
    mode_ = device_[K::RecMode];
    const auto rates = RecordRates(WorkingSet().Facts().ChannelCount(), device_[K::VideoType], mode_);
    const std::pair<IndexedCombo*, K> lists[] = {
        {manualRate_, K::ManualRateType}, {eventRate_, K::MotionRateType}, {timerRate_, K::TimerRateType}};
    for (auto [list, key] : lists) {
        QStringList texts;
        if (rates)
            for (std::uint16_t rate : *rates)
                texts << QString::number(rate);
        list->SetItems(texts);
        list->LoadIndex(device_[key]);
        list->setEnabled(rates.has_value());
    }
    const int supported = device_[K::SupportMode];
    frame_->setVisible((supported & kFrameBit) != 0);
    field_->setVisible((supported & kFieldBit) != 0);
    cif_->setVisible((supported & kCifBit) != 0);
    modes_->Load(mode_);
    const bool fixOffered = device_[K::SupportIpsShare] == kIpsShareOffered;
    fixed_->setEnabled(fixOffered);
    grouped_->setEnabled(fixOffered);
    quality_->LoadCode(device_[K::Quality]);
    fix_->Load(device_[K::RecordFix] != 0);
}

void DVRRecordPage::RebuildRates(int mode) {
    const auto rates = RecordRates(WorkingSet().Facts().ChannelCount(), device_[K::VideoType], mode);
    QStringList texts;
    if (rates)
        for (std::uint16_t rate : *rates)
            texts << QString::number(rate);
    for (IndexedCombo* list : {manualRate_, eventRate_, timerRate_}) {
        list->SetItems(texts);
        list->setCurrentIndex(rates ? 0 : -1);
        list->setEnabled(rates.has_value());
    }
    ratesRebuilt_ = true;
}

void DVRRecordPage::OnMode(int mode) {
    if (mode != mode_) {
        mode_ = mode;
        RebuildRates(mode);
    }
    const bool fixOffered = device_[K::SupportIpsShare] == kIpsShareOffered;
    if (mode == 0) {
        fixed_->setEnabled(fixOffered);
        grouped_->setEnabled(fixOffered);
    } else if (mode == 2) {
        fixed_->setChecked(true);
        fixed_->setEnabled(false);
        grouped_->setEnabled(false);
    }
}

DvrRecordChoice DVRRecordPage::Choice() const {
    DvrRecordChoice choice;
    choice.manual = Chosen(manual_);
    choice.event = Chosen(event_);
    choice.timer = Chosen(timer_);
    choice.overwrite = Chosen(overwrite_);
    choice.recordMode = Chosen(modes_);
    choice.recordFix = Chosen(fix_);
    if (quality_->Changed())
        choice.quality = static_cast<int>(*quality_->Code());
    const std::pair<IndexedCombo*, std::optional<int>*> rates[] = {
        {manualRate_, &choice.manualRate}, {eventRate_, &choice.motionRate}, {timerRate_, &choice.timerRate}};
    for (auto [list, value] : rates)
        if ((ratesRebuilt_ || list->Changed()) && list->Index() >= 0)
            *value = list->Index();
    return choice;
}

std::optional<session::CgiRequest> DVRRecordPage::ApplyRequest() const {
    if (!Live())
        return std::nullopt;
    return DvrRecordRequest(device_, Choice(), App().SessionCookie.Get(),
                            Given(static_cast<std::size_t>(K::RecordFix)));
}

}  // namespace config

#include "config/gui/AlarmPropertyPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/AlarmPageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"

namespace config {

namespace {

// The video-source radios: kan1 of input k is 1478 + 2(k - 1), kan2 the id after it.
constexpr int kFirstSourceRadio = 1478;
constexpr int kSourceStatics[] = {1476, 1477};

}  // namespace

AlarmPropertyPage::AlarmPropertyPage(ConfigWorkingSet& set, session::AppData& app, std::uint8_t alarmTriggerRecord,
                                     QWidget* parent)
    : ConfigPage(gui::TemplateText(kAlarmPageTemplate.caption), set, parent),
      app_(app),
      alarmRecording_(alarmTriggerRecord),
      switchToVideo_(app.CSettingINI.m_byAlarmAutoSwitchVideo.load()) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kAlarmPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            return control.kind == gui::ControlKind::ComboBox ? new IndexedCombo(&page) : nullptr;
        });
    // Radios whose checks always follow the page's values.
    const auto radio = [&](int id, const char* name) {
        auto* button = controls.Named<QRadioButton>(id, name);
        button->setAutoExclusive(false);
        return button;
    };
    inputOn_ = radio(1292, "inputOn");
    inputOff_ = radio(1293, "inputOff");
    email_ = controls.Named<QCheckBox>(1318, "email");
    ftp_ = controls.Named<QCheckBox>(1319, "ftp");
    pictures_ = controls.Named<IndexedCombo>(1296, "pictures");
    QStringList counts;
    for (int n = 1; n <= kPostAlarmPictureItems; ++n)
        counts << QString::number(n);
    pictures_->SetItems(counts);
    time_ = controls.Named<IndexedCombo>(1294, "time");
    switchVideo_ = controls.Named<QCheckBox>(1461, "switchVideo");
    sourceGroup_ = controls.Named<QGroupBox>(1355, "sourceGroup");
    sourceSection_ << sourceGroup_;
    for (const int id : kSourceStatics)
        sourceSection_ << controls.Widget(id);
    for (int channel = 0; channel < 2; ++channel) {
        for (int input = 0; input < 4; ++input) {
            const std::string name = "source" + std::to_string(channel + 1) + std::to_string(input + 1);
            QRadioButton* button = radio(kFirstSourceRadio + 2 * input + channel, name.c_str());
            sources_[channel][input] = button;
            sourceSection_ << button;
            connect(button, &QRadioButton::clicked, this, [this, channel, input] {
                values_.videoSource = SetVideoSource(values_.videoSource, input + 1, channel + 1);
                ShowValues();
            });
        }
    }
    clearAlarm_ = controls.Named<QPushButton>(1068, "clearAlarm");
    recordingLabel_ = controls.Get<QLabel>(1440);
    recordingOn_ = radio(1441, "recordingOn");
    recordingOff_ = radio(1442, "recordingOff");

    connect(inputOn_, &QRadioButton::clicked, this, [this] { SetReaction(1); });
    connect(inputOff_, &QRadioButton::clicked, this, [this] { SetReaction(0); });
    connect(email_, &QCheckBox::clicked, this, [this] { SetReaction(ToggleEmail(values_.reaction)); });
    connect(ftp_, &QCheckBox::clicked, this, [this] { SetReaction(ToggleFtp(values_.reaction)); });
    connect(recordingOn_, &QRadioButton::clicked, this, [this] {
        alarmRecording_ = 1;
        ShowValues();
    });
    connect(recordingOff_, &QRadioButton::clicked, this, [this] {
        alarmRecording_ = 0;
        ShowValues();
    });
    connect(switchVideo_, &QCheckBox::clicked, this, [this] {
        switchToVideo_ = switchToVideo_ ? 0 : 1;
        ShowValues();
    });
    connect(clearAlarm_, &QPushButton::clicked, this, [this] { app_.CRTPHeader.ClearAlarmData(); });
}

void AlarmPropertyPage::Fill() {
    const DeviceFacts& facts = WorkingSet().Facts();
    const LoadedAlarmValues loaded = LoadAlarmValues(WorkingSet());
    values_ = loaded.values;
    QStringList times;
    for (std::string_view text : AlarmTimeTexts(facts))
        times << QString::fromLatin1(text.data(), qsizetype(text.size()));
    time_->SetItems(times);
    time_->LoadIndex(loaded.timeIndex);
    pictures_->LoadIndex(loaded.pictureIndex);

    const bool recordingShown = facts.IsVideoServer() || facts.IsN5H();
    for (QWidget* w : {static_cast<QWidget*>(recordingLabel_), static_cast<QWidget*>(recordingOn_),
                       static_cast<QWidget*>(recordingOff_)})
        w->setVisible(recordingShown);
    for (QWidget* w : sourceSection_)
        w->setVisible(facts.IsVideoServer());
    switchVideo_->setVisible(facts.IsDvr() && facts.multiChannel != 0);
    ShowValues();
}

void AlarmPropertyPage::SetReaction(std::uint8_t reaction) {
    values_.reaction = reaction;
    ShowValues();
}

void AlarmPropertyPage::ShowValues() {
    const std::uint8_t reaction = values_.reaction;
    inputOn_->setChecked(reaction != 0);
    inputOff_->setChecked(reaction == 0);
    email_->setChecked(reaction == 1 || reaction == 3);
    ftp_->setChecked(reaction == 2 || reaction == 3);
    email_->setEnabled(reaction != 0);
    ftp_->setEnabled(reaction != 0);
    for (int input = 1; input <= 4; ++input) {
        const bool second = InputOnChannel2(values_.videoSource, input);
        sources_[0][input - 1]->setChecked(!second);
        sources_[1][input - 1]->setChecked(second);
    }
    recordingOn_->setChecked(alarmRecording_ != 0);
    recordingOff_->setChecked(alarmRecording_ == 0);
    switchVideo_->setChecked(switchToVideo_ != 0);
}

void AlarmPropertyPage::Pull() {
    values_.pictureIndex = pictures_->WasPicked() ? std::optional<int>(pictures_->Index()) : std::nullopt;
    values_.timeIndex = time_->WasPicked() ? std::optional<int>(time_->Index()) : std::nullopt;
}

void AlarmPropertyPage::ContributeSettings(SheetPageValues& values) const {
    values.alarmTriggerRecord = alarmRecording_;
    values.alarmAutoSwitchVideo = switchToVideo_;
}

void AlarmPropertyPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::Alarm)] = [values = values_](ApplyContext& apply) {
        return SendAlarmConfig(apply.Set(), values,
                               [&apply](std::uint8_t option) { return apply.StoreOrReport(option); });
    };
}

}  // namespace config

#include "config/gui/AlarmPropertyPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigWorkingSet.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"

namespace config {

namespace {

// Radios whose checks always follow the page's values.
QRadioButton* MakeRadio(const QString& text, const char* name, QWidget* parent) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setAutoExclusive(false);
    return radio;
}

QCheckBox* MakeCheck(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

AlarmPropertyPage::AlarmPropertyPage(ConfigWorkingSet& set, session::AppData& app, std::uint8_t alarmTriggerRecord,
                                     QWidget* parent)
    : ConfigPage(QStringLiteral("Alarm"), set, parent),
      app_(app),
      alarmRecording_(alarmTriggerRecord),
      switchToVideo_(app.CSettingINI.m_byAlarmAutoSwitchVideo.load()) {
    inputOn_ = MakeRadio(QString::fromUtf8("Załączone"), "inputOn", this);
    inputOff_ = MakeRadio(QString::fromUtf8("Wyłączone"), "inputOff", this);
    email_ = MakeCheck(QStringLiteral("Email"), "email", this);
    ftp_ = MakeCheck(QStringLiteral("FTP"), "ftp", this);
    pictures_ = new IndexedCombo(this);
    pictures_->setObjectName(QStringLiteral("pictures"));
    QStringList counts;
    for (int n = 1; n <= kPostAlarmPictureItems; ++n)
        counts << QString::number(n);
    pictures_->SetItems(counts);
    time_ = new IndexedCombo(this);
    time_->setObjectName(QStringLiteral("time"));
    switchVideo_ = MakeCheck(QString::fromUtf8("Przełączanie na tryb video"), "switchVideo", this);
    sourceGroup_ = new QGroupBox(QString::fromUtf8("Definiowanie żródła Video"), this);
    sourceGroup_->setObjectName(QStringLiteral("sourceGroup"));
    auto* sourceGrid = new QGridLayout(sourceGroup_);
    const char* inputs[] = {"1", "2", "3", "4 (Alarm)"};
    for (int channel = 0; channel < 2; ++channel) {
        sourceGrid->addWidget(new QLabel(QString::fromUtf8("Źródło kan%1:").arg(channel + 1), sourceGroup_), channel,
                              0);
        for (int input = 0; input < 4; ++input) {
            const std::string name = "source" + std::to_string(channel + 1) + std::to_string(input + 1);
            QRadioButton* radio = MakeRadio(QString::fromLatin1(inputs[input]), name.c_str(), sourceGroup_);
            sources_[channel][input] = radio;
            sourceGrid->addWidget(radio, channel, input + 1);
            connect(radio, &QRadioButton::clicked, this, [this, channel, input] {
                values_.videoSource = SetVideoSource(values_.videoSource, input + 1, channel + 1);
                ShowValues();
            });
        }
    }
    clearAlarm_ = new QPushButton(QString::fromUtf8("Alarm\nOdśwież"), this);
    clearAlarm_->setObjectName(QStringLiteral("clearAlarm"));
    recordingLabel_ = new QLabel(QStringLiteral("Nagrywanie alarm.:"), this);
    recordingOn_ = MakeRadio(QString::fromUtf8("ZAŁ"), "recordingOn", this);
    recordingOff_ = MakeRadio(QString::fromUtf8("WYŁ"), "recordingOff", this);

    auto* grid = new QGridLayout;
    const auto row = [&](int r, const char* label, std::initializer_list<QWidget*> widgets) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), r, 0);
        auto* line = new QHBoxLayout;
        for (QWidget* w : widgets)
            line->addWidget(w);
        line->addStretch();
        grid->addLayout(line, r, 1);
    };
    row(0, "Wejście alarmowe : ", {inputOn_, inputOff_});
    row(1, "Typ reakcji : ", {email_, ftp_});
    row(2, "Po alarmie : ", {pictures_, new QLabel(QString::fromUtf8("Zdjęć"), this)});
    row(3, "Czas alarmu : ", {time_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(switchVideo_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(sourceGroup_);
    bottom->addStretch();
    bottom->addWidget(clearAlarm_, 0, Qt::AlignBottom);
    layout->addLayout(bottom);
    auto* recording = new QHBoxLayout;
    recording->addWidget(recordingLabel_);
    recording->addWidget(recordingOn_);
    recording->addWidget(recordingOff_);
    recording->addStretch();
    layout->addLayout(recording);
    layout->addStretch();

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
    sourceGroup_->setVisible(facts.IsVideoServer());
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

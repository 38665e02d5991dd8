#include "config/gui/DVRRecordPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigWorkingSet.h"
#include "config/dvr/RecordRateTable.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrRecordKey;

constexpr int kFrameBit = 1, kFieldBit = 2, kCifBit = 4;
constexpr int kIpsShareOffered = 3;

QRadioButton* MakeRadio(QWidget* parent, const QString& text, const QString& name) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

IndexedCombo* MakeList(QWidget* parent, const char* name) {
    auto* list = new IndexedCombo(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

// The group's choice when the person changed it, else none.
std::optional<int> Chosen(const RadioGroup* group) { return group->Changed() ? group->Value() : std::nullopt; }

}  // namespace

DVRRecordPage::DVRRecordPage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing, QWidget* parent)
    : DvrSettingsPage(QStringLiteral("Ust.Nagrywan. "), app, set, timing, session::CMD_GET_RECORD_SETTING,
                      kDvrRecordKeys, ApplyRoutine::DvrRecordSetting, parent) {
    QWidget* controls = Controls();
    manualRate_ = MakeList(controls, "manualRate");
    eventRate_ = MakeList(controls, "eventRate");
    timerRate_ = MakeList(controls, "timerRate");
    quality_ = MakeList(controls, "quality");
    quality_->SetItems({"BEST", "HIGH", "NORMAL", "BASIC"},
                       {kRecordQualityCodes.begin(), kRecordQualityCodes.end()});

    auto* grid = new QGridLayout(controls);
    const std::tuple<const char*, const char*, RadioGroup**, IndexedCombo*, const char*> recordings[] = {
        {"NAGRYWANIE RĘCZNE", "manual", &manual_, manualRate_, "KL/SEK :"},
        {"NAGRYWANIE ALARMOWE", "event", &event_, eventRate_, "KL/SEK :"},
        {"NAGRYWANIE Z TERMINARZA", "timer", &timer_, timerRate_, "KL/SEK:"},
    };
    int row = 0;
    for (auto [title, name, group, rate, rateLabel] : recordings) {
        auto* box = new QGroupBox(QString::fromUtf8(title), controls);
        auto* line = new QHBoxLayout(box);
        *group = new RadioGroup(this);
        auto* yes = MakeRadio(box, QStringLiteral("TAK"), QString::fromLatin1(name) + "On");
        auto* no = MakeRadio(box, QStringLiteral("NIE"), QString::fromLatin1(name) + "Off");
        (*group)->Add(yes, 1);
        (*group)->Add(no, 0);
        line->addWidget(yes);
        line->addWidget(no);
        line->addWidget(new QLabel(QString::fromLatin1(rateLabel), box));
        rate->setParent(box);
        line->addWidget(rate);
        grid->addWidget(box, row++, 0, 1, 2);
    }

    auto* overwriteBox = new QGroupBox(QStringLiteral("NADPISYWANIE"), controls);
    auto* overwriteLine = new QHBoxLayout(overwriteBox);
    overwrite_ = new RadioGroup(this);
    for (auto [text, name, value] : {std::tuple{"TAK", "overwriteOn", 1}, std::tuple{"NIE", "overwriteOff", 0}}) {
        auto* radio = MakeRadio(overwriteBox, QString::fromLatin1(text), QString::fromLatin1(name));
        overwrite_->Add(radio, value);
        overwriteLine->addWidget(radio);
    }
    grid->addWidget(overwriteBox, row, 0);

    auto* modeBox = new QGroupBox(QStringLiteral("TRYB NAGRYWANIA"), controls);
    auto* modeLine = new QHBoxLayout(modeBox);
    modes_ = new RadioGroup(this);
    frame_ = MakeRadio(modeBox, QStringLiteral("RAMKA"), QStringLiteral("frame"));
    field_ = MakeRadio(modeBox, QStringLiteral("POLE"), QStringLiteral("field"));
    cif_ = MakeRadio(modeBox, QStringLiteral("CIF"), QStringLiteral("cif"));
    int mode = 0;
    for (QRadioButton* radio : {frame_, field_, cif_}) {
        modes_->Add(radio, mode);
        modeLine->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, [this, mode] { OnMode(mode); });
        ++mode;
    }
    grid->addWidget(modeBox, row++, 1);

    auto* qualityBox = new QGroupBox(QStringLiteral("JAKOŚĆ NAGRYWANIA"), controls);
    (new QHBoxLayout(qualityBox))->addWidget(quality_);
    quality_->setParent(qualityBox);
    grid->addWidget(qualityBox, row, 0);
    auto* fixBox = new QGroupBox(QStringLiteral("MAX. ILOŚĆ KL/SEK"), controls);
    auto* fixLine = new QHBoxLayout(fixBox);
    fix_ = new RadioGroup(this);
    fixed_ = MakeRadio(fixBox, QStringLiteral("STAŁA"), QStringLiteral("fixed"));
    grouped_ = MakeRadio(fixBox, QStringLiteral("GRUPOWANA"), QStringLiteral("grouped"));
    fix_->Add(fixed_, 1);
    fix_->Add(grouped_, 0);
    fixLine->addWidget(fixed_);
    fixLine->addWidget(grouped_);
    grid->addWidget(fixBox, row, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls);
    layout->addStretch();
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

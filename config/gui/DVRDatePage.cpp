#include "config/gui/DVRDatePage.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "config/gui/ChoiceBindings.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrDateKey;

const QStringList kWeeks{"1ST", "2ND", "3RD", "4TH", "LAST"};
const QStringList kDays{"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const QStringList kMonths{"JAN", "FEB", "MAR", "APR", "MAY", "JUE", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

IndexedCombo* MakeList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new IndexedCombo(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->SetItems(items);
    return list;
}

HourMinute Of(const QTimeEdit* edit) { return {edit->time().hour(), edit->time().minute()}; }

}  // namespace

DVRDatePage::DVRDatePage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing, QWidget* parent)
    : DvrSettingsPage(QStringLiteral("Data"), app, set, timing, session::CMD_GET_DVR_DATE, kDvrDateKeys,
                      ApplyRoutine::DvrDate, parent) {
    QWidget* controls = Controls();
    date_ = new QDateEdit(controls);
    date_->setObjectName(QStringLiteral("date"));
    date_->setCalendarPopup(true);
    date_->setLocale(QLocale::c());
    date_->setDisplayFormat(DateFormatFor(0));
    time_ = MakeTimeEdit("time", QStringLiteral("HH : mm : ss"));
    format_ = MakeList(controls, "format", {"Y-M-D", "M-D-Y", "D-M-Y"});
    on_ = new QRadioButton(QStringLiteral("ZAŁ"), controls);
    on_->setObjectName(QStringLiteral("daylightOn"));
    off_ = new QRadioButton(QStringLiteral("WYŁ"), controls);
    off_->setObjectName(QStringLiteral("daylightOff"));
    daylight_ = new RadioGroup(this);
    daylight_->Add(on_, 1);
    daylight_->Add(off_, 0);
    startWeek_ = MakeList(controls, "startWeek", kWeeks);
    startDay_ = MakeList(controls, "startDay", kDays);
    startMonth_ = MakeList(controls, "startMonth", kMonths);
    start_ = MakeTimeEdit("start", QStringLiteral("HH : mm"));
    endWeek_ = MakeList(controls, "endWeek", kWeeks);
    endDay_ = MakeList(controls, "endDay", kDays);
    endMonth_ = MakeList(controls, "endMonth", kMonths);
    end_ = MakeTimeEdit("end", QStringLiteral("HH : mm"));
    adjust_ = MakeTimeEdit("adjust", QStringLiteral("HH : mm"));

    const std::pair<QDateTimeEdit*, bool*> pickers[] = {
        {date_, &dateEdited_}, {time_, &timeEdited_}, {start_, &startEdited_},
        {end_, &endEdited_},   {adjust_, &adjustEdited_},
    };
    for (auto [picker, edited] : pickers)
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, [edited = edited] { *edited = true; });
    connect(format_, &IndexedCombo::Picked, this,
            [this] {
                const QSignalBlocker block(date_);
                date_->setDisplayFormat(DateFormatFor(format_->Index()));
            });

    auto* grid = new QGridLayout(controls);
    grid->addWidget(new QLabel(QStringLiteral("DATA"), controls), 0, 0);
    grid->addWidget(date_, 0, 1, 1, 2);
    grid->addWidget(time_, 0, 3, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("FORMAT"), controls), 1, 0);
    grid->addWidget(format_, 1, 1, 1, 2);
    auto* box = new QGroupBox(QStringLiteral("CZAS LETNI"), controls);
    auto* rule = new QGridLayout(box);
    rule->addWidget(on_, 0, 1);
    rule->addWidget(off_, 0, 2);
    rule->addWidget(new QLabel(QStringLiteral("START :"), box), 1, 0);
    rule->addWidget(startWeek_, 1, 1);
    rule->addWidget(startDay_, 1, 2);
    rule->addWidget(startMonth_, 1, 3);
    rule->addWidget(start_, 1, 4);
    rule->addWidget(new QLabel(QStringLiteral("KONIEC :"), box), 2, 0);
    rule->addWidget(endWeek_, 2, 1);
    rule->addWidget(endDay_, 2, 2);
    rule->addWidget(endMonth_, 2, 3);
    rule->addWidget(end_, 2, 4);
    rule->addWidget(new QLabel(QStringLiteral("KOREKCJA :"), box), 3, 0);
    rule->addWidget(adjust_, 3, 1, 1, 2);
    grid->addWidget(box, 2, 0, 1, 5);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls);
    layout->addStretch();
}

QTimeEdit* DVRDatePage::MakeTimeEdit(const char* name, const QString& format) {
    auto* edit = new QTimeEdit(Controls());
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(format);
    return edit;
}

QString DVRDatePage::DateFormatFor(int format) {
    switch (format) {
    case 1: return QStringLiteral("MMM - dd - yyyy");
    case 2: return QStringLiteral("dd - MMM - yyyy");
    default: return QStringLiteral("yyyy - MMM - dd");
    }
}

void DVRDatePage::Show(const std::vector<std::uint16_t>& values) {
    const DVRDatePageState device = DVRDatePageState::From(values);
    device_ = device;
    const QDate date(device[K::Year], device[K::Month], device[K::Day]);
    const QTime time(device[K::Hour], device[K::Minute], device[K::Second]);
    const std::pair<QTimeEdit*, QTime> pickers[] = {
        {time_, time},
        {start_, QTime(device[K::StartHour], device[K::StartMinute])},
        {end_, QTime(device[K::EndHour], device[K::EndMinute])},
        {adjust_, QTime(device[K::AdjustHour], device[K::AdjustMinute])},
    };
    {
        const QSignalBlocker block(date_);
        date_->setDisplayFormat(DateFormatFor(device[K::Format]));
        date_->setDate(date);
    }
    for (auto [picker, value] : pickers) {
        const QSignalBlocker block(picker);
        picker->setTime(value);
    }
    format_->LoadIndex(device[K::Format]);
    daylight_->Load(device[K::DaylightSaving] != 0 ? 1 : 0);
    startWeek_->LoadIndex(device[K::StartWeekIndex]);
    startDay_->LoadIndex(device[K::StartDayOfWeek]);
    startMonth_->LoadIndex(device[K::StartMonth]);
    endWeek_->LoadIndex(device[K::EndWeekIndex]);
    endDay_->LoadIndex(device[K::EndDayOfWeek]);
    endMonth_->LoadIndex(device[K::EndMonth]);
}

DvrDateChoice DVRDatePage::Choice() const {
    DvrDateChoice choice = ChoiceOf(device_);
    if (dateEdited_)
        choice.date = DvrDateChoice::Date{date_->date().year(), date_->date().month(), date_->date().day()};
    if (timeEdited_)
        choice.time = DvrDateChoice::Time{time_->time().hour(), time_->time().minute(), time_->time().second()};
    // A list the person never picked from keeps the device's value, shown or not.
    const std::pair<IndexedCombo*, int*> lists[] = {
        {format_, &choice.format},       {startWeek_, &choice.startWeek}, {startDay_, &choice.startDay},
        {startMonth_, &choice.startMonth}, {endWeek_, &choice.endWeek},   {endDay_, &choice.endDay},
        {endMonth_, &choice.endMonth},
    };
    for (auto [list, value] : lists)
        if (list->Changed())
            *value = list->Index();
    if (const auto on = daylight_->Value())
        choice.daylightOn = *on == 1;
    if (startEdited_)
        choice.start = Of(start_);
    if (endEdited_)
        choice.end = Of(end_);
    if (adjustEdited_)
        choice.adjust = Of(adjust_);
    return choice;
}

std::optional<session::CgiRequest> DVRDatePage::ApplyRequest() const {
    if (!Live())
        return std::nullopt;
    return DvrDateRequest(device_, Choice(), App().SessionCookie.Get());
}

}  // namespace config

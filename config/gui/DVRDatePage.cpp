#include "config/gui/DVRDatePage.h"

#include <QDateEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>

#include "config/gui/ChoiceBindings.h"
#include "config/gui/DvrDatePageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrDateKey;

const QStringList kWeeks{"1ST", "2ND", "3RD", "4TH", "LAST"};
const QStringList kDays{"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const QStringList kMonths{"JAN", "FEB", "MAR", "APR", "MAY", "JUE", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

HourMinute Of(const QTimeEdit* edit) { return {edit->time().hour(), edit->time().minute()}; }

}  // namespace

DVRDatePage::DVRDatePage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing, QWidget* parent)
    : DvrSettingsPage(gui::TemplateText(kDvrDatePageTemplate.caption), app, set, timing, session::CMD_GET_DVR_DATE,
                      kDvrDateKeys, ApplyRoutine::DvrDate, parent) {
    const gui::TemplateControls controls = BuildFromTemplate(
        kDvrDatePageTemplate,
        [](const gui::TemplateControl& control, QWidget& holder) -> QWidget* {
            return control.kind == gui::ControlKind::ComboBox ? new IndexedCombo(&holder) : nullptr;
        },
        Controls());
    const auto list = [&](int id, const char* name, const QStringList& items) {
        auto* combo = Named<IndexedCombo>(controls, id, name);
        combo->SetItems(items);
        return combo;
    };
    const auto timeEdit = [&](int id, const char* name, const QString& format) {
        auto* edit = Named<QTimeEdit>(controls, id, name);
        edit->setDisplayFormat(format);
        return edit;
    };
    date_ = Named<QDateEdit>(controls, 1480, "date");
    date_->setCalendarPopup(true);
    date_->setLocale(QLocale::c());
    date_->setDisplayFormat(DateFormatFor(0));
    time_ = timeEdit(1481, "time", QStringLiteral("HH : mm : ss"));
    format_ = list(1195, "format", {"Y-M-D", "M-D-Y", "D-M-Y"});
    on_ = Named<QRadioButton>(controls, 1482, "daylightOn");
    off_ = Named<QRadioButton>(controls, 1483, "daylightOff");
    daylight_ = new RadioGroup(this);
    daylight_->Add(on_, 1);
    daylight_->Add(off_, 0);
    startWeek_ = list(1497, "startWeek", kWeeks);
    startDay_ = list(1504, "startDay", kDays);
    startMonth_ = list(1505, "startMonth", kMonths);
    start_ = timeEdit(1499, "start", QStringLiteral("HH : mm"));
    endWeek_ = list(1500, "endWeek", kWeeks);
    endDay_ = list(1506, "endDay", kDays);
    endMonth_ = list(1507, "endMonth", kMonths);
    end_ = timeEdit(1502, "end", QStringLiteral("HH : mm"));
    adjust_ = timeEdit(1503, "adjust", QStringLiteral("HH : mm"));

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

#include "config/gui/CSNTPPage.h"

#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <utility>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/SntpPageTemplate.h"
#include "config/pages/TimeZoneTable.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"

namespace config {

CSNTPPage::CSNTPPage(std::shared_ptr<ConfigWorkingSet> set, session::AppData& app, QWidget* parent)
    : ConfigPage(gui::TemplateText(kSntpPageTemplate.caption), *set, parent),
      set_(std::move(set)),
      app_(app),
      timeMode_(new RadioGroup(this)),
      serverMode_(new RadioGroup(this)) {
    const gui::TemplateControls controls =
        BuildFromTemplate(kSntpPageTemplate, [](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1195:
                return new IndexedCombo(&page);
            case 1040:
                return new LimitedTextEdit(kSntpServerChars, LimitedTextEdit::Mode::Plain, &page);
            default:
                return nullptr;
            }
        });
    serverTime_ = controls.Get<QRadioButton>(1449);
    personTime_ = controls.Get<QRadioButton>(1450);
    sync_ = controls.Named<QPushButton>(1068, "sync");
    zone_ = controls.Get<IndexedCombo>(1195);
    named_ = controls.Get<QRadioButton>(1452);
    automatic_ = controls.Get<QRadioButton>(1453);
    server_ = controls.Named<LimitedTextEdit>(1040, "server");

    // The pickers and their labels stand at pixel places of their own, scaled by the display's DPI factor.
    const float scale = app.fl_DpiScale.load();
    const QPoint pickerAt(int(100 * scale), int(100 * scale));
    const QPoint labelAt(int(40 * scale), int(100 * scale));
    const QPoint nextRow(0, 40);
    date_ = new QDateEdit(this);
    date_->setGeometry(QRect(pickerAt, QSize(120, 20)));
    date_->setDisplayFormat(QStringLiteral("yyyy / MM / dd"));
    auto* dateLabel = new QLabel(QStringLiteral("Date"), this);
    dateLabel->setGeometry(QRect(labelAt, QSize(50, 20)));
    time_ = new QTimeEdit(this);
    time_->setGeometry(QRect(pickerAt + nextRow, QSize(120, 20)));
    time_->setDisplayFormat(QStringLiteral("HH : mm : ss"));
    auto* timeLabel = new QLabel(QStringLiteral("Time"), this);
    timeLabel->setGeometry(QRect(labelAt + nextRow, QSize(50, 20)));
    for (QLabel* label : {dateLabel, timeLabel})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    timeMode_->Add(serverTime_, kTimeFromServer);
    timeMode_->Add(personTime_, kTimeByPerson);
    serverMode_->Add(named_, kServerNamed);
    serverMode_->Add(automatic_, kServerAutomatic);
    QStringList zones;
    for (const TimeZoneRow& row : TimeZoneTable)
        zones << session::LoadText(row.stringId);
    zone_->SetItems(zones);
    for (const int id : {1454, 1455, 1453, 1452, 1040, 1195})
        serverGroup_ << controls.Widget(id);
    personGroup_ << date_ << dateLabel << time_ << timeLabel;

    connect(timeMode_, &RadioGroup::Picked, this, [this] {
        values_.timeMode.Edit(timeMode_->Value().value_or(kTimeFromServer));
        ShowTimeMode(values_.timeMode.Current());
    });
    connect(serverMode_, &RadioGroup::Picked, this, [this] {
        values_.serverMode.Edit(serverMode_->Value().value_or(kServerAutomatic));
        ShowServerMode(values_.serverMode.Current());
    });
    connect(zone_, &IndexedCombo::Picked, this, [this] {
        values_.timeZone.Edit(zone_->Index());
        UpdateSyncButton();
    });
    connect(sync_, &QPushButton::clicked, this, &CSNTPPage::Synchronise);
}

void CSNTPPage::Fill() {
    values_ = LoadSntpValues(WorkingSet());
    zone_->LoadIndex(values_.timeZone.Loaded());  // a zone outside the table selects nothing
    server_->Load(QString::fromStdString(values_.server.Loaded()));
    const QDateTime now = QDateTime::currentDateTime();
    date_->setDate(now.date());
    time_->setTime(now.time());
    timeMode_->Load(values_.timeMode.Loaded() != 0 ? kTimeFromServer : kTimeByPerson);
    serverMode_->Load(values_.serverMode.Loaded());
    ShowTimeMode(values_.timeMode.Loaded());
    ShowServerMode(values_.serverMode.Loaded());
}

void CSNTPPage::ShowTimeMode(int mode) {
    const bool fromServer = mode != kTimeByPerson;
    for (QWidget* widget : serverGroup_)
        widget->setVisible(fromServer);
    for (QWidget* widget : personGroup_)
        widget->setVisible(!fromServer);
    UpdateSyncButton();
}

void CSNTPPage::ShowServerMode(int mode) { server_->setEnabled(mode == kServerNamed); }

void CSNTPPage::UpdateSyncButton() {
    // Time from a server needs a zone; without one there is nothing to send.
    sync_->setEnabled(values_.timeMode.Current() == kTimeByPerson || TimeZoneAt(values_.timeZone.Current()));
}

void CSNTPPage::Pull() {
    values_.server.Edit(server_->Utf8());
    if (zone_->Changed())
        values_.timeZone.Edit(zone_->Index());
}

void CSNTPPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[std::size_t(ApplyRoutine::Sntp)] = [values = values_](ApplyContext& apply) {
        return SendSntpConfig(values, apply.Set(), [&apply](std::uint8_t option) { return apply.StoreOrReport(option); });
    };
}

void CSNTPPage::Synchronise() {
    Pull();
    if (values_.serverMode.Current() == kServerAutomatic && values_.timeMode.Current() != kTimeByPerson) {
        values_.server.Edit(std::string());  // automatic: no name goes with the request
        server_->setText(QString());
    }
    const PersonTime personTime{date_->date().year(), date_->date().month(), date_->date().day(),
                                time_->time().hour(), time_->time().minute(), time_->time().second()};
    const std::string request = SyncTimeRequest(values_, personTime, app_.SessionCookie.Get());
    if (request.empty())
        return;
    struct Outcome {
        bool sent = false;
        bool stored = false;
    };
    const SntpValues synced = values_;
    session::AppData& app = app_;
    const platform::Timing timing = timing_;
    // The block is the sheet's, changed on the worker like Apply changes it; the
    // worker runs one job at a time, so the two never overlap. The job holds the
    // copies: a sheet closed meanwhile is deleted before the job ends.
    gui::RunDeviceCommand(
        this, app.h_DeviceCommandWorker,
        [&app, set = set_, timing, request, synced](std::stop_token stop) {
            session::CommandOptions options;
            options.connectTimeout = timing.connectTimeout;
            options.sendTimeout = options.receiveTimeout = timing.commandTimeout;
            options.stop = stop;
            Outcome outcome;
            outcome.sent = session::SorelSendCommand(app, options, session::CMD_SYNC_TIME, request, nullptr, 0,
                                                     nullptr, {}, nullptr) == 1;
            ApplyContext context(app, *set, timing, stop, {});
            outcome.stored =
                StoreSynchronisedSntp(synced, *set, [&context](std::uint8_t option) { return context.Store(option); });
            return outcome;
        },
        [this, synced](Outcome outcome) {
            if (!outcome.sent)
                ShowConfigMessage(this, 4064);
            if (outcome.stored) {
                // What the device now holds counts as loaded; later edits stay edits.
                const auto rebase = [](auto& value, const auto& to) {
                    const auto current = value.Current();
                    value.Load(to.Current());
                    value.Edit(current);
                };
                rebase(values_.server, synced.server);
                rebase(values_.timeZone, synced.timeZone);
                rebase(values_.timeMode, synced.timeMode);
                rebase(values_.serverMode, synced.serverMode);
            }
            emit Synchronised();
        });
}

}  // namespace config

#include "config/gui/CSNTPPage.h"

#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <utility>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/pages/TimeZoneTable.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"

namespace config {

CSNTPPage::CSNTPPage(std::shared_ptr<ConfigWorkingSet> set, session::AppData& app, QWidget* parent)
    : ConfigPage(QStringLiteral("Server Time Config"), *set, parent),
      set_(std::move(set)),
      app_(app),
      serverTime_(new QRadioButton(QStringLiteral("Korekcja czasu z serwera SNTP"), this)),
      personTime_(new QRadioButton(QString::fromUtf8("Korekcja czasu przez użytkownika"), this)),
      sync_(new QPushButton(QStringLiteral("Synchronizuj"), this)),
      zone_(new IndexedCombo(this)),
      named_(new QRadioButton(this)),
      automatic_(new QRadioButton(QStringLiteral("  Automatycznie"), this)),
      server_(new LimitedTextEdit(kSntpServerChars, LimitedTextEdit::Mode::Plain, this)),
      date_(new QDateEdit(this)),
      time_(new QTimeEdit(this)),
      timeMode_(new RadioGroup(this)),
      serverMode_(new RadioGroup(this)) {
    sync_->setObjectName(QStringLiteral("sync"));
    server_->setObjectName(QStringLiteral("server"));
    timeMode_->Add(serverTime_, kTimeFromServer);
    timeMode_->Add(personTime_, kTimeByPerson);
    serverMode_->Add(named_, kServerNamed);
    serverMode_->Add(automatic_, kServerAutomatic);
    QStringList zones;
    for (const TimeZoneRow& row : TimeZoneTable)
        zones << session::LoadText(row.stringId);
    zone_->SetItems(zones);
    date_->setDisplayFormat(QStringLiteral("yyyy / MM / dd"));
    time_->setDisplayFormat(QStringLiteral("HH : mm : ss"));

    auto* top = new QGridLayout;
    top->addWidget(serverTime_, 0, 0);
    top->addWidget(personTime_, 1, 0);
    top->addWidget(sync_, 0, 1, 2, 1);
    auto* box = new QGroupBox(QStringLiteral("Ustawienia"), this);
    auto* grid = new QGridLayout(box);
    auto* gmt = new QLabel(QStringLiteral("GMT:"), box);
    auto* serverLabel = new QLabel(QStringLiteral("Korekcja czasu z serwera SNTP:"), box);
    serverLabel->setWordWrap(true);
    grid->addWidget(gmt, 0, 0);
    grid->addWidget(zone_, 0, 1, 1, 2);
    grid->addWidget(serverLabel, 1, 0, 2, 1);
    grid->addWidget(named_, 1, 1);
    grid->addWidget(server_, 1, 2);
    grid->addWidget(automatic_, 2, 1, 1, 2);
    auto* dateLabel = new QLabel(QStringLiteral("Date"), box);
    auto* timeLabel = new QLabel(QStringLiteral("Time"), box);
    grid->addWidget(dateLabel, 3, 0);
    grid->addWidget(date_, 3, 1, 1, 2);
    grid->addWidget(timeLabel, 4, 0);
    grid->addWidget(time_, 4, 1, 1, 2);
    serverGroup_ << gmt << serverLabel << automatic_ << named_ << server_ << zone_;
    personGroup_ << date_ << dateLabel << time_ << timeLabel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box);

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

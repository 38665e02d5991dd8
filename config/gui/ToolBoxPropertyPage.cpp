#include "config/gui/ToolBoxPropertyPage.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <string>

#include "config/ConfigWorkingSet.h"
#include "config/gui/DeviceLogDialog.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"
#include "config/sheet/SheetProgress.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace config {

namespace {

constexpr int kTurboSteps = 30;
constexpr std::int64_t kDefaultMaxEvents = 300;

// "1.0.5.2" of "1052"; "00:12:A5:C0:FF:EE" of the twelve MAC characters.
QString VersionText(const std::string& version) {
    if (version.size() != 4)
        return QString::fromStdString(version);
    return QString::asprintf("%c.%c.%c.%c", version[0], version[1], version[2], version[3]);
}

QString MacText(const std::string& mac) {
    if (mac.size() != 12)
        return QString::fromStdString(mac);
    QString text;
    for (std::size_t i = 0; i < 12; i += 2) {
        if (i > 0)
            text += ':';
        text += QString::fromLatin1(mac.substr(i, 2));
    }
    return text;
}

}  // namespace

ToolBoxPropertyPage::ToolBoxPropertyPage(session::AppData& app, ConfigWorkingSet& set, platform::Timing timing,
                                         QWidget* parent)
    : ConfigPage(QStringLiteral("Ogólne "), set, parent), app_(app), timing_(timing) {
    std::string idle, busy;
    session::SplitCaptionPair(1304, idle, busy);
    idleCaption_ = QString::fromStdString(idle);
    busyCaption_ = QString::fromStdString(busy);

    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("version"));
    mac_ = new QLabel(this);
    mac_->setObjectName(QStringLiteral("mac"));
    turbo_ = new IndexedCombo(this);
    turbo_->setObjectName(QStringLiteral("turbo"));
    QStringList steps;
    for (int step = 1; step <= kTurboSteps; ++step)
        steps << QString::number(step);
    turbo_->SetItems(steps);
    events_ = new QPushButton(idleCaption_, this);
    events_->setObjectName(QStringLiteral("events"));
    maxLabel_ = new QLabel(QString::fromUtf8("MAX ILOŚĆ ZDARZ :"), this);
    NumberEdit::Rules rules;
    rules.max = static_cast<std::int64_t>(kLogMaxRecords);
    maxEvents_ = new NumberEdit(rules, this);
    maxEvents_->setObjectName(QStringLiteral("maxEvents"));
    maxEvents_->Load(kDefaultMaxEvents);
    descriptionLabel_ = new QLabel(QStringLiteral("Opis :"), this);
    description_ = new LimitedTextEdit(static_cast<int>(kDescriptionChars), LimitedTextEdit::Mode::Plain, this);
    description_->setObjectName(QStringLiteral("description"));
    for (int n = 0; n < 2; ++n) {
        channelLabels_[n] = new QLabel(QString("Nazwa Kan%1:").arg(n + 1), this);
        channelNames_[n] = new LimitedTextEdit(static_cast<int>(kChannelNameChars), LimitedTextEdit::Mode::Plain, this);
        channelNames_[n]->setObjectName(QString("channel%1").arg(n + 1));
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Wersja systemu:"), this), 0, 0);
    grid->addWidget(version_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Poziom trybu TURBO :"), this), 1, 0);
    grid->addWidget(turbo_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Adres Mac :"), this), 2, 0);
    grid->addWidget(mac_, 2, 1, 1, 3);
    grid->addWidget(events_, 3, 0);
    grid->addWidget(maxLabel_, 3, 1);
    grid->addWidget(maxEvents_, 3, 2);
    grid->addWidget(descriptionLabel_, 4, 0);
    grid->addWidget(description_, 4, 1);
    grid->addWidget(channelLabels_[0], 4, 2);
    grid->addWidget(channelNames_[0], 4, 3);
    grid->addWidget(channelLabels_[1], 5, 2);
    grid->addWidget(channelNames_[1], 5, 3);
    grid->setRowStretch(6, 1);

    connect(events_, &QPushButton::clicked, this, &ToolBoxPropertyPage::OnServerEvents);
}

ToolBoxPropertyPage::~ToolBoxPropertyPage() {
    if (fetching_) {
        job_.Cancel();
        g_lpSheetProgress().End();
    }
}

void ToolBoxPropertyPage::Fill() {
    const DeviceFacts& facts = WorkingSet().Facts();
    version_->setText(VersionText(facts.firmware));
    mac_->setText(MacText(app_.sz_MACAddress.Get()));
    const int step = app_.by_TurboRepeatStep.load();
    turbo_->LoadIndex(step >= 1 && step <= kTurboSteps ? step - 1 : -1);

    const bool noLog = (facts.IsVideoServer() || facts.IsN5H()) && !facts.FirmwareAtLeast("1007");
    for (QWidget* widget : {static_cast<QWidget*>(events_), static_cast<QWidget*>(maxLabel_),
                            static_cast<QWidget*>(maxEvents_)})
        widget->setVisible(!noLog);

    values_ = LoadToolBoxValues(WorkingSet());
    const bool described = facts.IsDvr() || facts.IsVideoServer();
    descriptionLabel_->setVisible(described);
    description_->setVisible(described);
    description_->Load(QString::fromStdString(values_.description.Loaded()));
    for (std::size_t n = 0; n < 2; ++n) {
        channelLabels_[n]->setVisible(facts.HasChannelNames());
        channelNames_[n]->setVisible(facts.HasChannelNames());
        channelNames_[n]->Load(QString::fromStdString(values_.channelNames[n].Loaded()));
    }
}

void ToolBoxPropertyPage::Pull() {
    if (description_->Changed())
        values_.description.Edit(description_->Utf8());
    for (std::size_t n = 0; n < 2; ++n)
        if (channelNames_[n]->Changed())
            values_.channelNames[n].Edit(channelNames_[n]->Utf8());
}

void ToolBoxPropertyPage::ContributeValues(SheetPageValues& values) const {
    if (turbo_->Changed())
        values.turboIndex = turbo_->Index();
}

void ToolBoxPropertyPage::AddSendRoutines(ApplyRoutines& routines) {
    routines[static_cast<std::size_t>(ApplyRoutine::ToolBox)] = [values = values_](ApplyContext& apply) {
        return SendToolBoxConfig(values, apply.Set(), [&apply](std::uint8_t option) { return apply.Store(option); },
                                 apply.App());
    };
}

void ToolBoxPropertyPage::OnServerEvents() {
    if (fetching_) {
        job_.Cancel();
        SetIdle();
        g_lpSheetProgress().End();
        return;
    }
    const auto max = static_cast<std::uint32_t>(maxEvents_->Value().value_or(0));
    QPointer<ToolBoxPropertyPage> page(this);
    const bool started = job_.Start(app_, timing_, max, g_lpSheetProgress(), [page](LogFetchResult result) {
        // Handed to the GUI thread; dropped when the page went away meanwhile.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [page, result = std::move(result)]() mutable {
                if (page)
                    page->OnLogResult(std::move(result));
            },
            Qt::QueuedConnection);
    });
    if (!started)
        return;
    fetching_ = true;
    events_->setText(busyCaption_);
}

void ToolBoxPropertyPage::OnLogResult(LogFetchResult result) {
    // A result that was on its way when the person cancelled is not shown.
    if (!fetching_)
        return;
    job_.Cancel();  // the job has ended; this joins it
    if (result.outcome == LogFetchResult::Outcome::Records)
        ShowLog(std::move(result.records));
    SetIdle();
}

void ToolBoxPropertyPage::ShowLog(std::vector<DeviceLogRecord> records) {
    if (WorkingSet().Facts().IsDvr()) {
        DvrLogDialog viewer(std::move(records), this);
        viewer.exec();
    } else {
        ServerLogDialog viewer(app_, std::move(records), this);
        viewer.exec();
    }
}

void ToolBoxPropertyPage::SetIdle() {
    fetching_ = false;
    events_->setText(idleCaption_);
}

}  // namespace config

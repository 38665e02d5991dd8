#include "config/gui/ToolBoxPropertyPage.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <string>

#include "config/ConfigWorkingSet.h"
#include "config/gui/DeviceLogDialog.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"
#include "config/gui/ToolBoxPageTemplate.h"
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

    NumberEdit::Rules rules;
    rules.max = static_cast<std::int64_t>(kLogMaxRecords);
    const gui::TemplateControls controls =
        BuildFromTemplate(kToolBoxPageTemplate, [&](const gui::TemplateControl& control, QWidget& page) -> QWidget* {
            switch (control.id) {
            case 1195:
                return new IndexedCombo(&page);
            case 1042:
                return new NumberEdit(rules, &page);
            case 1474:
                return new LimitedTextEdit(static_cast<int>(kDescriptionChars), LimitedTextEdit::Mode::Plain, &page);
            case 1475:
            case 1476:
                return new LimitedTextEdit(static_cast<int>(kChannelNameChars), LimitedTextEdit::Mode::Plain, &page);
            default:
                return nullptr;
            }
        });
    version_ = controls.Get<QLabel>(1305);
    version_->setObjectName(QStringLiteral("version"));
    mac_ = controls.Get<QLabel>(1316);
    mac_->setObjectName(QStringLiteral("mac"));
    turbo_ = controls.Get<IndexedCombo>(1195);
    turbo_->setObjectName(QStringLiteral("turbo"));
    QStringList steps;
    for (int step = 1; step <= kTurboSteps; ++step)
        steps << QString::number(step);
    turbo_->SetItems(steps);
    events_ = controls.Get<QPushButton>(1068);
    events_->setObjectName(QStringLiteral("events"));
    events_->setText(idleCaption_);
    maxLabel_ = controls.Get<QLabel>(1443);
    maxEvents_ = controls.Get<NumberEdit>(1042);
    maxEvents_->setObjectName(QStringLiteral("maxEvents"));
    maxEvents_->Load(kDefaultMaxEvents);
    descriptionLabel_ = controls.Get<QLabel>(1473);
    description_ = controls.Get<LimitedTextEdit>(1474);
    description_->setObjectName(QStringLiteral("description"));
    for (int n = 0; n < 2; ++n) {
        channelLabels_[n] = controls.Get<QLabel>(1504 + n);
        channelNames_[n] = controls.Get<LimitedTextEdit>(1475 + n);
        channelNames_[n]->setObjectName(QString("channel%1").arg(n + 1));
    }

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

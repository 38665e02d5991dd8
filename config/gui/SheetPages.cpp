#include "config/gui/SheetPages.h"

#include <utility>

#include "config/gui/AccountPropertyPage.h"
#include "config/gui/AlarmDataPage.h"
#include "config/gui/AlarmPropertyPage.h"
#include "config/gui/CPeripheralPage.h"
#include "config/gui/CDNSPage.h"
#include "config/gui/CameraPage.h"
#include "config/gui/COnlineUserPage.h"
#include "config/gui/CSNTPPage.h"
#include "config/gui/DVRDatePage.h"
#include "config/gui/DVRRecordPage.h"
#include "config/gui/DetectionPage.h"
#include "config/gui/DevicePage.h"
#include "config/gui/FTPPropertyPage.h"
#include "config/gui/MailPropertyPage.h"
#include "config/gui/MySystemDialog.h"
#include "config/gui/NetworkConfigPage.h"
#include "config/gui/PlaceholderPage.h"
#include "config/gui/RecordPage.h"
#include "config/gui/TimerRecordPage.h"
#include "config/gui/ToolBoxPropertyPage.h"
#include "config/sheet/SheetContext.h"

namespace config {

namespace {

RecordingPageMaker* g_recordingPages = nullptr;

QString CaptionOf(SheetPageId page) {
    const std::string_view caption = PageCaption(page);
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
}

// The sheet's network type: the network page's choice once it was opened, else block 1's.
int SheetNetworkType(QWidget* sheet, const ConfigWorkingSet& set) {
    const auto pages = sheet ? sheet->findChildren<NetworkConfigPage*>() : QList<NetworkConfigPage*>();
    if (!pages.isEmpty() && pages.front()->WasFilled())
        return pages.front()->NetworkType();
    return static_cast<int>(set.Number(1, "by_NetworkType"));
}

ConfigPage* MakeDdnsPage(SheetContext& context, QWidget* parent) {
    auto* page = new CDNSPage(context.set, parent);
    page->SetNetworkTypeSource([parent, &set = context.set] { return SheetNetworkType(parent, set); });
    return page;
}

ConfigPage* MakeAccountPage(SheetContext& context, QWidget* parent) {
    auto* page = new AccountPropertyPage(context.set, context.app, parent);
    if (auto* sheet = qobject_cast<MySystemDialog*>(parent))
        QObject::connect(page, &AccountPropertyPage::EditingChanged, sheet, [sheet](bool editing) {
            if (editing)
                sheet->DisableSheetButtons();
            else
                sheet->EnableSheetButtons();
        });
    return page;
}

}  // namespace

RecordingPageMaker* SetRecordingPageMaker(RecordingPageMaker* maker) { return std::exchange(g_recordingPages, maker); }

RecordingPageMaker* GetRecordingPageMaker() { return g_recordingPages; }

ConfigPage* MakeSheetPage(SheetPageId page, SheetContext& context, QWidget* parent) {
    // Each page takes its row here as it is built; the rest stand in until then.
    switch (page) {
    case SheetPageId::Network: return new NetworkConfigPage(context.set, parent);
    case SheetPageId::Ddns: return MakeDdnsPage(context, parent);
    case SheetPageId::Mail: return new MailPropertyPage(context.set, parent);
    case SheetPageId::Ftp: return new FTPPropertyPage(context.set, parent);
    case SheetPageId::Sntp: return new CSNTPPage(context.SharedSet(), context.app, parent);
    case SheetPageId::Account: return MakeAccountPage(context, parent);
    case SheetPageId::OnlineUsers: return new COnlineUserPage(context.set, context.app, parent);
    case SheetPageId::Camera: return new CameraPage(context.set, parent);
    case SheetPageId::Device: return new DevicePage(context.set, parent);
    case SheetPageId::Detection: return new DetectionPage(context.set, context.app, {}, parent);
    case SheetPageId::Alarm:
        return new AlarmPropertyPage(context.set, context.app, context.prefill.alarmTriggerRecord, parent);
    case SheetPageId::Peripheral: return new CPeripheralPage(context.set, parent);
    case SheetPageId::TimerRecord: return new TimerRecordPage(context.set, parent);
    case SheetPageId::ToolBox: return new ToolBoxPropertyPage(context.app, context.set, {}, parent);
    case SheetPageId::DvrDate: return new DVRDatePage(context.app, context.set, {}, parent);
    case SheetPageId::DvrRecord: return new DVRRecordPage(context.app, context.set, {}, parent);
    case SheetPageId::AlarmData: return new AlarmDataPage(context.app, context.set, parent);
    case SheetPageId::RecordPaths: return new RecordPage(context.app, context.set, context.prefill, parent);
    default: break;
    }
    if (g_recordingPages)
        if (ConfigPage* made = g_recordingPages->MakePage(page, context, parent))
            return made;
    return new PlaceholderPage(CaptionOf(page), context.set, parent);
}

}  // namespace config

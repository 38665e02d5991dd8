#include "config/gui/COnlineUserPage.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessage.h"
#include "config/gui/OnlineUserPageTemplate.h"
#include "config/pages/OnlineUsers.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "session/AppData.h"
#include "session/net/OptionBlocks.h"

namespace config {

COnlineUserPage::COnlineUserPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent)
    : ConfigPage(gui::TemplateText(kOnlineUserPageTemplate.caption), set, parent), app_(app) {
    const gui::TemplateControls controls = BuildFromTemplate(kOnlineUserPageTemplate);
    list_ = controls.Get<QTreeWidget>(1349);
    refresh_ = controls.Get<QPushButton>(1311);
    list_->setObjectName(QStringLiteral("users"));
    list_->setAllColumnsShowFocus(true);
    refresh_->setObjectName(QStringLiteral("refresh"));
    connect(refresh_, &QPushButton::clicked, this, &COnlineUserPage::Refresh);
}

void COnlineUserPage::Fill() {
    const auto columns = OnlineColumns(WorkingSet().Facts());
    QStringList headings;
    for (const OnlineColumn& column : columns)
        headings << session::LoadText(column.headingId);
    list_->setHeaderLabels(headings);
    for (std::size_t i = 0; i < columns.size(); ++i)
        list_->header()->resizeSection(int(i), columns[i].width);
    // Some given widths are narrower than their headings in any font.
    gui::FitColumnsToHeadings(*list_);
    std::array<std::uint8_t, 240> block{};
    const auto loaded = WorkingSet().Working(session::kOptionOnline);
    std::copy_n(loaded.begin(), std::min(loaded.size(), block.size()), block.begin());
    ShowRows(block);
}

void COnlineUserPage::ShowRows(const std::array<std::uint8_t, 240>& block) {
    list_->clear();
    for (const auto& row : OnlineRows(block, WorkingSet().Facts(), app_.by_VideoSizeFamily.load())) {
        QStringList texts;
        for (const std::string& text : row)
            texts << QString::fromStdString(text);
        list_->addTopLevelItem(new QTreeWidgetItem(texts));
    }
}

void COnlineUserPage::Refresh() {
    struct Answer {
        bool ok = false;
        std::array<std::uint8_t, 240> block{};
    };
    session::AppData& app = app_;
    const platform::Timing timing = timing_;
    const bool posted = gui::RunDeviceCommand(
        this, app.h_DeviceCommandWorker,
        [&app, timing](std::stop_token stop) {
            Answer answer;
            answer.ok = session::QuerySystemConfig(app, timing, session::kOptionOnline, answer.block,
                                                   kOnlineBlockSize, stop) == 1;
            return answer;
        },
        [this](Answer answer) {
            if (answer.ok)
                ShowRows(answer.block);
            else
                ShowConfigMessage(this, 4029);  // the rows stay as they were
            emit Refreshed();
        });
    if (!posted)
        ShowConfigMessage(this, 4029);
}

}  // namespace config

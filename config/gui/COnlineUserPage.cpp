#include "config/gui/COnlineUserPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessage.h"
#include "config/pages/OnlineUsers.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "session/AppData.h"
#include "session/net/OptionBlocks.h"

namespace config {

COnlineUserPage::COnlineUserPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent)
    : ConfigPage(QString::fromUtf8("Podłączeni użyt."), set, parent),
      app_(app),
      list_(new QTreeWidget(this)),
      refresh_(new QPushButton(QString::fromUtf8("Odśwież \nListę"), this)) {
    list_->setObjectName(QStringLiteral("users"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    refresh_->setObjectName(QStringLiteral("refresh"));
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QString::fromUtf8("Informacje o podłączonych użytkownikach :"), this));
    top->addStretch();
    top->addWidget(refresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_);
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

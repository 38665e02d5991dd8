#include "config/gui/DeviceLogDialog.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include "config/DeviceRequest.h"
#include "config/gui/DeviceLogDialogTemplates.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "gui/TemplateBuilder.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

DeviceLogDialog::DeviceLogDialog(LogViewer viewer, std::vector<DeviceLogRecord> records, QWidget* parent)
    : QDialog(parent), viewer_(viewer), records_(std::move(records)), mask_(InitialLogMask(viewer)) {
    const gui::DialogTemplate& table = viewer == LogViewer::Dvr ? kDvrLogDialogTemplate : kServerLogDialogTemplate;
    setWindowTitle(gui::TemplateText(table.caption));
    controls_ = gui::BuildTemplate(*this, table);
    list_ = controls_.Get<QTreeWidget>(1435);
    list_->setObjectName(QStringLiteral("events"));
    list_->setAllColumnsShowFocus(true);
    QStringList headers{"NO.", session::LoadText(8570), session::LoadText(8571)};
    if (viewer == LogViewer::Dvr)
        headers << session::LoadText(8572);
    list_->setHeaderLabels(headers);
    const int widths[] = {40, 210, 150, 40};
    for (int column = 0; column < headers.size(); ++column) {
        list_->setColumnWidth(column, widths[column]);
        list_->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }

    for (const LogFilterBox& box : LogFilterBoxes(viewer)) {
        auto* check = controls_.Get<QCheckBox>(box.id);
        check->setObjectName(QString::number(box.id));
        check->setChecked(true);
        const std::uint32_t bit = box.bit;
        connect(check, &QCheckBox::toggled, this, [this, bit](bool shown) {
            mask_ = shown ? mask_ | bit : mask_ & ~bit;
            FillList();
        });
    }
    FillList();
}

void DeviceLogDialog::FillList() {
    list_->clear();
    for (const LogRow& row : LogRows(viewer_, records_, mask_)) {
        QStringList texts;
        for (const std::string& text : row)
            texts << QString::fromStdString(text);
        auto* item = new QTreeWidgetItem(texts);
        for (int column = 0; column < texts.size(); ++column)
            item->setTextAlignment(column, Qt::AlignCenter);
        list_->addTopLevelItem(item);
    }
}

DvrLogDialog::DvrLogDialog(std::vector<DeviceLogRecord> records, QWidget* parent)
    : DeviceLogDialog(LogViewer::Dvr, std::move(records), parent) {
    auto* ok = Controls().Get<QPushButton>(1);
    ok->setObjectName(QStringLiteral("ok"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

ServerLogDialog::ServerLogDialog(session::AppData& app, std::vector<DeviceLogRecord> records, QWidget* parent)
    : DeviceLogDialog(LogViewer::Server, std::move(records), parent), app_(app) {
    auto* clear = Controls().Get<QPushButton>(1068);
    clear->setObjectName(QStringLiteral("clear"));
    auto* exit = Controls().Get<QPushButton>(1069);
    exit->setObjectName(QStringLiteral("exit"));
    connect(clear, &QPushButton::clicked, this, &ServerLogDialog::OnClearHistory);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

bool ServerLogDialog::ConfirmClear() {
    QMessageBox box(QMessageBox::Critical, QString(), session::LoadText(4117), QMessageBox::Yes | QMessageBox::No,
                    this);
    return box.exec() == QMessageBox::Yes;
}

void ServerLogDialog::OnClearHistory() {
    if (!ConfirmClear())
        return;
    auto request = RequestWithCookie(session::CMD_CLEAR_LOG, app_.SessionCookie.Get());
    gui::RunDeviceCommand(
        this, app_.h_DeviceCommandWorker,
        [app = &app_, request](std::stop_token stop) { return SendDeviceRequest(*app, {}, request, stop); },
        [this](int sent) {
            if (sent)
                accept();
        });
}

}  // namespace config

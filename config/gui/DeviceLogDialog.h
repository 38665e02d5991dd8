#pragma once
// The device's event log as read by the tool box page: "Server Log", a list
// of events with their time (and, for a DVR, channel) and check boxes that
// hide event kinds. DvrLogDialog serves the DVR family, ServerLogDialog every
// other; the latter can also clear the device's log.

#include <QDialog>

#include <map>
#include <vector>

#include "config/log/LogViewTable.h"
#include "gui/TemplateBuilder.h"

class QCheckBox;
class QTreeWidget;

namespace session {
class AppData;
}

namespace config {

class DeviceLogDialog : public QDialog {
    Q_OBJECT
public:
    QTreeWidget* List() const { return list_; }
    std::uint32_t EventMask() const { return mask_; }

protected:
    DeviceLogDialog(LogViewer viewer, std::vector<DeviceLogRecord> records, QWidget* parent);
    // Rebuilds the list from the records the mask lets through.
    void FillList();
    const gui::TemplateControls& Controls() const { return controls_; }

private:
    LogViewer viewer_;
    std::vector<DeviceLogRecord> records_;
    std::uint32_t mask_;
    gui::TemplateControls controls_;
    QTreeWidget* list_ = nullptr;
};

class DvrLogDialog : public DeviceLogDialog {
    Q_OBJECT
public:
    explicit DvrLogDialog(std::vector<DeviceLogRecord> records, QWidget* parent = nullptr);
};

class ServerLogDialog : public DeviceLogDialog {
    Q_OBJECT
public:
    ServerLogDialog(session::AppData& app, std::vector<DeviceLogRecord> records, QWidget* parent = nullptr);

    // "WYCZYŚĆ HISTORIĘ": after a Yes, "/ClearLog.cgi" on the device-command
    // worker; the viewer closes when the device took it.
    void OnClearHistory();

protected:
    // Message 4117 with Yes and No and the stop icon; true for Yes. Tests answer it.
    virtual bool ConfirmClear();

private:
    session::AppData& app_;
};

}  // namespace config

#pragma once
// "Podłączeni użyt.": the users connected to the device, from the ONLINE block
// loaded with the sheet; "Odśwież \nListę" reads the block again on the
// device-command worker. Nothing of it is sent back.

#include <QWidget>

#include <array>
#include <cstdint>

#include "config/gui/ConfigPage.h"
#include "platform/Timing.h"

class QPushButton;
class QTreeWidget;

namespace session {
class AppData;
}

namespace config {

class COnlineUserPage : public ConfigPage {
    Q_OBJECT
public:
    COnlineUserPage(ConfigWorkingSet& set, session::AppData& app, QWidget* parent = nullptr);

    void SetTiming(const platform::Timing& timing) { timing_ = timing; }
    // Reads the block again; the rows follow when the device answered, else 4029.
    void Refresh();

    QTreeWidget* List() const { return list_; }
    QPushButton* RefreshButton() const { return refresh_; }

signals:
    void Refreshed();  // the refresh's answer was handled

protected:
    void Fill() override;

private:
    void ShowRows(const std::array<std::uint8_t, 240>& block);

    session::AppData& app_;
    platform::Timing timing_;
    QTreeWidget* list_ = nullptr;
    QPushButton* refresh_ = nullptr;
};

}  // namespace config

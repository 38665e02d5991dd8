#pragma once
// How the main window's setup command reaches the configuration sheet, which
// lives in a library the main window does not link: the application installs
// the sheet's side at start-up. Without one, nothing opens.

class QWidget;

namespace gui {

class ConfigSheetPort {
public:
    virtual ~ConfigSheetPort() = default;
    // Opens the sheet modeless beside the main window, on the blocks just fetched.
    virtual void OpenSheet(QWidget* mainWindow) = 0;
    // Closes and deletes the sheet, stopping an Apply in progress; nothing when none is open.
    virtual void CloseSheet() = 0;
    virtual bool IsSheetOpen() const = 0;
};

// GUI thread only.
void SetConfigSheetPort(ConfigSheetPort* port);
ConfigSheetPort* GetConfigSheetPort();

}  // namespace gui

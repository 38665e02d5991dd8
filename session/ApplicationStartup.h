#pragma once
// The steps of the application's start-up and exit that need no window: the
// data object with CtrlFile.ini, this computer's address, and the picture
// buffers every stream stage works in. The application object
// (session/gui/TavrinApp.h) runs them in order around the login dialog and
// the main window.

#include <memory>

namespace session {

class AppData;
class UiPort;

// Creates the data object, reads CtrlFile.ini from the program folder into
// it and binds the control protocols whatever the reader said; the reader's
// messages go to the data object's UiPort (ui, set before anything else).
// Null after message 4094, when the file cannot be read; the data object is
// then already gone.
std::unique_ptr<AppData> InitKernelObject(UiPort* ui);

// LocalHostAddress: this computer's IPv4 address as dotted text. Returns 1.
int GetLocalHostAddress(AppData& app);

// Allocates the receive slots, the compose, picture, resize and frame-copy
// buffers, the recorders' frame history and the recorders' own buffers, and
// sets the ring indices to 0. Returns 0 when any allocation fails (what was
// allocated stays for FreeSystemBuffer), else 1.
int AllocateSystemBuffer(AppData& app);
// Frees every buffer that exists; a second run does nothing. Returns 1.
int FreeSystemBuffer(AppData& app);

}  // namespace session

#include "gui/ConfigSheetPort.h"

namespace gui {

namespace {

ConfigSheetPort* g_port = nullptr;

}  // namespace

void SetConfigSheetPort(ConfigSheetPort* port) { g_port = port; }

ConfigSheetPort* GetConfigSheetPort() { return g_port; }

}  // namespace gui

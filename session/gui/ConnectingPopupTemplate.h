#pragma once
// Template 318: the pop-up that shows the connection under way.

#include "gui/DialogTemplate.h"

namespace session {

inline constexpr gui::TemplateControl kConnectingPopupControls[] = {
    {1393, gui::ControlKind::Static, {6, 4, 88, 8}, gui::kNoWrap, "Trwa łączenie..."},
};

inline constexpr gui::DialogTemplate kConnectingPopupTemplate{318, "", 98, 15, gui::kSystemFont,
                                                              kConnectingPopupControls};

}  // namespace session

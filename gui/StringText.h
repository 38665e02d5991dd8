#pragma once
// A string-table text as the widgets take it.

#include <QString>

#include "res/StringTable.h"

namespace session {

// The text of the id (UTF-8 in the table); empty when the table has none.
inline QString LoadText(unsigned id) {
    const std::string_view text = res::LoadString(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace session

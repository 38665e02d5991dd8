#pragma once
// The program's string table: message-box texts by id (4001-4119) and the
// other texts loaded by id. Texts are UTF-8.

#include <string_view>

namespace res {

// The text of the id, or an empty view when the table has none.
std::string_view LoadString(unsigned id);

}  // namespace res

#pragma once
// The disc writing's progress: the writer reports begin, position (percent)
// and end; CdProgressCallback draws them on the configuration sheet's
// progress bar (nothing happens while no sheet is open).

#include <cstdint>
#include <functional>

#include "config/sheet/SheetProgress.h"

namespace recording {

inline constexpr int kCdProgressBegin = 0;
inline constexpr int kCdProgressPosition = 1;
inline constexpr int kCdProgressEnd = 2;

using CdProgressFunction = std::function<void(int event, std::uint32_t value)>;

// Begin: the bar starts empty with a range of 100; position: the percentage;
// end: cleared; other events: nothing.
void CdProgressCallback(config::SheetProgress& bar, int event, std::uint32_t value);
// The same on the sheet's one progress channel: the function the backup page gives the writer.
void CdProgressCallback(int event, std::uint32_t value);

}  // namespace recording

#pragma once
// The disc writing's progress: the writer reports begin, position (percent)
// and end; CdProgressCallback draws them on a progress bar (the configuration
// sheet's, while the sheet is open).

#include <cstdint>
#include <functional>

namespace recording {

inline constexpr int kCdProgressBegin = 0;
inline constexpr int kCdProgressPosition = 1;
inline constexpr int kCdProgressEnd = 2;

using CdProgressFunction = std::function<void(int event, std::uint32_t value)>;

// A progress bar as the backup paths drive it (the sheet's progress commands).
class ProgressBarPort {
public:
    virtual ~ProgressBarPort() = default;
    virtual void Begin() = 0;
    virtual void SetRange(std::uint32_t range) = 0;
    virtual void SetPos(std::uint32_t position) = 0;
    virtual void End() = 0;
};

// Begin: the bar starts empty with a range of 100; position: the percentage; end: cleared.
void CdProgressCallback(ProgressBarPort& bar, int event, std::uint32_t value);

}  // namespace recording

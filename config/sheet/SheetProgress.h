#pragma once
// The configuration sheet's progress strip as the worker threads drive it:
// the event-log fetch, the record search, the network backup and the disc
// writer send Begin, SetRange, SetPos and End from any thread. Commands reach
// the sheet in the order they were given and never make a writer wait for
// the GUI; while no sheet is open they do nothing.

#include <cstdint>
#include <mutex>
#include <string>

namespace config {

enum SheetProgressCommand : std::uint32_t {
    Progress_Begin = 1,
    Progress_SetRange = 2,
    Progress_SetPos = 3,
    Progress_End = 4,
};

// The sheet's side: takes each command without blocking (it queues it for the GUI thread).
class SheetProgressSink {
public:
    virtual ~SheetProgressSink() = default;
    virtual void Deliver(std::uint32_t command, std::uint32_t value) = 0;
};

class SheetProgress {
public:
    // Any thread. Commands other than 1-4 do nothing.
    void Command(std::uint32_t command, std::uint32_t value = 0);
    void Begin() { Command(Progress_Begin); }
    void SetRange(std::uint32_t range) { Command(Progress_SetRange, range); }
    void SetPos(std::uint32_t position) { Command(Progress_SetPos, position); }
    void End() { Command(Progress_End); }

    // The sheet attaches its strip when it opens and detaches it when it closes;
    // once Detach returns, no command reaches the strip any more.
    void Attach(SheetProgressSink* sink);
    void Detach(SheetProgressSink* sink);
    bool Attached() const;

private:
    mutable std::mutex mutex_;  // orders the writers; held only while a command is handed over
    SheetProgressSink* sink_ = nullptr;
};

// The process's one progress channel (the writers' g_lpSheetProgress).
SheetProgress& g_lpSheetProgress();

// The bar's state as the commands leave it. The range starts at 1; 0 is kept
// and draws no fill and no percentage.
struct SheetProgressState {
    std::uint32_t range = 1;
    std::uint32_t position = 0;
    bool active = false;
    // Applies a command; true when the bar is to be drawn now.
    bool Apply(std::uint32_t command, std::uint32_t value);
};

// What a draw puts into the strip of the given width.
struct ProgressDrawing {
    bool fill = false;
    int fillWidth = 0;    // from left + 2; at most width - 4
    bool text = false;
    std::string percent;  // "%3u %%"
    int textX = 0;        // from the strip's left edge
    bool textInside = false;
};
// `begin`: the empty bar of Begin, with the text for 0.
ProgressDrawing DrawProgress(int width, const SheetProgressState& state, bool begin);

}  // namespace config

#include "config/sheet/SheetProgress.h"

#include <algorithm>
#include <cstdio>

namespace config {

void SheetProgress::Command(std::uint32_t command, std::uint32_t value) {
    if (command < Progress_Begin || command > Progress_End)
        return;
    std::lock_guard lock(mutex_);
    if (sink_)
        sink_->Deliver(command, value);
}

void SheetProgress::Attach(SheetProgressSink* sink) {
    std::lock_guard lock(mutex_);
    sink_ = sink;
}

void SheetProgress::Detach(SheetProgressSink* sink) {
    std::lock_guard lock(mutex_);
    if (sink_ == sink)
        sink_ = nullptr;
}

bool SheetProgress::Attached() const {
    std::lock_guard lock(mutex_);
    return sink_ != nullptr;
}

SheetProgress& g_lpSheetProgress() {
    static SheetProgress progress;
    return progress;
}

bool SheetProgressState::Apply(std::uint32_t command, std::uint32_t value) {
    switch (command) {
    case Progress_Begin:
        position = 0;
        active = true;
        return true;
    case Progress_SetRange:
        range = value;
        position = 0;
        return false;
    case Progress_SetPos:
        position = value;
        return active;
    case Progress_End:
        position = 0;
        active = false;
        return false;
    default: return false;
    }
}

namespace {

std::string Percent(std::uint64_t p) {
    char text[32];
    std::snprintf(text, sizeof text, "%3llu %%", static_cast<unsigned long long>(p));
    return text;
}

}  // namespace

ProgressDrawing DrawProgress(int width, const SheetProgressState& state, bool begin) {
    ProgressDrawing drawing;
    if (begin) {
        drawing.text = true;
        drawing.percent = Percent(0);
        drawing.textX = 4;
        return drawing;
    }
    if (state.range == 0)
        return drawing;
    const auto inner = static_cast<std::uint64_t>(std::max(0, width - 4));
    // A position past the range fills the bar, never more.
    drawing.fill = true;
    drawing.fillWidth = static_cast<int>(std::min(inner, inner * state.position / state.range));
    const std::uint64_t p = std::uint64_t(state.position) * 100 / state.range;
    drawing.text = true;
    drawing.percent = Percent(p);
    drawing.textInside = p > 50;
    drawing.textX = drawing.textInside ? drawing.fillWidth - 43 : drawing.fillWidth + 4;
    return drawing;
}

}  // namespace config

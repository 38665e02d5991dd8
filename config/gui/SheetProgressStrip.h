#pragma once
// The sheet's progress strip: takes the progress commands of any thread,
// queued onto the GUI thread, and draws the bar while it is active.

#include <QWidget>

#include "config/sheet/SheetProgress.h"

namespace config {

class SheetProgressStrip : public QWidget, public SheetProgressSink {
    Q_OBJECT
public:
    explicit SheetProgressStrip(QWidget* parent = nullptr);

    // Any thread: queues the command for the GUI thread.
    void Deliver(std::uint32_t command, std::uint32_t value) override;

    const SheetProgressState& State() const { return state_; }
    // What the strip draws now; nothing when inactive.
    std::optional<ProgressDrawing> Drawing() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Execute(std::uint32_t command, std::uint32_t value);

    SheetProgressState state_;
    bool justBegun_ = false;
};

}  // namespace config

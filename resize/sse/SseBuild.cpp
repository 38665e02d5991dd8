// The SSE build's one instantiation of the engine.

#include "resize/sse/SseBuild.h"

#include "resize/frame/ResizeEntryFrame.h"

template struct resize::frame::ResizeEngine<resize::sse::KernelSet>;

// The SSE2 build's one instantiation of the engine.

#include "resize/sse2/Sse2Build.h"

#include "resize/frame/ResizeEntryFrame.h"

template struct resize::frame::ResizeEngine<resize::sse2::KernelSet>;

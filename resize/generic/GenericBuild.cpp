// The generic build's one instantiation of the engine.

#include "resize/generic/GenericBuild.h"

#include "resize/frame/ResizeEntryFrame.h"

template struct resize::frame::ResizeEngine<resize::generic::KernelSet>;

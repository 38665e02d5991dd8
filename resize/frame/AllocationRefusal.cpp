#include "resize/frame/AlignedAllocators.h"

namespace resize {

namespace {
// 0: nothing is refused; otherwise the number of allocations up to and including the one to
// refuse.
thread_local int allocationsUntilRefusal = 0;
}  // namespace

namespace frame {
bool AllocationRefused() {
    return allocationsUntilRefusal > 0 && --allocationsUntilRefusal == 0;
}
}  // namespace frame

namespace testing {
void RefuseAllocation(int n) {
    allocationsUntilRefusal = n < 0 ? 0 : n;
}

void StopRefusingAllocations() {
    allocationsUntilRefusal = 0;
}
}  // namespace testing

}  // namespace resize

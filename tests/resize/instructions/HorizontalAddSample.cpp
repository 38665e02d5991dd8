// A sample the instruction check must flag: built with SSE3 enabled, it adds horizontally.
#include <pmmintrin.h>

__m128 ResizeInstructionCheckSample(__m128 a, __m128 b) {
    return _mm_hadd_ps(a, b);
}

#pragma once
// Super-sampling calls in the tests' call record, and a brute-force area reference: every
// destination pixel as the overlap-weighted average of the source pixels under its band,
// worked out from the band's ends, with no walk, carries or work rows.

#include <gtest/gtest.h>

#include "ResizeTestSupport.h"

namespace resize_test {

// ResizeSuperSample with the call's values (its shifts and interpolation code are not used).
resize::ResizeStatus RunSuperSample(const CoreCall& call);

// Writes into `expected` (laid out like the call's destination) what area averaging gives for
// the call's region of `source`: integers rounded half up, floats to single precision. Bands are
// 1 / factor (clip mode 1) or the factor (clip mode 0) long; a forced single destination column
// or row stands for the whole region. Elements the call must not write are left alone.
void AreaReference(const CoreCall& call, TestImage& source, TestImage& expected);

// Every element of the two images (fourth elements of AC4 included) agrees: integers within
// `integerTolerance`, floats within 1e-4 relative (1e-4 absolute below 1).
::testing::AssertionResult SameWithin(TestImage& actual, TestImage& expected, double integerTolerance);

}  // namespace resize_test

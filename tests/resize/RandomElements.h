#pragma once
// Random source elements for the kernel tests: any 8u or 16u value; floats from -50 to 300, so
// results leave the 8-bit range on both sides.

#include <cstdint>
#include <random>
#include <type_traits>

namespace resize_test {

template <class T>
T RandomElement(std::mt19937& random) {
    if constexpr (std::is_same_v<T, float>) {
        return std::uniform_real_distribution<float>(-50.0f, 300.0f)(random);
    } else {
        return static_cast<T>(random() % (std::is_same_v<T, std::uint8_t> ? 256 : 65536));
    }
}

}  // namespace resize_test

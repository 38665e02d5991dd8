#pragma once
// A build's table of row drivers: one template per method, instantiated per element type and
// layout over the build's kernel set.

#include "resize/frame/CubicRows.h"
#include "resize/frame/LanczosRows.h"
#include "resize/frame/LinearRows.h"
#include "resize/frame/NearestRows.h"
#include "resize/frame/RowDrivers.h"

namespace resize::frame {

template <class K>
inline constexpr RowDriverEntry RowDriverTableOf[RowDriverCount] = {
    {"ResizeRowsLanczos_8u_Cn", &ResizeRowsLanczosCn<K, std::uint8_t>},
    {"ResizeRowsLanczos_16u_Cn", &ResizeRowsLanczosCn<K, std::uint16_t>},
    {"ResizeRowsLanczos_32f_Cn", &ResizeRowsLanczosCn<K, float>},
    {"ResizeRowsLanczos_8u_C1", &ResizeRowsLanczos<K, std::uint8_t, LayoutC1>},
    {"ResizeRowsLanczos_16u_C1", &ResizeRowsLanczos<K, std::uint16_t, LayoutC1>},
    {"ResizeRowsLanczos_32f_C1", &ResizeRowsLanczos<K, float, LayoutC1>},
    {"ResizeRowsCubic_8u_Cn", &ResizeRowsCubicCn<K, std::uint8_t>},
    {"ResizeRowsCubic_16u_Cn", &ResizeRowsCubicCn<K, std::uint16_t>},
    {"ResizeRowsCubic_32f_Cn", &ResizeRowsCubicCn<K, float>},
    {"ResizeRowsCubic_8u_C1", &ResizeRowsCubic<K, std::uint8_t, LayoutC1>},
    {"ResizeRowsCubic_16u_C1", &ResizeRowsCubic<K, std::uint16_t, LayoutC1>},
    {"ResizeRowsCubic_32f_C1", &ResizeRowsCubic<K, float, LayoutC1>},
    {"ResizeRowsLinear_8u_Cn", &ResizeRowsLinearCn<K, std::uint8_t>},
    {"ResizeRowsLinear_16u_Cn", &ResizeRowsLinearCn<K, std::uint16_t>},
    {"ResizeRowsLinear_32f_Cn", &ResizeRowsLinearCn<K, float>},
    {"ResizeRowsLinear_8u_C1", &ResizeRowsLinear<K, std::uint8_t, LayoutC1>},
    {"ResizeRowsLinear_16u_C1", &ResizeRowsLinear<K, std::uint16_t, LayoutC1>},
    {"ResizeRowsLinear_32f_C1", &ResizeRowsLinear<K, float, LayoutC1>},
    {"ResizeRowsNearest_8u_Cn", &ResizeRowsNearestCn<K, std::uint8_t>},
    {"ResizeRowsNearest_16u_Cn", &ResizeRowsNearestCn<K, std::uint16_t>},
    {"ResizeRowsNearest_32f_Cn", &ResizeRowsNearestCn<K, float>},
    {"ResizeRowsNearest_8u_C1", &ResizeRowsNearest<K, std::uint8_t, LayoutC1>},
    {"ResizeRowsNearest_16u_C1", &ResizeRowsNearest<K, std::uint16_t, LayoutC1>},
    {"ResizeRowsNearest_32f_C1", &ResizeRowsNearest<K, float, LayoutC1>},
    {"ResizeRowsNearest_8u_C4", &ResizeRowsNearest<K, std::uint8_t, LayoutC4>},
    {"ResizeRowsNearest_16u_C4", &ResizeRowsNearest<K, std::uint16_t, LayoutC4>},
    {"ResizeRowsNearest_32f_C4", &ResizeRowsNearest<K, float, LayoutC4>},
};

}  // namespace resize::frame

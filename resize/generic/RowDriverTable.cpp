// The row drivers of this build: one template per method, instantiated per element type and
// layout.

#include "resize/generic/CubicRows.h"
#include "resize/generic/LanczosRows.h"
#include "resize/generic/LinearRows.h"
#include "resize/generic/NearestRows.h"
#include "resize/generic/RowDrivers.h"

namespace resize::generic {

const RowDriverEntry ResizeRowDriverTable[RowDriverCount] = {
    {"ResizeRowsLanczos_8u_Cn", &ResizeRowsLanczosCn<std::uint8_t>},
    {"ResizeRowsLanczos_16u_Cn", &ResizeRowsLanczosCn<std::uint16_t>},
    {"ResizeRowsLanczos_32f_Cn", &ResizeRowsLanczosCn<float>},
    {"ResizeRowsLanczos_8u_C1", &ResizeRowsLanczos<std::uint8_t, LayoutC1>},
    {"ResizeRowsLanczos_16u_C1", &ResizeRowsLanczos<std::uint16_t, LayoutC1>},
    {"ResizeRowsLanczos_32f_C1", &ResizeRowsLanczos<float, LayoutC1>},
    {"ResizeRowsCubic_8u_Cn", &ResizeRowsCubicCn<std::uint8_t>},
    {"ResizeRowsCubic_16u_Cn", &ResizeRowsCubicCn<std::uint16_t>},
    {"ResizeRowsCubic_32f_Cn", &ResizeRowsCubicCn<float>},
    {"ResizeRowsCubic_8u_C1", &ResizeRowsCubic<std::uint8_t, LayoutC1>},
    {"ResizeRowsCubic_16u_C1", &ResizeRowsCubic<std::uint16_t, LayoutC1>},
    {"ResizeRowsCubic_32f_C1", &ResizeRowsCubic<float, LayoutC1>},
    {"ResizeRowsLinear_8u_Cn", &ResizeRowsLinearCn<std::uint8_t>},
    {"ResizeRowsLinear_16u_Cn", &ResizeRowsLinearCn<std::uint16_t>},
    {"ResizeRowsLinear_32f_Cn", &ResizeRowsLinearCn<float>},
    {"ResizeRowsLinear_8u_C1", &ResizeRowsLinear<std::uint8_t, LayoutC1>},
    {"ResizeRowsLinear_16u_C1", &ResizeRowsLinear<std::uint16_t, LayoutC1>},
    {"ResizeRowsLinear_32f_C1", &ResizeRowsLinear<float, LayoutC1>},
    {"ResizeRowsNearest_8u_Cn", &ResizeRowsNearestCn<std::uint8_t>},
    {"ResizeRowsNearest_16u_Cn", &ResizeRowsNearestCn<std::uint16_t>},
    {"ResizeRowsNearest_32f_Cn", &ResizeRowsNearestCn<float>},
    {"ResizeRowsNearest_8u_C1", &ResizeRowsNearest<std::uint8_t, LayoutC1>},
    {"ResizeRowsNearest_16u_C1", &ResizeRowsNearest<std::uint16_t, LayoutC1>},
    {"ResizeRowsNearest_32f_C1", &ResizeRowsNearest<float, LayoutC1>},
    {"ResizeRowsNearest_8u_C4", &ResizeRowsNearest<std::uint8_t, LayoutC4>},
    {"ResizeRowsNearest_16u_C4", &ResizeRowsNearest<std::uint16_t, LayoutC4>},
    {"ResizeRowsNearest_32f_C4", &ResizeRowsNearest<float, LayoutC4>},
};

}  // namespace resize::generic

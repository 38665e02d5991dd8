// The row drivers of this build: one template per method, instantiated per element type and
// layout.

#include "resize/generic/LinearRows.h"
#include "resize/generic/NearestRows.h"
#include "resize/generic/RowDrivers.h"

namespace resize::generic {

const RowDriverEntry ResizeRowDriverTable[RowDriverCount] = {
    {"ResizeRowsLanczos_8u_Cn", nullptr},
    {"ResizeRowsLanczos_16u_Cn", nullptr},
    {"ResizeRowsLanczos_32f_Cn", nullptr},
    {"ResizeRowsLanczos_8u_C1", nullptr},
    {"ResizeRowsLanczos_16u_C1", nullptr},
    {"ResizeRowsLanczos_32f_C1", nullptr},
    {"ResizeRowsCubic_8u_Cn", nullptr},
    {"ResizeRowsCubic_16u_Cn", nullptr},
    {"ResizeRowsCubic_32f_Cn", nullptr},
    {"ResizeRowsCubic_8u_C1", nullptr},
    {"ResizeRowsCubic_16u_C1", nullptr},
    {"ResizeRowsCubic_32f_C1", nullptr},
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

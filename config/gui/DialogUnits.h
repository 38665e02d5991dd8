#pragma once
// Dialog templates place their controls in dialog units of the 8-point
// dialog font: a quarter of its average character width across, an eighth
// of its height down.

#include <QRect>

namespace config {

inline QRect Dlu(int x, int y, int width, int height) {
    return {x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8};
}

}  // namespace config

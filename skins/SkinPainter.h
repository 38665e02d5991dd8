#pragma once
// Draws one picture of the skin set at its own size.

#include <QImage>

#include "skins/SkinTable.h"

namespace skins {

QImage PaintSkinPicture(const SkinPicture& picture);

}  // namespace skins

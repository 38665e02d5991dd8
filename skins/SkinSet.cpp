#include "skins/SkinSet.h"

#include <QImage>
#include <QString>

#include <system_error>

#include "skins/SkinPainter.h"
#include "skins/SkinTable.h"

namespace skins {

SkinSetResult WriteSkinSet(const std::filesystem::path& folder) {
    SkinSetResult result;
    for (const SkinPicture& picture : SkinPictures()) {
        const std::filesystem::path path = folder / picture.name;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        const QImage image = PaintSkinPicture(picture).convertToFormat(QImage::Format_RGB888);
        if (!ec && image.save(QString::fromStdString(path.string()), "BMP"))
            ++result.written;
        else
            result.failed.push_back(picture.name);
    }
    return result;
}

bool WriteProgramIcon(const std::filesystem::path& file, int size) {
    for (const SkinPicture& picture : SkinPictures()) {
        if (picture.name != "BMP/snapshoot.bmp")
            continue;
        SkinPicture icon = picture;
        icon.width = size;
        icon.height = size;
        return PaintSkinPicture(icon).save(QString::fromStdString(file.string()), "PNG");
    }
    return false;
}

}  // namespace skins

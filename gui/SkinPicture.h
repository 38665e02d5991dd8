#pragma once
// Skin pictures: read at run time from the program folder, their names
// matched without regard to letter case. A missing or unreadable picture is a
// null pixmap; every window that draws one has its own replacement.

#include <QColor>
#include <QPixmap>

#include <filesystem>
#include <string_view>

namespace session {

class AppData;

// The skin's own colours, also what a window draws where a picture is missing.
inline const QColor kSkinGrey{221, 221, 221};
inline const QColor kSkinLightBlue{157, 216, 244};
inline const QColor kSkinBlue{0, 20, 255};

// The program folder the settings found at load, else platform::ProgramFolder().
std::filesystem::path ProgramFolderOf(const AppData& app);

// The picture at `relative` ("/"-separated) under the program folder, else
// under the shipped folders; null when missing.
QPixmap LoadSkinPicture(const std::filesystem::path& programFolder, std::string_view relative);

}  // namespace session

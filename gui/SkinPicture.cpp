#include "gui/SkinPicture.h"

#include <QString>

#include "platform/ProgramFolder.h"
#include "session/AppData.h"

namespace session {

std::filesystem::path ProgramFolderOf(const AppData& app) {
    const std::string folder = app.CSettingINI.m_strAppPath.Get();
    return folder.empty() ? platform::ProgramFolder() : std::filesystem::path(folder);
}

QPixmap LoadSkinPicture(const std::filesystem::path& programFolder, std::string_view relative) {
    const auto path = platform::FindShippedFile(programFolder, relative);
    if (!path)
        return {};
    return QPixmap(QString::fromStdString(path->string()));
}

}  // namespace session

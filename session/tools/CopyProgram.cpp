#include "session/tools/CopyProgram.h"

#include <cstdio>
#include <system_error>

#include "platform/FindFile.h"
#include "platform/ProgramFolder.h"
#include "session/files/ProfileFile.h"
#include "session/files/SettingsFile.h"

namespace session {
namespace {

// Key numbers of the folders a copy points at itself.
constexpr int kRecordPathKey = 27;
constexpr int kSnapshotPathKey = 28;
constexpr int kTriggerWavPathKey = 38;

bool WriteFolderKeys(const std::filesystem::path& destination, const CSettingINI& settings) {
    std::string folder = destination.string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    const auto file = destination / "Setting.ini";
    ProfileFile profile;
    // No copied Setting.ini: a file with only these keys. One that cannot be
    // read is not replaced by a file that lost its lines.
    std::error_code ec;
    if (!profile.Load(file) && std::filesystem::exists(file, ec))
        return false;
    const std::string& section = settings.m_strKeyName[0];
    profile.Set(section, settings.m_strKeyName[kRecordPathKey], folder);
    profile.Set(section, settings.m_strKeyName[kSnapshotPathKey], folder);
    profile.Set(section, settings.m_strKeyName[kTriggerWavPathKey], folder + "alarm.wav");
    return profile.Save(file);
}

}  // namespace

std::string FormatCopyPercent(int percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%3d%%", percent);
    return text;
}

CopyProgramReport CopyProgramFiles(const std::filesystem::path& source, const std::filesystem::path& destination,
                                   const CSettingINI& settings, const std::function<void(int percent)>& progress,
                                   std::stop_token stop) {
    CopyProgramReport report;
    std::error_code ignored;  // an existing folder is fine; a missing one fails the copies below
    std::filesystem::create_directories(destination / "BMP" / "LOGIN", ignored);

    // The running program's own folder takes its programs and shipped files
    // from where they were installed.
    std::error_code ec;
    const bool ownFolder = std::filesystem::equivalent(source, platform::ProgramFolder(), ec);
    const auto find = [&](std::string_view name) {
        return ownFolder ? platform::FindShippedFile(source, name) : platform::FindPathIgnoringCase(source, name);
    };
    const auto files = CopyProgramFileList();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop.stop_requested()) {
            report.stopped = true;
            return report;
        }
        const std::string name(files[i]);
        if (const auto from = find(name); !from) {
            report.missing.push_back(name);
        } else {
            std::error_code ec;
            const bool copied = std::filesystem::is_regular_file(*from, ec) &&
                                std::filesystem::copy_file(*from, destination / name,
                                                           std::filesystem::copy_options::overwrite_existing, ec);
            if (copied && !ec)
                ++report.copied;
            else
                report.failed.push_back(name);
        }
        if (progress)
            progress(static_cast<int>((i + 1) * 100 / files.size()));
    }
    report.settingsWritten = WriteFolderKeys(destination, settings);
    return report;
}

}  // namespace session

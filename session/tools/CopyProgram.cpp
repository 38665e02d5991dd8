#include "session/tools/CopyProgram.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
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

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

constexpr std::string_view kSkinFolder = "BMP";

bool IsSkinFile(std::string_view name) {
    return name.size() > kSkinFolder.size() && Lower(std::string(name.substr(0, kSkinFolder.size() + 1))) == "bmp/";
}

// The files under the roots' skin folders that `listed` (lower-cased) lacks,
// as "BMP/..." names in their own letter case, sorted; a name found under
// several roots is taken from the first.
std::vector<std::string> SkinFilesBeyondList(const std::vector<std::filesystem::path>& roots,
                                             std::set<std::string> listed) {
    std::vector<std::string> found;
    for (const auto& root : roots) {
        const auto skins = platform::FindPathIgnoringCase(root, kSkinFolder);
        std::error_code ec;
        if (!skins || !std::filesystem::is_directory(*skins, ec))
            continue;
        for (auto it = std::filesystem::recursive_directory_iterator(*skins, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file(ec))
                continue;
            const std::string name =
                std::string(kSkinFolder) + "/" + std::filesystem::relative(it->path(), *skins, ec).generic_string();
            if (listed.insert(Lower(name)).second)
                found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The program's own files as a person calls them.
struct OwnFile {
    std::string_view name;
    std::string_view words;
};
constexpr OwnFile kOwnFiles[] = {
    {"quenlo", "the program"},
    {"ravelle", "the companion player"},
    {"Setting.ini", "the settings"},
    {"CtrlFile.ini", "the control-device file"},
    {"AlarmData.dat", "the alarm list"},
    {"alarm.wav", "the alarm sound"},
};

std::string Words(const std::string& name) {
    for (const OwnFile& file : kOwnFiles)
        if (file.name == name)
            return std::string(file.words) + " (" + name + ")";
    return name;
}

// "a", "a and b", "a, b and c".
std::string JoinAsList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

constexpr std::size_t kNamesShown = 5;  // failed files named in the summary

}  // namespace

std::string DescribeCopy(const CopyProgramReport& report, const std::filesystem::path& destination) {
    if (report.stopped)
        return "The copy did not run to its end.";
    std::vector<std::string> copied;
    for (const auto& name : report.programFiles)
        copied.push_back(Words(name));
    if (report.pictures > 0)
        copied.push_back(std::to_string(report.pictures) + " skin picture" + (report.pictures == 1 ? "" : "s"));
    std::string text = copied.empty() ? "Nothing was copied to " + destination.string() + "."
                                      : "Copied to " + destination.string() + ": " + JoinAsList(copied) + ".";
    std::vector<std::string> absent;
    for (const auto& name : report.missing)
        if (!IsSkinFile(name))
            absent.push_back(Words(name));
    if (!absent.empty())
        text += "\nNot in the program folder, so not in the copy: " + JoinAsList(absent) + ".";
    if (!report.failed.empty()) {
        std::vector<std::string> shown(report.failed.begin(),
                                       report.failed.begin() + std::min(report.failed.size(), kNamesShown));
        if (report.failed.size() > kNamesShown)
            shown.push_back(std::to_string(report.failed.size() - kNamesShown) + " more");
        text += "\nThe copy is incomplete: " + std::to_string(report.failed.size()) + " file" +
                (report.failed.size() == 1 ? "" : "s") + " could not be written (" + JoinAsList(shown) + ").";
    }
    if (!report.settingsWritten)
        text += "\nThe copy's Setting.ini could not be written, so the copy keeps this program's folders.";
    return text;
}

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
    std::vector<std::string> files(CopyProgramFileList().begin(), CopyProgramFileList().end());
    std::set<std::string> listed;
    for (const auto& name : files)
        listed.insert(Lower(name));
    std::vector<std::filesystem::path> roots{source};
    if (ownFolder)
        for (const auto& folder : platform::ShippedFolders())
            roots.push_back(folder);
    for (auto& name : SkinFilesBeyondList(roots, std::move(listed)))
        files.push_back(std::move(name));

    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop.stop_requested()) {
            report.stopped = true;
            return report;
        }
        const std::string& name = files[i];
        if (const auto from = find(name); !from) {
            report.missing.push_back(name);
        } else {
            std::error_code ec;
            const auto to = destination / name;
            std::filesystem::create_directories(to.parent_path(), ec);
            const bool copied = std::filesystem::is_regular_file(*from, ec) &&
                                std::filesystem::copy_file(*from, to, std::filesystem::copy_options::overwrite_existing, ec);
            if (copied && !ec) {
                ++report.copied;
                if (IsSkinFile(name))
                    ++report.pictures;
                else
                    report.programFiles.push_back(name);
            } else {
                report.failed.push_back(name);
            }
        }
        if (progress)
            progress(static_cast<int>((i + 1) * 100 / files.size()));
    }
    report.settingsWritten = WriteFolderKeys(destination, settings);
    return report;
}

}  // namespace session

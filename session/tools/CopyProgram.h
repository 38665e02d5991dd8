#pragma once
// A runnable copy of the program in another folder (a removable disk, say):
// the program's own files and skin pictures, then the copy's Setting.ini
// pointed at its new folder for recordings, snapshots and the alarm sound.
//
// The list names the original program's files; our skin set is not the same
// set of pictures, so after the list's files the copy takes every file of the
// skin folder that the list lacks, and the copy's windows find each picture
// they load.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace session {

class CSettingINI;

// The files a copy takes, relative to the program folder, in copy order.
std::span<const std::string_view> CopyProgramFileList();

struct CopyProgramReport {
    std::size_t copied = 0;
    std::size_t pictures = 0;                // of those, the skin pictures (BMP/)
    std::vector<std::string> programFiles;   // of those, the program's own files, in copy order
    std::vector<std::string> missing;  // not in the program folder: skipped
    std::vector<std::string> failed;   // in the program folder, but not copied
    bool settingsWritten = false;      // the copy's Setting.ini holds its three folder keys
    bool stopped = false;              // a stop request ended the copy early

    bool Complete() const { return failed.empty() && settingsWritten && !stopped; }
};

// The percentage as the copy dialog shows it ("%3d%%": "  0%", " 42%", "100%").
std::string FormatCopyPercent(int percent);

// Copies the list from `source` into `destination` (sources found without
// regard to letter case, copies named as listed, existing files replaced),
// then every file under the source's skin folder the list does not name
// (case-blind); for the running program's own folder the shipped folders'
// files count as its own. Calls progress with (i + 1) * 100 / count after file
// i of both passes, copied or not.
// Then writes, in the copy's Setting.ini (created when it was not copied),
// the record and snapshot folders as the destination with a trailing "/" and
// the alarm sound as destination + "alarm.wav", under the settings' own
// section and key names. A stop request ends the copy between two files.
CopyProgramReport CopyProgramFiles(const std::filesystem::path& source, const std::filesystem::path& destination,
                                   const CSettingINI& settings, const std::function<void(int percent)>& progress,
                                   std::stop_token stop = {});

// What a copy did, in words for the person who asked for it: what went where,
// which of the program's files were not there to copy, and what failed.
std::string DescribeCopy(const CopyProgramReport& report, const std::filesystem::path& destination);

}  // namespace session

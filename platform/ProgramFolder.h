#pragma once
// Where the program's files live.
//
// The program folder holds what the user's runs write and read back
// (Setting.ini, IPRecord.dat, AlarmData.dat, trace.log): $QUENLO_HOME when
// set; else the executable's folder when it is writable and holds Setting.ini
// (a portable copy, such as the copy-program dialog makes); else
// $XDG_DATA_HOME/quenlo (~/.local/share/quenlo by default). $QUENLO_HOME and
// the XDG folder are made when they do not exist.
//
// The files the program ships (CtrlFile.ini, the skin pictures of BMP/, the
// programs beside the client) are read from the program folder when it holds
// them, else from the installed data folder (<prefix>/share/quenlo beside
// <prefix>/bin), else from the executable's folder (a build tree).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::filesystem::path ProgramFolder();

// The program folder a run from `executableFolder` uses (ProgramFolder() with
// the running executable's folder).
std::filesystem::path ProgramFolderFor(const std::filesystem::path& executableFolder);

// Why the program folder cannot hold the user's files (it could not be made,
// or cannot be written); empty when it can.
std::string ProgramFolderProblem(const std::filesystem::path& folder);

// The folder of the running executable.
std::filesystem::path ExecutableFolder();

// The folders of the shipped files after the program folder, in look-up order.
std::vector<std::filesystem::path> ShippedFolders();

// Replaces the shipped folders (nullopt: back to the installed ones), so a
// test can run as a program without shipped files.
void SetShippedFolders(std::optional<std::vector<std::filesystem::path>> folders);

// `relative` ("/"-separated, matched without regard to letter case) under
// `programFolder`, else under the shipped folders; nullopt when none has it.
std::optional<std::filesystem::path> FindShippedFile(const std::filesystem::path& programFolder,
                                                     std::string_view relative);

// The user's home folder (stands in for a drive root default), and the XDG desktop folder.
std::filesystem::path HomeFolder();
std::filesystem::path DesktopFolder();

}  // namespace platform

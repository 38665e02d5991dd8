#pragma once
// CtrlFile.ini: the RS-485 command bytes of each kind of linked control
// device, read once at start-up and bound to the linked-device types. The
// templates are kept parsed, so sending a command needs no text handling.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "session/devices/ControlDeviceList.h"

namespace mainwindow {

inline constexpr std::size_t kControlParamCount = 16;
inline constexpr std::size_t kControlCommandCount = 67;  // sections 2-68, by panel index
inline constexpr std::size_t kControlNameMax = 79;
// Records the file may announce; a larger count is refused as bad input.
inline constexpr std::uint32_t kControlRecordMax = 256;

struct ControlCommandTemplate {
    // Each byte is a literal, or a placeholder code 0-15 that the sender fills.
    std::vector<std::uint8_t> pBytes;  // byCount() bytes; none: the device has no such command
    std::bitset<256> placeholders;      // bit i: byte i is a placeholder

    std::uint8_t byCount() const { return static_cast<std::uint8_t>(pBytes.size()); }
    bool IsPlaceholder(std::size_t i) const { return i < pBytes.size() && placeholders[i]; }
};

struct ControlProtocolRecord {
    std::array<std::uint8_t, kControlParamCount> byParams{};
    ControlCommandTemplate Power;
    std::string szName;
    std::array<ControlCommandTemplate, kControlCommandCount> Commands;
    std::uint8_t byDisplay = 0;  // nothing reads it
};

// A report of the reader: the string id of its message and the line (from 1;
// 0 for the file as a whole).
struct ControlFileProblem {
    unsigned messageId = 0;
    std::size_t line = 0;

    friend bool operator==(const ControlFileProblem&, const ControlFileProblem&) = default;
};

struct ControlFileResult {
    bool ok = false;  // the end line was reached
    std::vector<ControlFileProblem> problems;  // in file order, for the caller to show
};

// Message ids of the reader.
inline constexpr unsigned kMsgControlFileUnreadable = 4094;
inline constexpr unsigned kMsgControlLineWithoutSection = 4084;
inline constexpr unsigned kMsgControlTemplateShort = 4051;

class ControlFile {
public:
    ControlFile() = default;
    ControlFile(const ControlFile&) = delete;
    ControlFile& operator=(const ControlFile&) = delete;

    // dw_ControlFileRecordCount: the number the file announced.
    std::uint32_t RecordCount() const { return static_cast<std::uint32_t>(records_.size()); }
    const std::vector<ControlProtocolRecord>& Records() const { return records_; }
    // The record bound to the linked-device type; null when none is.
    const ControlProtocolRecord* ProtocolOf(std::uint8_t typeCode) const;

    void Clear();

private:
    friend ControlFileResult ParseControlFile(std::string_view content, ControlFile& file);
    friend bool BindControlProtocols(ControlFile& file);

    std::vector<ControlProtocolRecord> records_;
    std::array<const ControlProtocolRecord*, kLinkedDeviceTypeCount> bound_{};
};

// CtrlFile.ini in the program folder.
std::filesystem::path ControlFilePath();

// Reads the file into `file` (cleared first). A file that cannot be read, or
// that stops before its end line, gives 4094 and no records.
ControlFileResult LoadControlFile(const std::filesystem::path& path, ControlFile& file);
ControlFileResult ParseControlFile(std::string_view content, ControlFile& file);

// Binds each linked-device type to the first record of its exact name; types
// without one stay unbound. Returns true.
bool BindControlProtocols(ControlFile& file);

}  // namespace mainwindow

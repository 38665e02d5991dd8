#include "session/devices/ControlFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <system_error>

#include "platform/AsciiText.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"

namespace mainwindow {

namespace {

// The file is small; anything far larger is not a command file.
constexpr std::uintmax_t kControlFileMaxBytes = 4 * 1024 * 1024;
constexpr std::size_t kLineMax = 129;

constexpr int kNoSection = -1;
constexpr int kSectionDeviceNumber = 0;
constexpr int kSectionDeviceName = 1;
constexpr int kSectionFirstCommand = 2;
constexpr int kSectionLastCommand = 68;
constexpr int kSectionParameter = 69;
constexpr int kSectionPower = 70;
constexpr int kSectionEof = 71;
constexpr int kSectionDisplay = 72;

// Section headers by section index.
constexpr std::string_view kControlSectionTable[] = {
    "[DEVICE NUMBER]", "[DEVICE NAME]", "[CH1]", "[CH2]", "[CH3]", "[CH4]", "[CH5]", "[CH6]",
    "[CH7]", "[CH8]", "[CH9]", "[CH10]", "[CH11]", "[CH12]", "[CH13]", "[CH14]", "[CH15]",
    "[CH16]", "[UP_PIP]", "[UP_QUAD]", "[4CUT]", "[9CUT]", "[16CUT]", "[PIP]", "[POP]",
    "[58317]", "[AUTO]", "[ESC]", "[VCR]", "[LIVE]", "[QUAD]", "[FREEZE]", "[ZOOM_IN]",
    "[ZOOM_OUT]", "[FOCUS_IN]", "[FOCUS_OUT]", "[PLUSE]", "[MINUS]", "[REMOTE_RECORD]",
    "[REBOOT]", "[ESCAPE]", "[SEC_ENTER]", "[STOP_RECORD]", "[RECORDING]", "[ZOOM]", "[SELECT]",
    "[LOCK]", "[SEARCH]", "[ENTER]", "[STOP]", "[RECORD]", "[REW]", "[FAST]", "[PAUSE]",
    "[SLOW]", "[PLAY]", "[JOYSTICK_LEFT]", "[JOYSTICK_UP]", "[JOYSTICK_MENU]",
    "[JOYSTICK_DOWN]", "[JOYSTICK_RIGHT]", "[TURBO]", "[PTZ]", "[ALARM]", "[ZOOM_IN_MAX]",
    "[ZOOM_OUT_MAX]", "[DIGITAL_ZOOM]", "[SET]", "[SEQUENCE]", "[PARAMETER]", "[POWER]",
    "[EOF]", "[DISPLAY]",
};
static_assert(std::size(kControlSectionTable) == 73);

int FindSection(std::string_view header) {
    for (std::size_t i = 0; i < std::size(kControlSectionTable); ++i)
        if (kControlSectionTable[i] == header)
            return static_cast<int>(i);
    return kNoSection;
}

// Only the printable characters of a line count, upper-cased, at most kLineMax.
std::string KeptLine(std::string_view raw) {
    std::string line;
    for (const char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E)
            continue;
        if (line.size() < kLineMax)
            line.push_back(platform::AsciiUpper(c));
    }
    return line;
}

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

char CharAt(std::string_view line, std::size_t i) { return i < line.size() ? line[i] : '\0'; }

// Two characters as a hex byte; a character that is no hex digit counts 0.
std::uint8_t ParseHexByte(std::string_view line, std::size_t at) {
    const unsigned high = HexDigit(CharAt(line, at)).value_or(0);
    const unsigned low = HexDigit(CharAt(line, at + 1)).value_or(0);
    return static_cast<std::uint8_t>(high * 16 + low);
}

// Leading decimal digits after any spaces; nullopt when there are none.
std::optional<std::uint32_t> ParseDecimal(std::string_view line) {
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos || !(line[i] >= '0' && line[i] <= '9'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = std::min<std::uint64_t>(value * 10 + (line[i] - '0'), UINT32_MAX);
    return static_cast<std::uint32_t>(value);
}

// "0xNN 0xB1 0x%D ...": a count, then that many items, each after an "X".
// False when the line has no count or ends before its items (the missing bytes stay 0).
bool ParseCommandTemplate(std::string_view line, ControlCommandTemplate& out) {
    out = {};
    const auto countAt = line.find('X');
    if (countAt == std::string_view::npos)
        return false;
    const std::uint8_t count = ParseHexByte(line, countAt + 1);
    out.pBytes.assign(count, 0);
    std::size_t from = countAt + 3;
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = from < line.size() ? line.find('X', from) : std::string_view::npos;
        if (x == std::string_view::npos)
            return false;
        const auto placeholder = HexDigit(CharAt(line, x + 2));
        if (CharAt(line, x + 1) == '%' && placeholder) {
            out.pBytes[i] = static_cast<std::uint8_t>(*placeholder);
            out.placeholders.set(i);
        } else {
            out.pBytes[i] = ParseHexByte(line, x + 1);
        }
        from = x + 3;
    }
    return true;
}

// "%d = 0xNN": parameter d (0-9) takes the byte. False when the line does not say both.
bool ParseParameter(std::string_view line, ControlProtocolRecord& record) {
    const auto percent = line.find('%');
    if (percent == std::string_view::npos)
        return false;
    const char digit = CharAt(line, percent + 1);
    if (digit < '0' || digit > '9')
        return false;
    const auto x = line.find('X', percent + 2);
    if (x == std::string_view::npos)
        return false;
    record.byParams[digit - '0'] = ParseHexByte(line, x + 1);
    return true;
}

}  // namespace

const ControlProtocolRecord* ControlFile::ProtocolOf(std::uint8_t typeCode) const {
    return typeCode < bound_.size() ? bound_[typeCode] : nullptr;
}

void ControlFile::Clear() {
    records_.clear();
    bound_.fill(nullptr);
}

std::filesystem::path ControlFilePath() {
    const auto folder = platform::ProgramFolder();
    return platform::FindShippedFile(folder, "CtrlFile.ini").value_or(folder / "CtrlFile.ini");
}

ControlFileResult LoadControlFile(const std::filesystem::path& path, ControlFile& file) {
    file.Clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::string content;
    if (ec || size > kControlFileMaxBytes || !platform::ReadWholeFile(path, content))
        return {false, {{kMsgControlFileUnreadable, 0}}};
    return ParseControlFile(content, file);
}

ControlFileResult ParseControlFile(std::string_view content, ControlFile& file) {
    file.Clear();
    ControlFileResult result;
    auto report = [&](unsigned id, std::size_t line) { result.problems.push_back({id, line}); };

    int section = kNoSection;
    ControlProtocolRecord* record = nullptr;  // the record started last
    std::size_t nextRecord = 0;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos < content.size()) {
        auto end = content.find('\n', pos);
        if (end == std::string_view::npos)
            end = content.size();
        const std::string line = KeptLine(content.substr(pos, end - pos));
        pos = end + 1;
        ++lineNumber;

        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            section = FindSection(line);
            continue;
        }
        if (section == kNoSection) {
            report(kMsgControlLineWithoutSection, lineNumber);
            continue;
        }
        if (section == kSectionEof) {
            if (line == "END") {
                result.ok = true;
                return result;
            }
            continue;
        }
        if (section == kSectionDeviceNumber) {
            const auto count = ParseDecimal(line);
            if (!count || *count > kControlRecordMax) {
                report(kMsgControlLineWithoutSection, lineNumber);
                continue;
            }
            file.records_.assign(*count, ControlProtocolRecord{});
            record = nullptr;
            nextRecord = 0;
            continue;
        }
        if (section == kSectionDeviceName) {
            if (nextRecord >= file.records_.size()) {
                // More names than the announced count: no record to hold it.
                report(kMsgControlLineWithoutSection, lineNumber);
                continue;
            }
            record = &file.records_[nextRecord++];
            record->szName = line.substr(0, kControlNameMax);
            continue;
        }
        if (!record) {
            // A command, parameter, power or display line before any device name.
            report(kMsgControlLineWithoutSection, lineNumber);
            continue;
        }
        bool understood = true;
        if (section >= kSectionFirstCommand && section <= kSectionLastCommand)
            understood = ParseCommandTemplate(line, record->Commands[section - kSectionFirstCommand]);
        else if (section == kSectionPower)
            understood = ParseCommandTemplate(line, record->Power);
        else if (section == kSectionParameter)
            understood = ParseParameter(line, *record);
        else if (section == kSectionDisplay)
            record->byDisplay = static_cast<std::uint8_t>(ParseDecimal(line).value_or(0));
        if (!understood)
            report(kMsgControlTemplateShort, lineNumber);
    }
    // The data ended before the end line: the file is cut short.
    file.Clear();
    report(kMsgControlFileUnreadable, 0);
    return result;
}

bool BindControlProtocols(ControlFile& file) {
    for (std::size_t type = 0; type < kLinkedDeviceTypeCount; ++type) {
        file.bound_[type] = nullptr;
        for (const auto& record : file.records_) {
            if (record.szName == kLinkedDeviceTypes[type].pszName) {
                file.bound_[type] = &record;
                break;
            }
        }
    }
    return true;
}

}  // namespace mainwindow

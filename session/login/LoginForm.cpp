#include "session/login/LoginForm.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/AsciiText.h"

namespace session {
namespace {

constexpr int kPortMax = 9999;

// The decimal number of the leading digits, held at `limit`; nullopt without one.
std::optional<long long> LeadingNumber(std::string_view text, long long limit) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i == text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(limit, value * 10 + (text[i] - '0'));
    return value;
}

}  // namespace

std::uint16_t PortFromText(std::string_view text) {
    // A number past 32 bits is held there before its low 16 bits are taken.
    const long long value = LeadingNumber(text, 0x7FFFFFFF).value_or(0);
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

int FilterPortText(std::string_view text, int previous) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
    const auto number = LeadingNumber(digits, kPortMax + 1);
    const long long port = number ? *number : previous;
    if (port > kPortMax)
        return kPortMax;
    return port <= 0 ? 0 : static_cast<int>(port);
}

std::string_view LoginFailureText(int failure) {
    switch (static_cast<LoginFailure>(failure)) {
    case LoginFailure::ProcedureFailed:
        return "Login procedure failed";
    case LoginFailure::TooManyUsers:
        return "Too many user";
    case LoginFailure::UnsupportedDevice:
        return "No support this device";
    }
    return {};
}

std::string FindNewestRecordFile(const std::filesystem::path& recordFolder) {
    if (recordFolder.empty())
        return {};
    struct Candidate {
        std::string name;
        std::filesystem::file_time_type time;
    };
    std::vector<Candidate> candidates;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(recordFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code fileError;
        if (!platform::EqualsIgnoringAsciiCase(it->path().extension().string(), ".kfr") ||
            !it->is_regular_file(fileError))
            continue;
        const auto time = it->last_write_time(fileError);
        if (!fileError)
            candidates.push_back({std::move(name), time});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) { return a.name < b.name; });
    const Candidate* best = nullptr;
    for (const auto& c : candidates)
        if (!best || c.time > best->time)
            best = &c;
    if (!best)
        return {};
    std::string folder = recordFolder.string();
    if (folder.back() != '/')
        folder += '/';
    return folder + best->name;
}

}  // namespace session

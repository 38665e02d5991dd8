#include "session/files/AddressBook.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform/ByteOrder.h"
#include "platform/MoveAside.h"
#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"
#include "session/live/LocalClock.h"

namespace session {

namespace {

constexpr std::uint32_t kCheckCode1 = 0x12121212;
constexpr std::uint32_t kCheckCode2 = 0x4C4C4C4C;
constexpr std::uint32_t kCheckCode3 = 0x8A8A8A8A;

// Field offsets within a record.
constexpr std::size_t kOffCheck1 = 0;
constexpr std::size_t kOffUser = 4;
constexpr std::size_t kOffCheck2 = 132;
constexpr std::size_t kOffAddress = 136;
constexpr std::size_t kOffCheck3 = 264;
constexpr std::size_t kOffComment = 268;
constexpr std::size_t kOffPort = 396;

void PutText(IPRecordBytes& b, std::size_t off, std::string_view utf8) {
    const std::string stored = EncodeTextField(utf8);
    std::memcpy(b.data() + off, stored.data(), stored.size());
}

// The text up to its first zero byte; a field without one (not written by
// this program) is read over its whole 128 bytes.
std::string GetText(std::span<const std::uint8_t, kIPRecordSize> b, std::size_t off) {
    const auto* first = reinterpret_cast<const char*>(b.data() + off);
    const auto* end = std::find(first, first + kIPRecordTextField, '\0');
    return platform::DecodeText(std::string_view(first, end - first));
}

std::optional<IPRecord> MakeRecord(const AddressFields& f, unsigned& refusal) {
    if (f.user.empty() || f.address.empty()) {
        refusal = kMsgUserAndAddressEmpty;
        return std::nullopt;
    }
    const auto port = ParseWebPort(f.port);
    if (!port) {
        refusal = kMsgWebPortRange;
        return std::nullopt;
    }
    refusal = 0;
    return IPRecord{FitTextField(f.user), FitTextField(f.address), FitTextField(f.comment), *port};
}

}  // namespace

std::string EncodeTextField(std::string_view utf8) {
    if (!platform::IsValidUtf8(utf8))  // not ours to guess at; keep what Windows-1250 can hold
        return platform::Utf8ToWindows1250(utf8).substr(0, kIPRecordTextMax);
    std::string cp1250 = platform::Utf8ToWindows1250(utf8);
    if (platform::Windows1250ToUtf8(cp1250) == utf8) {  // every character has a Windows-1250 form
        cp1250.resize(std::min(cp1250.size(), kIPRecordTextMax));
        // Only when it reads back as written: Windows-1250 bytes that happen to
        // form valid UTF-8 would be read as UTF-8.
        if (platform::DecodeText(cp1250) == platform::Windows1250ToUtf8(cp1250))
            return cp1250;
    }
    return std::string(platform::CutUtf8(utf8, kIPRecordTextMax));
}

std::string FitTextField(std::string_view utf8) {
    return platform::DecodeText(EncodeTextField(utf8));
}

IPRecordBytes EncodeIPRecord(const IPRecord& record) {
    IPRecordBytes b{};
    platform::StoreLe32(&b[kOffCheck1], kCheckCode1);
    PutText(b, kOffUser, record.user);
    platform::StoreLe32(&b[kOffCheck2], kCheckCode2);
    PutText(b, kOffAddress, record.address);
    platform::StoreLe32(&b[kOffCheck3], kCheckCode3);
    PutText(b, kOffComment, record.comment);
    platform::StoreLe16(&b[kOffPort], record.webPort);
    return b;
}

std::optional<IPRecord> DecodeIPRecord(std::span<const std::uint8_t, kIPRecordSize> b, int* badCheck) {
    const struct {
        std::size_t offset;
        std::uint32_t code;
    } checks[] = {{kOffCheck1, kCheckCode1}, {kOffCheck2, kCheckCode2}, {kOffCheck3, kCheckCode3}};
    for (int i = 0; i < 3; ++i) {
        if (platform::LoadLe32(&b[checks[i].offset]) != checks[i].code) {
            if (badCheck)
                *badCheck = i + 1;
            return std::nullopt;
        }
    }
    IPRecord r;
    r.user = GetText(b, kOffUser);
    r.address = GetText(b, kOffAddress);
    r.comment = GetText(b, kOffComment);
    r.webPort = platform::LoadLe16(&b[kOffPort]);
    return r;
}

std::optional<std::uint16_t> ParseWebPort(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < kMinWebPort || value > kMaxWebPort)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::filesystem::path AddressBook::DefaultPath() {
    return platform::ProgramFolder() / kIPRecordFileName;
}

platform::FileResult AddressBook::Load(const std::filesystem::path& path) {
    entries_.clear();
    loaded_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        auto created = platform::ReplaceFileAtomically(path, std::string_view{});
        if (!created)
            return created;
        return {true, {}};
    }
    std::string content;
    auto read = platform::ReadWholeFile(path, content, kIPRecordFileMaxBytes);
    if (read.tooLarge) {
        std::filesystem::path aside;
        const auto moved = platform::MoveFileAside(path, LocalCalendarTime(), &aside);
        read.error += moved ? "; it was moved to " + aside.string() : "; " + moved.error;
    }
    if (!read)
        return read;

    return Parse(content, path.string());
}

platform::FileResult AddressBook::Parse(std::string_view content, const std::string& name) {
    entries_.clear();
    loaded_.clear();
    std::vector<IPRecord> entries;
    std::vector<std::optional<IPRecordBytes>> loaded;
    const std::size_t count = content.size() / kIPRecordSize;
    entries.reserve(count);
    loaded.reserve(count);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
    for (std::size_t i = 0; i < count; ++i) {
        const std::span<const std::uint8_t, kIPRecordSize> raw(bytes + i * kIPRecordSize, kIPRecordSize);
        int badCheck = 0;
        auto record = DecodeIPRecord(raw, &badCheck);
        if (!record) {
            return {false, name + ": record " + std::to_string(i + 1) + " is damaged (check code " +
                               std::to_string(badCheck) + "); the file was left as it is"};
        }
        entries.push_back(std::move(*record));
        loaded.emplace_back(std::in_place);
        std::copy(raw.begin(), raw.end(), loaded.back()->begin());
    }
    entries_ = std::move(entries);
    loaded_ = std::move(loaded);
    return {true, {}};
}

platform::FileResult AddressBook::Save(const std::filesystem::path& path) const {
    return platform::ReplaceFileAtomically(path, [this](std::FILE* f) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            // The original program's record as it was, unless the entry has changed since.
            const auto& loaded = loaded_[i];
            const auto bytes =
                loaded && DecodeIPRecord(*loaded) == entries_[i] ? *loaded : EncodeIPRecord(entries_[i]);
            if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
                return false;
        }
        return true;
    });
}

unsigned AddressBook::Add(const AddressFields& fields) {
    unsigned refusal = 0;
    auto record = MakeRecord(fields, refusal);
    if (record) {
        entries_.push_back(std::move(*record));
        loaded_.emplace_back();
    }
    return refusal;
}

unsigned AddressBook::Replace(std::size_t index, const AddressFields& fields) {
    if (index >= entries_.size())
        return kMsgSelectEntry;
    unsigned refusal = 0;
    auto record = MakeRecord(fields, refusal);
    if (record)
        entries_[index] = std::move(*record);
    return refusal;
}

void AddressBook::Remove(std::size_t index) {
    if (index < entries_.size()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
        loaded_.erase(loaded_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

}  // namespace session

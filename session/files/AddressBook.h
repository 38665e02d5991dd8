#pragma once
// The address book: the devices the operator connects to, kept in IPRecord.dat
// in the program folder as 400-byte records without a header.
//
// Record layout (little-endian): check code 0x12121212, user name [128],
// check code 0x4C4C4C4C, device address [128], check code 0x8A8A8A8A,
// comment [128], web port u16, two zero bytes. A text field holds at most 127
// bytes followed by zeros.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"

namespace session {

inline constexpr std::size_t kIPRecordSize = 400;
inline constexpr std::size_t kIPRecordTextField = 128;
inline constexpr std::size_t kIPRecordTextMax = kIPRecordTextField - 1;
inline constexpr const char* kIPRecordFileName = "IPRecord.dat";
// Ten thousand entries; a larger file is not an address book of ours.
inline constexpr std::uintmax_t kIPRecordFileMaxBytes = 10000 * kIPRecordSize;

// Message ids of the address book.
inline constexpr unsigned kMsgChooseSomething = 4050;     // "WYBIERZ" without a row
inline constexpr unsigned kMsgSelectEntry = 4052;         // "EDYCJA" / "USUŃ" without a row
inline constexpr unsigned kMsgWebPortRange = 4053;        // port outside 1 ~ 9999
inline constexpr unsigned kMsgUserAndAddressEmpty = 4079; // user name or address empty

inline constexpr int kMinWebPort = 1;
inline constexpr int kMaxWebPort = 9999;

// One address-book entry; texts are UTF-8. This is also what a choice hands to
// the login dialog (user, address and port go into its fields).
struct IPRecord {
    std::string user;
    std::string address;  // as typed: dotted IPv4 text or a host name
    std::string comment;
    std::uint16_t webPort = 0;

    bool operator==(const IPRecord&) const = default;
};

using IPRecordBytes = std::array<std::uint8_t, kIPRecordSize>;

// The bytes a text field stores (at most 127). Windows-1250, as the original
// program reads them, whenever every character has a Windows-1250 form and
// the bytes read back as the same text (cut to 127 characters); otherwise
// UTF-8, cut at the last whole character that fits.
std::string EncodeTextField(std::string_view utf8);
// The text as it will read back after saving.
std::string FitTextField(std::string_view utf8);

IPRecordBytes EncodeIPRecord(const IPRecord& record);
// nullopt when a check code is wrong; `badCheck` then says which (1-3).
std::optional<IPRecord> DecodeIPRecord(std::span<const std::uint8_t, kIPRecordSize> bytes,
                                       int* badCheck = nullptr);

// The port typed as decimal text, when it is a whole number within 1 ~ 9999.
// Longer numbers are refused, never wrapped into 16 bits.
std::optional<std::uint16_t> ParseWebPort(std::string_view text);

// The edit row of the address book, as typed.
struct AddressFields {
    std::string user;
    std::string address;
    std::string port;
    std::string comment;
};

class AddressBook {
public:
    static std::filesystem::path DefaultPath();  // IPRecord.dat in the program folder

    // Reads every whole record; a shorter remainder at the end is ignored.
    // A missing file is created empty. Fails (and keeps no entries) when the
    // file cannot be read or created, or a record has a wrong check code; the
    // file is left as it was. A file larger than kIPRecordFileMaxBytes fails
    // too, and is moved aside (platform::MoveFileAside).
    platform::FileResult Load(const std::filesystem::path& path);
    // The same for the file's bytes; `name` goes into the error text.
    platform::FileResult Parse(std::string_view content, const std::string& name);
    // Replaces the file with the entries in list order; on failure the old
    // file stays whole. An entry that still holds what it was loaded with is
    // written back byte for byte.
    platform::FileResult Save(const std::filesystem::path& path) const;

    const std::vector<IPRecord>& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }

    // Both return 0 when stored, else the id of the message that refuses the
    // fields (4079 empty user or address, 4053 port outside 1 ~ 9999). Texts
    // are stored as they will read back from the file.
    unsigned Add(const AddressFields& fields);
    unsigned Replace(std::size_t index, const AddressFields& fields);
    void Remove(std::size_t index);

private:
    std::vector<IPRecord> entries_;
    // Beside each entry: the record it was read from, while it still reads the same.
    std::vector<std::optional<IPRecordBytes>> loaded_;
};

}  // namespace session

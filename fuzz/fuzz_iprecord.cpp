// IPRecord.dat as read from disc: any bytes either load or are refused, and
// every loaded entry saves to a record that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "session/files/AddressBook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    session::AddressBook book;
    if (!book.Parse(std::string_view(reinterpret_cast<const char*>(data), size), "IPRecord.dat"))
        return 0;
    for (const auto& entry : book.Entries()) {
        const auto again = session::DecodeIPRecord(session::EncodeIPRecord(entry));
        if (!again || again->webPort != entry.webPort ||
            again->user != session::FitTextField(entry.user) ||
            again->address != session::FitTextField(entry.address) ||
            again->comment != session::FitTextField(entry.comment))
            std::abort();
        // A second save changes nothing more.
        if (session::EncodeIPRecord(*again) != session::EncodeIPRecord(entry))
            std::abort();
    }
    return 0;
}

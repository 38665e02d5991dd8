// Setting.ini as read from disc: any bytes parse, a key set afterwards reads
// back the same, and the saved text parses to the same values.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/TextCodec.h"
#include "session/files/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    session::ProfileFile file;
    file.Parse(platform::DecodeText(std::string_view(reinterpret_cast<const char*>(data), size)));
    const auto before = file.Get("Quenlo", "Username");
    file.Set("Quenlo", "ServerPort", "8080");
    if (file.Get("quenlo", "SERVERPORT") != "8080")
        std::abort();
    session::ProfileFile again;
    again.Parse(file.Text());
    if (again.Get("Quenlo", "ServerPort") != "8080" || again.Get("Quenlo", "Username") != before)
        std::abort();
    return 0;
}

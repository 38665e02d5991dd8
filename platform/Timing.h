#pragma once
// Every duration the program waits for, in one value, so tests can shorten them.
// The defaults are the values the device protocol and the program's behaviour call for.

#include <chrono>

namespace platform {

struct Timing {
    using ms = std::chrono::milliseconds;

    // Socket layer
    ms connectTimeout{10000};
    ms sendTimeout{10000};
    ms receiveTimeout{10000};
    // SendAll's wait for room before each piece, whatever time-out its caller names.
    ms sendChunkTimeout{5000};

    // Device commands (one CGI request per connection)
    ms commandTimeout{15000};  // send and receive time-out of an ordinary command
};

}  // namespace platform

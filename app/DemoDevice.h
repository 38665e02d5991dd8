#pragma once
// The device of the --demo run: the simulator program beside the client,
// started on a free port of 127.0.0.1 and ended with the client.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace quenlo {

class DemoDevice {
public:
    DemoDevice() = default;
    ~DemoDevice() { Stop(); }
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;

    // Starts the simulator program and waits for the port it listens on;
    // false (with error() saying why) when it cannot be started or says nothing.
    bool Start(const std::filesystem::path& program);
    // Ends the simulator (terminate, then wait for it).
    void Stop();

    std::uint16_t Port() const { return port_; }
    // The account the demo device accepts.
    static constexpr const char* kUser = "tovik";
    static constexpr const char* kPassword = "tovik";
    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;  // the simulator's standard output
    std::uint16_t port_ = 0;
    std::string error_;
};

}  // namespace quenlo

#pragma once
// A logged-in client and a simulated device that takes firmware uploads, for
// the uploader's and the upgrade dialog's tests.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "platform/ByteOrder.h"
#include "platform/Timing.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/FirmwareReceiver.h"

namespace firmwaretest {

inline constexpr const char* kCookie = "5A17C0DE";

// Bytes that differ from item to item and from offset to offset.
inline std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + i / 251);
    return bytes;
}

inline std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A combined image of {type, length} records, each record's data a Pattern seeded with its type.
inline std::vector<std::uint8_t> Image(std::initializer_list<std::pair<std::uint8_t, std::uint32_t>> records) {
    std::vector<std::uint8_t> image;
    for (auto [type, length] : records) {
        std::uint8_t header[4];
        platform::StoreLe32(header, length << 4 | type);
        image.insert(image.end(), header, header + 4);
        const auto data = Pattern(length, type);
        image.insert(image.end(), data.begin(), data.end());
    }
    return image;
}

// The request as the device sees it: the target, then the fixed header lines.
inline std::string RequestBytes(const std::string& target) {
    return "GET " + target +
           " HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\nAccept-Encoding: gzip, deflate\r\n"
           "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
           "Host: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n";
}

// Short waits: every test device answers at once unless told otherwise.
inline platform::Timing FastTiming() {
    platform::Timing timing;
    timing.connectTimeout = std::chrono::milliseconds(2000);
    timing.commandTimeout = std::chrono::milliseconds(2000);
    timing.firmwareRequestPause = std::chrono::milliseconds(20);
    timing.firmwareKeepAlivePause = std::chrono::milliseconds(20);
    timing.firmwareReplyTimeout = std::chrono::milliseconds(2000);
    return timing;
}

struct UploadDevice {
    explicit UploadDevice(const std::string& product, const std::string& firmware, std::string cookie = kCookie) {
        auto profile = devicesim::DeviceProfile::ForProduct(product);
        profile.firmwareVersion = firmware;
        profile.checkCookie = !cookie.empty();
        device = std::make_unique<devicesim::DeviceSimulator>(profile);
        receiver = std::make_unique<devicesim::FirmwareReceiver>(*device);
        started = device->Start();
        device->Update([&](devicesim::DeviceState& s) { s.sessions[cookie] = {}; });
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device->Port();
        app.SessionCookie = cookie;
        app.LocalHostAddress = "127.0.0.1";
        app.str_ProductID = product;
        app.str_FWVersion = firmware;
    }

    std::vector<std::string> Targets(std::string_view path) const {
        std::vector<std::string> targets;
        for (const auto& request : device->RequestsFor(path))
            targets.push_back(request.target);
        return targets;
    }

    session::AppData app;
    std::unique_ptr<devicesim::DeviceSimulator> device;
    std::unique_ptr<devicesim::FirmwareReceiver> receiver;
    bool started = false;
};

}  // namespace firmwaretest

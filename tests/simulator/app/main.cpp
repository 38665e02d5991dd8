// devicesim: a simulated device on 127.0.0.1, so the client can be tried without one.
//
//   build/bin/devicesim [--demo] [--port N]... [--product R41T] [--firmware 1052]
//                       [--user NAME] [--password TEXT] [--mac 0012A5C0FFEE]
//                       [--host-name NAME] [--session-id TEXT] [--lifetime MINUTES]
//                       [--multich N] [--videomode N] [--userlevel N] [--retr N]
//                       [--link-device TYPE] [--too-many-users] [--no-cookie-check] [--quiet]
//                       [--fps N]
//                       [--search]
//
// Without --port it takes a free port below 10000 and prints it. Point the
// client's server at 127.0.0.1 and its web port at the printed port; the
// default account is the client's own. Every request line is printed as it
// arrives (--quiet stops that). The live stream shows a moving test picture
// at --fps frames a second (25 unless given). Ctrl+C ends it.
//
// --demo starts from the demo device (the client's --demo run uses it); the
// other options change it or, without --demo, the product's test profile.
//
// --search also answers the client's device search (UDP port 7777, answers to
// port 3332) as one device at 127.0.0.1 with the first listening port as its
// web port, so choosing it in the search fills the login with this simulator.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "simulator/DemoProfile.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/FirmwareReceiver.h"
#include "simulator/NetworkBackup.h"
#include "simulator/VideoStream.h"
#include "simulator/TestPattern.h"
#include "simulator/SearchResponder.h"

namespace {

constexpr char kUsage[] =
    "usage: devicesim [--demo] [--port N]... [--product R41T] [--firmware 1052]\n"
    "                 [--user NAME] [--password TEXT] [--mac 0012A5C0FFEE]\n"
    "                 [--host-name NAME] [--session-id TEXT] [--lifetime MINUTES]\n"
    "                 [--multich N] [--videomode N] [--userlevel N] [--retr N]\n"
    "                 [--link-device TYPE] [--too-many-users] [--no-cookie-check]\n"
    "                 [--quiet] [--fps N] [--search] [--help]\n"
    "\n"
    "A simulated device on 127.0.0.1 for trying the client without one. Without\n"
    "--port it takes a free port and prints it, with the account it accepts;\n"
    "point the client's server at 127.0.0.1 and its web port at that port.\n"
    "Every request line is printed as it arrives (--quiet stops that). --search\n"
    "also answers the client's device search. Ctrl+C ends it.\n"
    "\n"
    "--demo      the device of quenlo --demo: a 16-channel DVR (R41T, firmware\n"
    "            1060, --multich 1) with readable settings, three accounts, a\n"
    "            Pelco PTZ camera on channel 1, recordings on two disks, an event\n"
    "            log and online users; the options below but --product change it\n"
    "--product   R41T, R42T, R43T  DVRs with 16, 8 and 4 channels (firmware 1052;\n"
    "                              use --multich 1 for the channel bar)\n"
    "            R47T              video server (firmware 1007)\n"
    "            N51H, N52H, N53H  network video servers (firmware 1010)\n"
    "            G66M              camera (firmware 1010)\n"
    "            their settings are test filler, made to be recognised, not read\n"
    "--firmware  four digits; the client opens pages by firmware: a DVR's date,\n"
    "            record settings and timer record pages from 1058, its PTZ\n"
    "            by channel from 1035, the firmware upgrade from 1031\n"
    "--link-device TYPE\n"
    "            one linked control device (LINKDEVICE), by the client's types:\n"
    "            0 camera, 1 or 11 PTZ slave, 8 PTZ, 16 N58H, 17 PTZ slave basic,\n"
    "            18 PTZ Pelco, 19 KLT 316 DVR, 22 KLT 318 DVR, 23 KLT 324 DVR,\n"
    "            25 PTZ Pelco D; 2-7, 9, 10, 12-15, 20, 21 and 24 other recorders\n"
    "            and multiplexers\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using devicesim::DeviceProfile;
    std::vector<std::uint16_t> ports;
    std::string product = "R41T";
    std::vector<std::function<void(DeviceProfile&)>> changes;
    bool quiet = false;
    int framesPerSecond = 25;
    bool search = false;
    bool demo = false;
    bool productGiven = false;

    const std::map<std::string, std::function<void(DeviceProfile&, const std::string&)>> valued{
        {"--firmware", [](DeviceProfile& p, const std::string& v) { p.firmwareVersion = v; }},
        {"--user", [](DeviceProfile& p, const std::string& v) { p.userName = v; }},
        {"--password", [](DeviceProfile& p, const std::string& v) { p.password = v; }},
        {"--mac", [](DeviceProfile& p, const std::string& v) { p.macAddress = v; }},
        {"--host-name", [](DeviceProfile& p, const std::string& v) { p.hostName = v; }},
        {"--session-id", [](DeviceProfile& p, const std::string& v) { p.sessionId = v; }},
        {"--lifetime", [](DeviceProfile& p, const std::string& v) { p.lifetime = std::atoi(v.c_str()); }},
        {"--multich", [](DeviceProfile& p, const std::string& v) { p.multiChannel = std::atoi(v.c_str()); }},
        {"--videomode", [](DeviceProfile& p, const std::string& v) { p.videoMode = std::atoi(v.c_str()); }},
        {"--userlevel", [](DeviceProfile& p, const std::string& v) { p.userLevel = std::atoi(v.c_str()); }},
        {"--retr", [](DeviceProfile& p, const std::string& v) { p.retr = std::atoi(v.c_str()); }},
        {"--link-device", [](DeviceProfile& p, const std::string& v) { p.linkDevice = std::atoi(v.c_str()); }},
    };
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option == "--too-many-users") {
            changes.push_back([](DeviceProfile& p) { p.tooManyUsers = true; });
        } else if (option == "--no-cookie-check") {
            changes.push_back([](DeviceProfile& p) { p.checkCookie = false; });
        } else if (option == "--demo") {
            demo = true;
        } else if (option == "--quiet") {
            quiet = true;
        } else if (option == "--search") {
            search = true;
        } else if (i + 1 < argc && option == "--port") {
            int port = std::atoi(argv[++i]);
            if (port < 1 || port > 65535)
                return Usage();
            ports.push_back(static_cast<std::uint16_t>(port));
        } else if (i + 1 < argc && option == "--fps") {
            framesPerSecond = std::atoi(argv[++i]);
            if (framesPerSecond < 1 || framesPerSecond > 100)
                return Usage();
        } else if (i + 1 < argc && option == "--product") {
            product = argv[++i];
            productGiven = true;
        } else if (auto found = valued.find(option); found != valued.end() && i + 1 < argc) {
            std::string value = argv[++i];
            changes.push_back([setter = found->second, value](DeviceProfile& p) { setter(p, value); });
        } else {
            return Usage();
        }
    }

    if (demo && productGiven) {
        std::fputs("devicesim: --demo is its own DVR; --product does not go with it\n", stderr);
        return 2;
    }
    DeviceProfile profile = demo ? devicesim::DemoProfile() : DeviceProfile::ForProduct(product);
    for (const auto& change : changes)
        change(profile);

    // Signals are taken by sigwait below, not by a handler.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    devicesim::DeviceSimulator simulator(profile);
    devicesim::VideoStream stream(simulator);
    // The picture of the device's standard, full and reduced by its resolution setting.
    const auto full = devicesim::StandardPictureSize(profile, false);
    const auto reduced = devicesim::StandardPictureSize(profile, true);
    stream.SetPictures(devicesim::MovingBarPictures(full.width, full.height));
    stream.SetReducedPictures(devicesim::MovingBarPictures(reduced.width, reduced.height));
    stream.SetFrameRate(framesPerSecond);
    devicesim::NetworkBackupService backup(simulator);  // serves backup downloads
    devicesim::FirmwareReceiver firmware(simulator);  // takes firmware upgrades (after the stream: it keeps it)
    if (!quiet)
        simulator.SetRequestObserver([](const devicesim::Request& request) {
            std::printf("%u: %s%s\n", request.port, request.requestLine.c_str(),
                        request.body.empty() ? "" : (" (+" + std::to_string(request.body.size()) + " bytes)").c_str());
            std::fflush(stdout);
        });
    bool started = ports.empty() ? simulator.Start(1) : simulator.Start(ports);
    if (!started) {
        std::fprintf(stderr, "devicesim: cannot listen on the port(s) asked for\n");
        return 1;
    }
    for (std::uint16_t port : simulator.Ports())
        std::printf("devicesim: %s firmware %s, user \"%s\", password \"%s\", listening on 127.0.0.1:%u\n",
                    profile.productId.c_str(), profile.firmwareVersion.c_str(), profile.userName.c_str(),
                    profile.password.c_str(), port);
    std::fflush(stdout);

    devicesim::SearchResponder responder({"0.0.0.0", 7777, 3332});
    if (search) {
        devicesim::SearchDevice device;
        device.ipAddress = {127, 0, 0, 1};
        device.webPort = simulator.Ports().front();
        device.userName = profile.userName;
        device.password = profile.password;
        for (std::size_t i = 0; i < device.mac.size() && 2 * i + 1 < profile.macAddress.size(); ++i)
            device.mac[i] = static_cast<std::uint8_t>(std::strtoul(profile.macAddress.substr(2 * i, 2).c_str(), nullptr, 16));
        responder.AddDevice(device);
        if (responder.Start())
            std::printf("devicesim: answering the device search on UDP port 7777\n");
        else
            std::fprintf(stderr, "devicesim: cannot listen for the device search on UDP port 7777\n");
        std::fflush(stdout);
    }

    int signal = 0;
    sigwait(&signals, &signal);
    responder.Stop();
    simulator.Stop();
    return 0;
}

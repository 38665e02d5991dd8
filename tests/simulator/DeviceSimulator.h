#pragma once
// A simulated device on 127.0.0.1: it answers the CGI paths the way the
// device does (one request per connection), records every request byte for
// byte, and bends its replies with scripted faults. Tests link it as a
// fixture; the devicesim program runs it by hand.
//
// Paths are a table: SetHandler adds or replaces the reply of a path,
// SetConnectionHandler hands a path the whole connection (a live stream, say),
// SetReply fixes a path's reply. Faults are queued per path ("*" for any).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "simulator/DeviceProfile.h"
#include "simulator/Reply.h"

namespace devicesim {

struct Request {
    std::uint16_t port = 0;  // the listening port it came in on
    std::string raw;         // every byte as received
    std::string requestLine;               // without CR LF
    std::vector<std::string> headerLines;  // in order, each without CR LF
    std::string body;
    std::string method, target, path;
    std::vector<std::pair<std::string, std::string>> query;  // values with %XX decoded
    bool complete = false;  // the whole header and the announced body arrived

    // The decoded value of the first parameter with the key.
    std::optional<std::string> Param(std::string_view key) const;
};

// Parses a request's bytes (header and what follows it); fills every field but port.
Request ParseRequest(std::string raw, bool complete);
// "%41" becomes "A"; anything that is not a valid escape stays as it is.
std::string DecodePercent(std::string_view text);

// The device's side of one connection, for handlers that write themselves.
class Connection {
public:
    Connection(int handle, int stopEvent) : handle_(handle), stopEvent_(stopEvent) {}
    // False when the client left, or the simulator stops, before everything went out.
    bool Send(std::string_view bytes);
    // Sends the reply as it is shaped (pieces, pauses, cut, silence).
    bool SendReply(const Reply& reply);
    // Waits; false when the simulator stops first.
    bool Pause(Millis duration);
    // Reads and drops whatever comes until the client closes or the simulator stops.
    void WaitUntilClientLeaves();
    // Reads until `count` bytes came, the client stops sending for `idle`, closes, or the simulator stops.
    std::string Receive(std::size_t count, Millis idle);
    int Handle() const { return handle_; }
    // The size of each Send so far, in order.
    const std::vector<std::size_t>& Writes() const { return writes_; }

private:
    int handle_;
    int stopEvent_;
    std::vector<std::size_t> writes_;
};

struct SessionFacts {
    bool newHeader = false;  // the device information asked for NEWHR=1
};

// Everything the device remembers; handlers read and change it under the lock.
struct DeviceState {
    DeviceProfile profile;
    std::map<std::string, SessionFacts> sessions;  // by session id
    int channel = -1;  // the last CH of /SetChannel.cgi
    int reboots = 0;
    // The picture colours of /GetColor.cgi and /SetColor.cgi, as the device counts them.
    int contrast = 128;
    int brightness = 0;
    int hue = 0;
    int resolution = 0;  // the last RES of /Getdeviceinfo.cgi or /Setresolution.cgi: 1 sends the reduced picture
    int quality = -1;    // the last QUA of /Setquality.cgi
    // A G66M's sensor byte of the frame headers: mode in the low 4 bits,
    // horizontal mirror 0x80, vertical mirror 0x40.
    std::uint8_t sensorByte = 0;
    // The R.E.T.R. state /SetRetr.cgi set; later frame headers carry it.
    std::optional<int> retr;
};

class DeviceSimulator;
using ReplyHandler = std::function<Reply(DeviceSimulator&, const Request&)>;
using ConnectionHandler = std::function<void(DeviceSimulator&, const Request&, Connection&)>;

class DeviceSimulator {
public:
    explicit DeviceSimulator(DeviceProfile profile = {});
    ~DeviceSimulator();
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // Listens on that many free ports below 10000 (the client's port fields
    // take 1 to 9999), or on the given ones. False when a port cannot be opened.
    bool Start(int portCount = 1);
    bool Start(const std::vector<std::uint16_t>& ports);
    // Ends every connection and closes the ports.
    void Stop();
    std::uint16_t Port(std::size_t index = 0) const;
    std::vector<std::uint16_t> Ports() const;
    // While refusing, the ports are closed, so connects are refused.
    void SetRefusing(bool refuse);

    DeviceState State() const;
    void Update(const std::function<void(DeviceState&)>& change);
    DeviceProfile Profile() const { return State().profile; }
    void UpdateProfile(const std::function<void(DeviceProfile&)>& change);

    void SetHandler(const std::string& path, ReplyHandler handler);
    void SetConnectionHandler(const std::string& path, ConnectionHandler handler);
    // The path's connection handler (empty when it has none).
    ConnectionHandler ConnectionHandlerFor(const std::string& path) const;
    void SetReply(const std::string& path, Reply reply);
    // The next `times` requests of the path (every one when negative) get the fault.
    // A path may name one Option value ("/SetSysCfg.cgi?Option=SMTP"): only those requests get it.
    void AddFault(const std::string& path, Fault fault, int times = 1);
    // Only the k-th request of the path from now on (counted from 1) gets the fault.
    void AddFaultOnRequest(const std::string& path, int k, Fault fault);
    void ClearFaults();
    // The fault for this request of the path, if any (connection handlers apply their own).
    std::optional<Fault> TakeFault(const std::string& path);

    std::vector<Request> Requests() const;
    std::vector<Request> RequestsFor(std::string_view path) const;
    // Waits until at least count requests are in the log.
    bool WaitForRequests(std::size_t count, Millis timeout) const;
    void ClearRequests();
    // Called for each request as it is logged (the program prints them).
    void SetRequestObserver(std::function<void(const Request&)> observer);
    // The writes of the last reply sent (not of a connection handler), known
    // before the device ends that connection.
    std::vector<std::size_t> LastReplyWrites() const;

    // Convenience reads of the state.
    bool IsSession(const std::string& cookie) const;
    bool NewHeaderRequested(const std::string& cookie) const;

private:
    struct ConnectionThread {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    struct ScriptedFault {
        Fault fault;
        int times;
    };

    bool OpenListener(std::uint16_t port);
    void StartAcceptLoop();
    void StopAcceptLoop();
    void AcceptLoop();
    void Serve(int handle, std::uint16_t port);
    void ReapConnections(bool all);
    std::optional<Request> ReadRequest(int handle, std::uint16_t port);
    void Log(const Request& request);

    mutable std::mutex mutex_;
    mutable std::condition_variable logChanged_;
    DeviceState state_;
    std::map<std::string, ReplyHandler> handlers_;
    std::map<std::string, ConnectionHandler> connectionHandlers_;
    std::map<std::string, std::list<ScriptedFault>> faults_;
    std::vector<Request> log_;
    std::vector<std::size_t> lastReplyWrites_;
    std::function<void(const Request&)> observer_;

    std::vector<std::uint16_t> ports_;
    std::vector<std::pair<int, std::uint16_t>> listeners_;  // handle, port (accept thread's while it runs)
    std::thread acceptThread_;
    int acceptWake_ = -1;  // ends the accept loop
    int stopEvent_ = -1;   // ends every connection; never reset
    std::mutex connectionsMutex_;
    std::list<ConnectionThread> connections_;
};

// The built-in replies of the device's CGI paths; the constructor installs them.
void InstallDeviceHandlers(DeviceSimulator& simulator);
// The request carries the Cookie of a session the device handed out (or the
// device does not check).
bool Authorised(const DeviceState& state, const Request& request);
// The DVR's settings pages (date, record settings); InstallDeviceHandlers installs them.
void InstallDvrSettingsHandlers(DeviceSimulator& simulator);
// The main window's tool paths (colour, resolution, quality, G66M sensor);
// InstallDeviceHandlers installs them.
void InstallMainWindowHandlers(DeviceSimulator& simulator);
// The event log's paths; InstallDeviceHandlers installs them.
void InstallLogHandlers(DeviceSimulator& simulator);
// The DVR's disks and recordings; InstallDeviceHandlers installs them.
void InstallSearchHandlers(DeviceSimulator& simulator);
// A log record of the event with its time fields from the index, and the channel, user and result.
Bytes LogRecord(std::uint32_t event, int index, std::uint8_t channel = 0, std::string_view user = {},
                std::uint8_t result = 0);
// Every CGI path the device knows (each of the client's command paths once).
const std::vector<std::string>& DevicePaths();

}  // namespace devicesim

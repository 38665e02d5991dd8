#include "simulator/FirmwareReceiver.h"

#include <cstdlib>

namespace devicesim {

struct FirmwareReceiver::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<ReceivedFirmwareItem> items;
    std::optional<std::string> versionAfterReboot;
    int cancels = 0;
    int cancelUpfw = 0;
    std::uint64_t uploadBytes = 0;
    int keepAlivesOpened = 0;
    int keepAlivesOpen = 0;

    void Reboot(DeviceSimulator& device) {
        std::optional<std::string> version;
        {
            std::lock_guard lock(mutex);
            version = versionAfterReboot;
        }
        device.Update([&](DeviceState& state) {
            ++state.reboots;
            if (version)
                state.profile.firmwareVersion = *version;
        });
    }

    Reply Chunk(DeviceSimulator& device, const Request& request) {
        const std::string upgrade = request.Param("Upgrade").value_or("");
        bool reboot = false;
        {
            std::lock_guard lock(mutex);
            if (upgrade == "Cancel") {
                ++cancels;
            } else {
                if (upgrade == "Start" || items.empty() || items.back().finished)
                    items.push_back({request.path, request.Param("Type").value_or(""),
                                     std::strtoull(request.Param("FileSize").value_or("0").c_str(), nullptr, 10),
                                     {}});
                ReceivedFirmwareItem& item = items.back();
                item.bytes += request.body;
                uploadBytes += request.body.size();
                if (upgrade == "Finished") {
                    item.type = request.Param("Type").value_or("");
                    item.finished = true;
                    item.reboot = reboot = request.Param("Reboot") == "1";
                }
            }
        }
        changed.notify_all();
        if (reboot)
            Reboot(device);
        return Reply::Ok();
    }

    void Stream(DeviceSimulator& device, const Request& request, Connection& connection) {
        const std::uint64_t size = std::strtoull(request.Param("FILESIZE").value_or("0").c_str(), nullptr, 10);
        ReceivedFirmwareItem item{request.path, request.Param("Type").value_or(""), size, request.body};
        item.reboot = request.Param("REBOOT") == "1";
        std::size_t index;
        {
            std::lock_guard lock(mutex);
            uploadBytes += item.bytes.size();
            index = items.size();
            items.push_back(item);
        }
        changed.notify_all();
        while (item.bytes.size() < size) {
            std::string more = connection.Receive(std::min<std::uint64_t>(size - item.bytes.size(), 65536), Millis(10000));
            if (more.empty())
                return;  // the client stopped sending
            item.bytes += more;
            {
                std::lock_guard lock(mutex);
                items[index].bytes = item.bytes;
                uploadBytes += more.size();
            }
            changed.notify_all();
        }
        {
            std::lock_guard lock(mutex);
            items[index].finished = true;
        }
        if (item.reboot)
            Reboot(device);
        Reply reply = Reply::Ok();
        if (auto fault = device.TakeFault(request.path))
            fault->apply(reply);
        connection.SendReply(reply);
    }

    void HoldKeepAlive(Connection& connection) {
        {
            std::lock_guard lock(mutex);
            ++keepAlivesOpened;
            ++keepAlivesOpen;
        }
        changed.notify_all();
        connection.WaitUntilClientLeaves();
        {
            std::lock_guard lock(mutex);
            --keepAlivesOpen;
        }
        changed.notify_all();
    }
};

FirmwareReceiver::FirmwareReceiver(DeviceSimulator& device) : shared_(std::make_shared<Shared>()) {
    device.SetHandler("/UpgradeFW.cgi",
                      [shared = shared_](DeviceSimulator& d, const Request& r) { return shared->Chunk(d, r); });
    device.SetConnectionHandler("/UpgradeFW2.cgi", [shared = shared_](DeviceSimulator& d, const Request& r,
                                                                      Connection& c) { shared->Stream(d, r, c); });
    device.SetHandler("/CancelUPFW.cgi", [shared = shared_](DeviceSimulator&, const Request&) {
        std::lock_guard lock(shared->mutex);
        ++shared->cancelUpfw;
        return Reply::Ok();
    });
    ConnectionHandler stream = device.ConnectionHandlerFor("/Getvideo.cgi");
    device.SetConnectionHandler("/Getvideo.cgi", [shared = shared_, stream](DeviceSimulator& d, const Request& r,
                                                                            Connection& c) {
        if (r.Param("Fake") == "1")
            shared->HoldKeepAlive(c);
        else if (stream)
            stream(d, r, c);
        else
            c.SendReply(Reply::Ok());
    });
}

void FirmwareReceiver::SetVersionAfterReboot(std::string version) {
    std::lock_guard lock(shared_->mutex);
    shared_->versionAfterReboot = std::move(version);
}

std::vector<ReceivedFirmwareItem> FirmwareReceiver::Items() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->items;
}

int FirmwareReceiver::Cancels() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->cancels;
}

int FirmwareReceiver::CancelUpfwRequests() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->cancelUpfw;
}

std::uint64_t FirmwareReceiver::UploadBytes() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->uploadBytes;
}

int FirmwareReceiver::KeepAlivesOpened() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->keepAlivesOpened;
}

int FirmwareReceiver::KeepAlivesOpen() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->keepAlivesOpen;
}

bool FirmwareReceiver::WaitForKeepAlivesClosed(Millis timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->keepAlivesOpen == 0; });
}

bool FirmwareReceiver::WaitForUploadBytes(std::uint64_t count, Millis timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->uploadBytes >= count; });
}

}  // namespace devicesim

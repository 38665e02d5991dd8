#pragma once
// A client logged in to a simulated device, with the configuration blocks the
// setup command fetched, for the configuration pages' tests: the working set,
// the stores Apply makes, and what reached the device.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigWorkingSet.h"
#include "config/pages/BlockStore.h"
#include "config/sheet/SheetContext.h"
#include "session/AppData.h"
#include "session/net/OptionBlocks.h"
#include "simulator/DeviceSimulator.h"

namespace testutil {

class PageDevice {
public:
    static constexpr const char* kCookie = "5A17C0DE";

    explicit PageDevice(const char* product, const char* firmware = nullptr,
                        const std::function<void(devicesim::DeviceProfile&)>& change = {}) {
        auto profile = devicesim::DeviceProfile::ForProduct(product);
        if (firmware)
            profile.firmwareVersion = firmware;
        if (change)
            change(profile);
        device = std::make_unique<devicesim::DeviceSimulator>(profile);
        EXPECT_TRUE(device->Start(2));
        device->Update([](devicesim::DeviceState& s) { s.sessions[kCookie] = {}; });
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device->Port();
        app.SessionCookie = kCookie;
        app.LocalHostAddress = "127.0.0.1";
        app.str_ProductID = profile.productId;
        app.str_FWVersion = profile.firmwareVersion;
        app.by_MultiChannel = static_cast<std::uint8_t>(profile.multiChannel.value_or(0));
        Fetch();
    }
    // Page reads still queued or running end before the client goes.
    ~PageDevice() { app.h_DeviceCommandWorker.Stop(); }

    // The setup command's fetch: every block of the family in one reply, and
    // the capability word of the INF block.
    void Fetch() {
        EXPECT_EQ(session::QuerySystemConfig(app, timing, session::kOptionAll, {}, 0), 1);
        const auto inf = app.SysCfg.Get().by_SysCfgOption0;
        app.dw_DeviceCapability = std::uint32_t(inf[20]) | std::uint32_t(inf[21]) << 8 |
                                  std::uint32_t(inf[22]) << 16 | std::uint32_t(inf[23]) << 24;
    }

    // A fresh working set, as a newly opened sheet makes it.
    std::unique_ptr<config::ConfigWorkingSet> OpenSet() {
        auto set = std::make_unique<config::ConfigWorkingSet>(app);
        set->ClearLoadedBytes(4, config::kSmtpTextEnds);
        return set;
    }

    // The sheet's store of one block: sent only when it changed, committed when
    // the device took it; a refusal is counted.
    config::StoreBlock Store(config::ConfigWorkingSet& set) {
        return [this, &set](std::uint8_t option) {
            if (!set.Changed(option))
                return true;
            const auto block = set.Working(option);
            if (session::StoreSystemConfig(app, timing, option, block, static_cast<std::int32_t>(block.size()),
                                           false) != 1) {
                ++failedStores;
                return false;
            }
            set.Commit(option);
            return true;
        };
    }

    std::vector<devicesim::Request> Stores() const { return device->RequestsFor("/SetSysCfg.cgi"); }
    // The request targets of a path, in order.
    std::vector<std::string> Targets(std::string_view path) const {
        std::vector<std::string> targets;
        for (const auto& request : device->RequestsFor(path))
            targets.push_back(request.target);
        return targets;
    }
    devicesim::Bytes DeviceBlock(int option) const { return device->Profile().Block(option); }

    session::AppData app;
    platform::Timing timing{.connectTimeout = std::chrono::milliseconds(2000),
                            .commandTimeout = std::chrono::milliseconds(5000),
                            .sysCfgQueryTimeout = std::chrono::milliseconds(5000)};
    std::unique_ptr<devicesim::DeviceSimulator> device;
    int failedStores = 0;
};

}  // namespace testutil

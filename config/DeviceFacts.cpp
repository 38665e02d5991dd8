#include "config/DeviceFacts.h"

#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/net/OptionBlocks.h"

namespace config {

DeviceFacts DeviceFacts::From(const session::AppData& app) {
    DeviceFacts facts;
    facts.productId = app.str_ProductID.Get();
    facts.firmware = app.str_FWVersion.Get();
    facts.capability = app.dw_DeviceCapability.load();
    facts.multiChannel = app.by_MultiChannel.load();
    return facts;
}

bool DeviceFacts::IsDvr() const { return session::IsDvrFamily(productId); }
bool DeviceFacts::IsVideoServer() const { return session::IsVideoServerFamily(productId); }
bool DeviceFacts::IsG66M() const { return session::IsG66MFamily(productId); }
bool DeviceFacts::IsN5H() const { return session::IsN5HFamily(productId); }
bool DeviceFacts::IsShortOrderFamily() const { return IsVideoServer() || IsN5H() || IsG66M(); }

bool DeviceFacts::FirmwareAtLeast(const char* reference) const {
    return session::CompareFirmwareVersion(reference, firmware) != 2;
}

bool DeviceFacts::UsesNewPppoeLayout() const {
    return session::UsesNewPppoeLayout(session::SysCfgOrderFor(productId), firmware);
}

bool DeviceFacts::SenderContinuesInSystemBlock() const {
    return IsShortOrderFamily() && FirmwareAtLeast("1003");
}

bool DeviceFacts::SenderContinuesInSntpBlock() const { return IsDvr() && FirmwareAtLeast("1027"); }

bool DeviceFacts::HasChannelNames() const { return IsVideoServer() && FirmwareAtLeast("1010"); }

int DeviceFacts::ChannelCount() const {
    if (productId == "R41T")
        return 16;
    if (productId == "R42T")
        return 8;
    return productId == "R43T" ? 4 : 0;
}

}  // namespace config

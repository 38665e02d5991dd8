#pragma once
// The configuration pages' own device requests use the session's request helpers.

#include "session/net/DeviceRequest.h"

namespace config {

using session::RequestWithCookie;
using session::SendDeviceRequest;

}  // namespace config

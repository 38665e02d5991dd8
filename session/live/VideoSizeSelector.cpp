#include "session/live/VideoSizeSelector.h"

#include <string>

#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace mainwindow {

namespace {

enum class Family { Dvr, Server, G66M, Other };

Family FamilyOf(const std::string& product) {
    if (session::IsG66MFamily(product))
        return Family::G66M;
    if (session::IsVideoServerFamily(product) || session::IsN5HFamily(product))
        return Family::Server;
    if (session::IsDvrFamily(product))
        return Family::Dvr;
    return Family::Other;
}

// A frame size's mode by the family's rules; nullopt for a size not listed.
std::optional<std::uint8_t> ModeOfFrame(Family family, std::uint16_t width, std::uint16_t height) {
    switch (family) {
    case Family::G66M:
        if (width == 320 && height == 240)
            return 1;
        if (width == 640 && height == 480)
            return 0;
        if (width == 160 && height == 120)
            return 4;
        return std::nullopt;
    case Family::Dvr:
        if (width == 320)
            return height == 228 ? 1 : 3;
        if (width == 640)
            return height == 228 ? 0 : 2;
        return std::nullopt;
    case Family::Server:
        if (width == 352)
            return height == 240 ? 1 : 3;
        if (width == 704)
            return height == 240 ? 0 : 2;
        return std::nullopt;
    case Family::Other:
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

int VideoSizeSelector::InitLayout() {
    const Family family = FamilyOf(app_.str_ProductID.Get());
    std::uint32_t resolution = app_.CSettingINI.m_dwImageResolution.load();
    if (resolution != 1 && resolution != 2)
        resolution = 0;
    const std::uint8_t standard = app_.by_VideoSizeFamily.load();
    auto set = [&](std::uint8_t mode, std::uint16_t row) {
        app_.by_VideoSizeMode = mode;
        app_.by_AppliedVideoSizeMode = mode;
        app_.w_VideoLayout = row;
    };
    // Modes 0-2 by resolution on NTSC; PAL adds 2 to the full and reduced
    // modes, quarter size is mode 4 (NTSC) or 5 (PAL).
    auto modeFor = [&](bool pal) -> std::uint8_t {
        if (resolution == 2)
            return pal ? 5 : 4;
        return static_cast<std::uint8_t>(resolution + (pal ? 2 : 0));
    };
    switch (family) {
    case Family::G66M:
        set(static_cast<std::uint8_t>(resolution == 2 ? 4 : resolution),
            static_cast<std::uint16_t>(resolution == 0 ? 12 : 13));
        return 1;
    case Family::Server:
    case Family::Dvr: {
        const std::uint16_t base = family == Family::Server ? 6 : 0;
        if (standard == 0 || standard == 1) {
            const std::uint8_t mode = modeFor(standard == 1);
            set(mode, static_cast<std::uint16_t>(base + mode));
        }
        // The quarter-size rows give way to the reduced rows of their group.
        const std::uint16_t row = app_.w_VideoLayout.load();
        if (row == base + 4)
            app_.w_VideoLayout = static_cast<std::uint16_t>(base + 1);
        else if (row == base + 5)
            app_.w_VideoLayout = static_cast<std::uint16_t>(base + 3);
        return 1;
    }
    case Family::Other:
        return 1;
    }
    return 1;
}

bool VideoSizeSelector::FrameSizeChangesNothing(std::uint16_t width, std::uint16_t height) const {
    if (width != m_wFrameWidth.load() || height != m_wFrameHeight.load())
        return false;
    const std::uint8_t mode = app_.by_VideoSizeMode.load();
    const auto frameMode = ModeOfFrame(FamilyOf(app_.str_ProductID.Get()), width, height);
    return (!frameMode || *frameMode == mode) && mode == app_.by_AppliedVideoSizeMode.load();
}

std::optional<VideoSizeSelector::Change> VideoSizeSelector::OnFrameSize(std::uint16_t width, std::uint16_t height) {
    m_wFrameWidth = width;
    m_wFrameHeight = height;
    const Family family = FamilyOf(app_.str_ProductID.Get());
    if (auto mode = ModeOfFrame(family, width, height))
        app_.by_VideoSizeMode = *mode;
    const std::uint8_t mode = app_.by_VideoSizeMode.load();
    if (mode == app_.by_AppliedVideoSizeMode.load())
        return std::nullopt;

    Change change;
    change.mode = mode;
    switch (family) {
    case Family::G66M:
        if (mode == 1)
            app_.w_VideoLayout = 13;
        else if (mode == 0)
            app_.w_VideoLayout = 12;
        break;
    case Family::Dvr:
        app_.w_VideoLayout = mode;
        change.channelBarLayout = true;
        break;
    case Family::Server:
        app_.w_VideoLayout = static_cast<std::uint16_t>(6 + mode);
        break;
    case Family::Other:
        break;
    }
    app_.by_AppliedVideoSizeMode = mode;
    if (mode <= 3 && (family != Family::G66M || mode <= 1))
        change.skin = mode;
    return change;
}

std::uint8_t VideoSizeSelector::GetSizeMode() const { return app_.by_VideoSizeMode.load(); }

}  // namespace mainwindow

#include "recording/files/RecordFileFormat.h"

#include <algorithm>

#include "platform/ByteOrder.h"
#include "platform/TextCodec.h"
#include "session/TextHelpers.h"

namespace recording {

namespace {

constexpr std::uint16_t kRecordMagic = 0x4156;
constexpr std::uint16_t kHeaderLength = 88;  // header and extension block
constexpr std::uint16_t kHeaderVersion = 23;
constexpr std::uint32_t kHeaderFlagExtension = 2;

// Tag presence bits, in field order.
constexpr std::uint32_t kTagFrameNumber = 0x1, kTagLength = 0x2, kTagWidth = 0x4, kTagHeight = 0x8,
                        kTagStreamTime = 0x10, kTagChannel = 0x20, kTagSpare = 0x40, kTagFive = 0x80,
                        kTagVideoLoss = 0x800, kTagMagic = 0x20000000, kTagLengthField = 0x40000000,
                        kTagSum = 0x80000000;

void StoreTime(std::uint8_t* p, const session::SystemTime& t) {
    const std::uint16_t fields[] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay,
                                    t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    for (std::uint16_t f : fields) {
        platform::StoreLe16(p, f);
        p += 2;
    }
}

std::string TimeStamp(const std::tm& t) {
    using session::TwoDigitText;
    return TwoDigitText(t.tm_year + 1900) + TwoDigitText(t.tm_mon + 1) + TwoDigitText(t.tm_mday) + "T" +
           TwoDigitText(t.tm_hour) + TwoDigitText(t.tm_min) + TwoDigitText(t.tm_sec);
}

}  // namespace

RecordHeaderImage BuildRecordFileHeader(const RecordHeaderFields& fields) {
    RecordHeaderImage h{};
    platform::StoreLe16(&h[0], kRecordMagic);
    platform::StoreLe16(&h[2], kHeaderLength);
    std::copy_n("R47T", 4, h.begin() + 4);
    StoreTime(&h[24], fields.created);
    session::SplitToBytes(fields.serverName, std::span(h).subspan(52, 4), ".");
    platform::StoreLe16(&h[56], kHeaderVersion);
    h[59] = static_cast<std::uint8_t>(fields.type);
    // Copied, not typed: a longer name is cut to the field, without a terminator.
    const std::string user = platform::Utf8ToWindows1250(fields.userName);
    std::copy_n(user.begin(), std::min(user.size(), kRecordUserNameBytes), h.begin() + 60);
    platform::StoreLe32(&h[76], kHeaderFlagExtension);
    return h;
}

std::array<std::uint8_t, kRecordHeaderBlockBytes - kRecordHeaderBytes> RecordHeaderExtension() {
    return {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF};
}

std::size_t BuildFrameTag(const FrameHistoryEntry& entry, std::span<std::uint8_t, kRecordTagMaxBytes> out) {
    const bool videoLoss = (entry.dwVideoLoss & 1) != 0;
    std::uint32_t mask = kTagFrameNumber | kTagLength | kTagWidth | kTagHeight | kTagStreamTime | kTagChannel |
                         kTagSpare | kTagFive | kTagMagic | kTagLengthField | kTagSum;
    if (videoLoss)
        mask |= kTagVideoLoss;
    std::uint8_t* p = out.data();
    platform::StoreLe32(p, mask);
    platform::StoreLe32(p + 4, entry.dwFrameNumber);
    platform::StoreLe32(p + 8, entry.dwLength);
    platform::StoreLe16(p + 12, entry.wWidth);
    platform::StoreLe16(p + 14, entry.wHeight);
    platform::StoreLe32(p + 16, entry.dwStreamTime);
    p[20] = entry.byChannel;
    p[21] = entry.byStatus;
    p[22] = 5;
    std::size_t n = 23;
    if (videoLoss)
        p[n++] = 1;
    platform::StoreLe16(p + n, kRecordMagic);
    n += 2;
    const std::size_t tagLength = n + 4;  // up to the end of the sum field
    platform::StoreLe16(p + n, static_cast<std::uint16_t>(tagLength));
    n += 2;
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum = static_cast<std::uint16_t>(sum + p[i]);
    platform::StoreLe16(p + n, sum);
    n += 2;
    platform::StoreLe16(p + n, 0xFFFF);
    return n + 2;
}

std::string AlarmRecordFileName(const std::tm& localTime, std::string_view cookie) {
    // The cookie comes from the device: nothing in it may leave the folder.
    std::string part(cookie.substr(0, 4));
    for (char& c : part)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    return "ALARM_MJPEG_" + TimeStamp(localTime) + "_" + part + ".kfr";
}

std::string UserRecordFileName(const std::tm& localTime) {
    return "USER_MJPEG_" + TimeStamp(localTime) + "_UR.kfr";
}

std::string NumberedRecordFileName(std::string_view name, int sequence) {
    std::string numbered(name);
    if (sequence > 1) {
        const std::size_t dot = numbered.rfind(".kfr");
        numbered.insert(dot == std::string::npos ? numbered.size() : dot, "_" + std::to_string(sequence));
    }
    return numbered;
}

}  // namespace recording

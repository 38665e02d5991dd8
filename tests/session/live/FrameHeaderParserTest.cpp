#include "session/live/FrameHeaderParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using session::FrameHeaderFields;
using session::HeaderLayout;
using session::HeaderParseStatus;
using session::ImageSlotInfo;
using session::ParseFrameHeader;
using session::SystemTime;

namespace {

using Bytes = std::vector<std::uint8_t>;

// 2024-05-17 13:45:30 packed: (24<<26)|(5<<22)|(17<<17)|(13<<12)|(45<<6)|30.
const SystemTime kPackedTime{2024, 5, 0, 17, 13, 45, 30, 0};

// A new header with every optional field and every extension field.
const Bytes kNewHeaderAllFields = {
    0x01, 0x00,              // version 1
    0x34, 0x12,              // payload length 0x1234
    0xA5,                    // channel 5 (high nibble ignored)
    0x7C,                    // view channel 7 (low nibble ignored)
    0xEE, 0x21,              // options 0x21EE
    0x02, 0x01,              // motion 0x0102
    0x04, 0x03,              // alarm input 0x0304
    0x06, 0x05,              // third alarm word 0x0506
    0x64, 0x00, 0x00, 0x00,  // stream time 100
    0x5E, 0xDB, 0x62, 0x61,  // packed date-time
    'C', 'A', 'M', '-', '0', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x77,                    // option 0x0100 byte
    0x32, 0xEE, 0x3F, 0x00,  // extension: tag, uninterpreted byte, flags 0x003F
    0x01,                    // size code
    0x02,                    // RETR state
    0x09,                    // sensor mode
};

// An old header with every mask bit that carries a field.
const Bytes kOldHeaderAllFields = {
    0xFF, 0x3F, 0x00, 0x00,  // mask 0x3FFF
    0x45, 0x23, 0x01, 0x00,  // payload length 0x012345
    'H', 'A', 'L', 'L', ' ', 'E', 'A', 'S', 'T', ' ', 'D', 'O', 'O', 'R', '-', '2',  // 16 bytes, no terminator
    0x05, 0xAA,              // RETR state 5, second byte skipped
    0x01,                    // size code
    0x66,                    // option 0x10 byte
    0x34, 0x33, 0x33, 0x33,  // stream time 0x33333334 (x5 wraps to 4)
    0x0B,                    // channel 11
    0x01, 0x02,              // alarm input 0x0201
    0x03, 0x04,              // motion 0x0403
    0x05, 0x06,              // third alarm word 0x0605
    0x0C,                    // view channel 12
    0x5E, 0xDB, 0x62, 0x61,  // packed date-time
};

ImageSlotInfo WithText(ImageSlotInfo r, const char* text, std::size_t n) {
    std::memcpy(r.szText, text, n);
    return r;
}

FrameHeaderFields MustParse(const Bytes& bytes, HeaderLayout layout, bool lengthCountsHeader = false) {
    FrameHeaderFields out;
    EXPECT_EQ(ParseFrameHeader(bytes, layout, lengthCountsHeader, out), HeaderParseStatus::Parsed);
    return out;
}

}  // namespace

TEST(FrameHeaderParser, NewHeaderGoldenBytesFillEveryField) {
    const FrameHeaderFields f = MustParse(kNewHeaderAllFields, HeaderLayout::New);
    ImageSlotInfo want;
    want.dwLength = 0x1234;
    want.byChannel = 5;
    want.bySizeCode = 1;
    want.byOption100 = 0x77;
    want = WithText(want, "CAM-01", 6);
    want.dwOptionMask = 0;
    want.dwHeaderLength = 46;
    want.dwFrameTime = 500;
    want.wAlarmInput = 0x0304;
    want.wMotionDetect = 0x0102;
    want.wAlarmExtra = 0x0506;
    want.byViewChannel = session::kMultiChannelView;  // extension flag 0x20 overrides byte 5
    want.byVideoLoss = 1;
    want.stDateTime = kPackedTime;
    EXPECT_EQ(f.record, want);
    EXPECT_EQ(kNewHeaderAllFields.size(), session::kMaxFrameHeaderBytes);
    EXPECT_TRUE(f.motionPresent);
    EXPECT_TRUE(f.alarmInputPresent);
    EXPECT_TRUE(f.alarmExtraPresent);
    EXPECT_TRUE(f.dateTimePresent);
    EXPECT_TRUE(f.networkBackup);
    EXPECT_EQ(f.retrState, 2);
    EXPECT_EQ(f.sensorMode, 9);
}

TEST(FrameHeaderParser, OldHeaderGoldenBytesFillEveryField) {
    const FrameHeaderFields f = MustParse(kOldHeaderAllFields, HeaderLayout::Old);
    ImageSlotInfo want;
    want.dwLength = 0x012345;
    want.byChannel = 11;
    want.bySizeCode = 1;
    want.byOption100 = 0x66;
    want = WithText(want, "HALL EAST DOOR-2", 16);
    want.dwOptionMask = 0x3FFF;
    want.dwHeaderLength = 44;
    want.dwFrameTime = 4;
    want.wAlarmInput = 0x0201;
    want.wMotionDetect = 0x0403;
    want.wAlarmExtra = 0x0605;
    want.byViewChannel = 12;
    want.byVideoLoss = 1;
    want.stDateTime = kPackedTime;
    EXPECT_EQ(f.record, want);
    EXPECT_TRUE(f.motionPresent && f.alarmInputPresent && f.alarmExtraPresent && f.dateTimePresent);
    EXPECT_TRUE(f.networkBackup);
    EXPECT_EQ(f.retrState, 5);
    EXPECT_FALSE(f.sensorMode.has_value());
}

struct SmallHeaderCase {
    const char* name;
    HeaderLayout layout;
    bool lengthCountsHeader;
    Bytes bytes;
    std::uint32_t headerLength;
    std::uint32_t payloadLength;
    std::uint32_t frameTime;
};

TEST(FrameHeaderParser, LengthsAndStreamTimesOfSmallHeaders) {
    const SmallHeaderCase cases[] = {
        {"new header without options", HeaderLayout::New, false, {1, 0, 0x10, 0, 3, 0x50, 0, 0}, 8, 16, 0},
        {"bits without a field consume nothing", HeaderLayout::New, false, {1, 0, 9, 0, 0, 0, 0x11, 0xDE}, 8, 9, 0},
        {"extension bit without its tag: the byte is picture", HeaderLayout::New, false,
         {1, 0, 9, 0, 0, 0, 0x00, 0x20, 0xFF, 0xD8}, 8, 9, 0},
        {"new stream time below the cut", HeaderLayout::New, false,
         {1, 0, 0, 0, 0, 0, 0x20, 0, 0x32, 0x33, 0x33, 0x33}, 12, 0, 4294967290u},
        {"new stream time at the cut gives 0", HeaderLayout::New, false,
         {1, 0, 0, 0, 0, 0, 0x20, 0, 0x33, 0x33, 0x33, 0x33}, 12, 0, 0},
        {"G66M length counts the header", HeaderLayout::New, true, {1, 0, 108, 0, 0, 0, 0, 0}, 8, 100, 0},
        {"old header with an empty mask", HeaderLayout::Old, false, {0, 0, 0, 0}, 4, 0, 0},
        {"old mask bits without a field", HeaderLayout::Old, false,
         {0x01, 0xC0, 0xFF, 0xFF, 7, 0, 0, 0}, 8, 7, 0},
        {"old stream time wraps", HeaderLayout::Old, false,
         {0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, 8, 0, 0xFFFFFFFBu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FrameHeaderFields f = MustParse(c.bytes, c.layout, c.lengthCountsHeader);
        EXPECT_EQ(f.record.dwHeaderLength, c.headerLength);
        EXPECT_EQ(f.record.dwLength, c.payloadLength);
        EXPECT_EQ(f.record.dwFrameTime, c.frameTime);
    }
}

TEST(FrameHeaderParser, ChannelAndViewNibblesOfTheNewHeader) {
    const FrameHeaderFields f = MustParse({1, 0, 0, 0, 0xF3, 0xA2, 0, 0}, HeaderLayout::New);
    EXPECT_EQ(f.record.byChannel, 3);
    EXPECT_EQ(f.record.byViewChannel, 10);
}

TEST(FrameHeaderParser, ExtensionSensorByteIsConsumedForEveryDevice) {
    // Sensor mode only: the byte is read whatever the family; the picture follows it.
    const FrameHeaderFields f =
        MustParse({1, 0, 4, 0, 0, 0, 0, 0x20, 0x32, 0, 0x10, 0, 0x05, 0xFF, 0xD8}, HeaderLayout::New);
    EXPECT_EQ(f.record.dwHeaderLength, 13u);
    EXPECT_EQ(f.sensorMode, 5);
    EXPECT_FALSE(f.retrState.has_value());
}

TEST(FrameHeaderParser, RefusesBadVersionAndShortG66MLengthWithoutWriting) {
    FrameHeaderFields out;
    out.record.dwLength = 77;
    EXPECT_EQ(ParseFrameHeader(Bytes{2, 0, 16, 0, 0, 0, 0, 0}, HeaderLayout::New, false, out),
              HeaderParseStatus::BadVersion);
    EXPECT_EQ(ParseFrameHeader(Bytes{1, 0, 7, 0, 0, 0, 0, 0}, HeaderLayout::New, true, out),
              HeaderParseStatus::BadLength);
    EXPECT_EQ(out.record.dwLength, 77u);
}

TEST(FrameHeaderParser, EveryCutShortHeaderIsIncompleteAndReadsNothingPast) {
    for (const auto& [layout, whole] : {std::pair{HeaderLayout::New, kNewHeaderAllFields},
                                        std::pair{HeaderLayout::Old, kOldHeaderAllFields}}) {
        for (std::size_t n = 0; n < whole.size(); ++n) {
            // An exact-size heap copy lets the address sanitizer catch a read past the end.
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<long>(n));
            FrameHeaderFields out;
            EXPECT_EQ(ParseFrameHeader(prefix, layout, false, out), HeaderParseStatus::Incomplete) << n;
        }
    }
}

TEST(FrameHeaderParser, UnpacksDateTimeBitFields) {
    EXPECT_EQ(session::UnpackDeviceDateTime(0x6162DB5E), kPackedTime);
    EXPECT_EQ(session::UnpackDeviceDateTime(0xFFFFFFFF), (SystemTime{2063, 15, 0, 31, 31, 63, 63, 0}));
    EXPECT_EQ(session::UnpackDeviceDateTime(0), (SystemTime{2000, 0, 0, 0, 0, 0, 0, 0}));
}

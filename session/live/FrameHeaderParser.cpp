#include "session/live/FrameHeaderParser.h"

#include <bit>
#include <cstring>

#include "platform/ByteOrder.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace session {

namespace {

enum class Field {
    Length,
    Text,
    Retr,
    SizeCode,
    Option100,
    StreamTime,
    Channel,
    AlarmInput,
    Motion,
    AlarmExtra,
    NetworkBackup,
    ViewChannel,
    MultiChannelView,
    DateTime,
    VideoLoss,
    SensorMode,
    Extension,
};

struct FieldRow {
    std::uint32_t bit;
    std::uint8_t size;  // bytes consumed when the bit is set
    Field field;
};

// Optional fields in the order they follow each other on the wire.
constexpr FieldRow kNewHeaderFields[] = {
    {0x0002, 2, Field::Motion},     {0x0004, 2, Field::AlarmInput}, {0x0008, 2, Field::AlarmExtra},
    {0x0020, 4, Field::StreamTime}, {0x0040, 4, Field::DateTime},   {0x0080, 16, Field::Text},
    {0x0100, 1, Field::Option100},  {0x2000, 0, Field::Extension},
};

constexpr FieldRow kExtensionFields[] = {
    {0x0001, 1, Field::SizeCode},         {0x0002, 1, Field::Retr},
    {0x0008, 0, Field::NetworkBackup},    {0x0004, 0, Field::VideoLoss},
    {0x0020, 0, Field::MultiChannelView}, {0x0010, 1, Field::SensorMode},
};

constexpr FieldRow kOldHeaderFields[] = {
    {0x0001, 4, Field::Length},        {0x0002, 16, Field::Text},        {0x0004, 2, Field::Retr},
    {0x0008, 1, Field::SizeCode},      {0x0010, 1, Field::Option100},    {0x0020, 4, Field::StreamTime},
    {0x0040, 1, Field::Channel},       {0x0080, 2, Field::AlarmInput},   {0x0100, 2, Field::Motion},
    {0x0200, 2, Field::AlarmExtra},    {0x0400, 0, Field::NetworkBackup}, {0x0800, 1, Field::ViewChannel},
    {0x2000, 4, Field::DateTime},      {0x1000, 0, Field::VideoLoss},
};

constexpr std::size_t kNewFixedBytes = 8;
constexpr std::size_t kOldFixedBytes = 4;
constexpr std::size_t kExtensionFixedBytes = 4;
constexpr std::uint8_t kExtensionTag = 0x32;
// New-header stream times from here on would overflow when multiplied by 5.
constexpr std::uint32_t kFirstOverflowingStreamTime = 0x33333333;

using platform::LoadLe16;
using platform::LoadLe32;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    // The next n bytes, or nullptr (and nothing consumed) when fewer are left.
    const std::uint8_t* Take(std::size_t n) {
        if (bytes_.size() - pos_ < n)
            return nullptr;
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }
    bool AtLeast(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    std::uint8_t Peek() const { return bytes_[pos_]; }
    std::size_t Position() const { return pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Stores one field; p points at its bytes (size from its row).
void StoreField(Field field, const std::uint8_t* p, HeaderLayout layout, FrameHeaderFields& out) {
    ImageSlotInfo& r = out.record;
    switch (field) {
    case Field::Length: r.dwLength = LoadLe32(p); break;
    case Field::Text: std::memcpy(r.szText, p, kSlotTextBytes); break;
    case Field::Retr: out.retrState = p[0]; break;
    case Field::SizeCode: r.bySizeCode = p[0]; break;
    case Field::Option100: r.byOption100 = p[0]; break;
    case Field::StreamTime: {
        const std::uint32_t v = LoadLe32(p);
        // The old header's product wraps; the new one's is cut to 0 instead.
        r.dwFrameTime = (layout == HeaderLayout::New && v >= kFirstOverflowingStreamTime) ? 0 : v * 5u;
        break;
    }
    case Field::Channel: r.byChannel = p[0]; break;
    case Field::AlarmInput:
        r.wAlarmInput = LoadLe16(p);
        out.alarmInputPresent = true;
        break;
    case Field::Motion:
        r.wMotionDetect = LoadLe16(p);
        out.motionPresent = true;
        break;
    case Field::AlarmExtra:
        r.wAlarmExtra = LoadLe16(p);
        out.alarmExtraPresent = true;
        break;
    case Field::NetworkBackup: out.networkBackup = true; break;
    case Field::ViewChannel: r.byViewChannel = p[0]; break;
    case Field::MultiChannelView: r.byViewChannel = kMultiChannelView; break;
    case Field::DateTime:
        r.stDateTime = UnpackDeviceDateTime(LoadLe32(p));
        out.dateTimePresent = true;
        break;
    case Field::VideoLoss: r.byVideoLoss = 1; break;
    case Field::SensorMode: out.sensorMode = p[0]; break;
    case Field::Extension: break;  // read by its own table
    }
}

// Reads the fields of the set bits in table order; false when the bytes end first.
template <std::size_t N>
bool ReadFields(Reader& in, std::uint32_t bits, const FieldRow (&table)[N], HeaderLayout layout,
                FrameHeaderFields& out);

bool ReadExtension(Reader& in, HeaderLayout layout, FrameHeaderFields& out) {
    if (!in.AtLeast(1))
        return false;
    if (in.Peek() != kExtensionTag)
        return true;  // no block: the bytes belong to the picture
    const std::uint8_t* fixed = in.Take(kExtensionFixedBytes);
    if (!fixed)
        return false;
    return ReadFields(in, LoadLe16(fixed + 2), kExtensionFields, layout, out);
}

template <std::size_t N>
bool ReadFields(Reader& in, std::uint32_t bits, const FieldRow (&table)[N], HeaderLayout layout,
                FrameHeaderFields& out) {
    for (const FieldRow& row : table) {
        if (!(bits & row.bit))
            continue;
        if (row.field == Field::Extension) {
            if (!ReadExtension(in, layout, out))
                return false;
            continue;
        }
        const std::uint8_t* p = in.Take(row.size);
        if (!p)
            return false;
        StoreField(row.field, p, layout, out);
    }
    return true;
}

}  // namespace

const char* ToString(HeaderParseStatus status) {
    switch (status) {
    case HeaderParseStatus::Parsed: return "parsed";
    case HeaderParseStatus::Incomplete: return "incomplete";
    case HeaderParseStatus::BadVersion: return "bad version";
    case HeaderParseStatus::BadLength: return "bad length";
    }
    return "?";
}

SystemTime UnpackDeviceDateTime(std::uint32_t v) {
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(2000 + (v >> 26));
    t.wMonth = static_cast<std::uint16_t>((v >> 22) & 0x0F);
    t.wDay = static_cast<std::uint16_t>((v >> 17) & 0x1F);
    t.wHour = static_cast<std::uint16_t>((v >> 12) & 0x1F);
    t.wMinute = static_cast<std::uint16_t>((v >> 6) & 0x3F);
    t.wSecond = static_cast<std::uint16_t>(v & 0x3F);
    return t;
}

HeaderParseStatus ParseFrameHeader(std::span<const std::uint8_t> bytes, HeaderLayout layout,
                                   bool lengthCountsHeader, FrameHeaderFields& out) {
    FrameHeaderFields fields;
    Reader in(bytes);
    if (layout == HeaderLayout::New) {
        const std::uint8_t* fixed = in.Take(kNewFixedBytes);
        if (!fixed)
            return HeaderParseStatus::Incomplete;
        if (LoadLe16(fixed) != 1)
            return HeaderParseStatus::BadVersion;
        fields.record.dwLength = LoadLe16(fixed + 2);
        fields.record.byChannel = fixed[4] & 0x0F;
        fields.record.byViewChannel = fixed[5] >> 4;
        if (!ReadFields(in, LoadLe16(fixed + 6), kNewHeaderFields, layout, fields))
            return HeaderParseStatus::Incomplete;
    } else {
        const std::uint8_t* fixed = in.Take(kOldFixedBytes);
        if (!fixed)
            return HeaderParseStatus::Incomplete;
        const std::uint32_t mask = LoadLe32(fixed);
        fields.record.dwOptionMask = mask;
        if (!ReadFields(in, mask, kOldHeaderFields, layout, fields))
            return HeaderParseStatus::Incomplete;
    }
    const auto headerLength = static_cast<std::uint32_t>(in.Position());
    fields.record.dwHeaderLength = headerLength;
    if (layout == HeaderLayout::New && lengthCountsHeader) {
        if (fields.record.dwLength < headerLength)
            return HeaderParseStatus::BadLength;
        fields.record.dwLength -= headerLength;
    }
    out = fields;
    return HeaderParseStatus::Parsed;
}

namespace {

struct AlarmField {
    bool present;
    std::uint16_t value;
    std::uint32_t source;
};

bool SameSecond(const SystemTime& a, const SystemTime& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

constexpr const char* kNetworkBackupText = "Network backup,stop video!!";

}  // namespace

CRTPHeader::CRTPHeader(AppData& app) : app_(app) {}

HeaderLayout CRTPHeader::Layout() const {
    return app_.dw_NewHeaderFormat.load() ? HeaderLayout::New : HeaderLayout::Old;
}

bool CRTPHeader::LengthCountsHeader() const { return IsG66MFamily(app_.str_ProductID.Get()); }

HeaderParseStatus CRTPHeader::Parse(std::span<const std::uint8_t> bytes, std::uint32_t& headerLength,
                                    ImageSlotInfo& record) {
    const HeaderLayout layout = Layout();
    FrameHeaderFields fields;
    const HeaderParseStatus status = ParseFrameHeader(bytes, layout, LengthCountsHeader(), fields);
    if (status != HeaderParseStatus::Parsed)
        return status;
    React(fields, layout);
    headerLength = fields.record.dwHeaderLength;
    record = fields.record;
    return status;
}

void CRTPHeader::React(const FrameHeaderFields& fields, HeaderLayout layout) {
    const ImageSlotInfo& r = fields.record;
    const std::string product = app_.str_ProductID.Get();
    auto& settings = app_.CSettingINI;
    bool startSound = false, stopSound = false, alarmRecord = false;

    // The RETR state can change the trigger and auto-switch settings, so where
    // it stands in the layout decides whether the alarm fields see the change.
    auto applyRetr = [&] {
        if (fields.retrState)
            app_.C_ControlD.SetRetrState(*fields.retrState);
    };
    auto judge = [&](const AlarmField& field) {
        if (!field.present) {
            if (m_dwAlarmSource.load() == field.source) {
                m_dwAlarmSource.store(kAlarmSourceNone);
                stopSound = true;
            }
            return;
        }
        m_wAlarmData.store(field.value);
        m_dwAlarmSource.store(field.source);
        const bool trigger = settings.m_byAlarmTriggerRecord.load() != 0;
        // The field's presence alone asks for the sound, even with no bit set.
        if (app_.dw_AlarmAudioPlaying.load() == 0 && trigger)
            startSound = true;
        if (field.value != 0 && trigger)
            alarmRecord = true;
        if (field.source == kAlarmSourceMotion && field.value != 0 && IsDvrFamily(product) &&
            app_.by_MultiChannel.load() != 0 && settings.m_byAlarmAutoSwitchVideo.load() != 0)
            channelSwitch_.Request(1 + std::countr_zero(field.value));
    };
    const AlarmField motion{fields.motionPresent, r.wMotionDetect, kAlarmSourceMotion};
    const AlarmField input{fields.alarmInputPresent, r.wAlarmInput, kAlarmSourceInput};
    const AlarmField extra{fields.alarmExtraPresent, r.wAlarmExtra, kAlarmSourceExtra};
    if (layout == HeaderLayout::New) {
        judge(motion);
        judge(input);
        judge(extra);
        applyRetr();
    } else {
        applyRetr();
        judge(input);
        judge(motion);
        judge(extra);
    }

    if (fields.networkBackup)
        app_.Ui().SetStatusText(kNetworkBackupText);
    const bool g66m = IsG66MFamily(product);
    if (fields.sensorMode && g66m)
        app_.Ui().PostSensorMode(*fields.sensorMode);
    if (fields.dateTimePresent && !SameSecond(r.stDateTime, app_.st_FrameTime.Get())) {
        app_.st_FrameTime.Set(r.stDateTime);
        if (IsVideoServerFamily(product) || g66m)
            app_.Ui().RefreshStatus();
    }
    m_RTPH_Struct.Set(r);

    // Only devices whose alarms this program follows sound and record them.
    if (!app_.C_ControlD.HasLinkedDvr() && product != "R47T" && !IsN5HFamily(product))
        return;
    if (app_.dw_AlarmAudioPlaying.load() == 0 && startSound)
        app_.Ui().PostAlarmAudio(0);
    else if (stopSound)
        app_.Ui().PostAlarmAudio(2);
    auto& recorder = app_.CAlarmRecord();
    if (alarmRecord && !recorder.IsRecording())
        recorder.StartRecord(settings.m_strRecordPath.Get(), 0);
    else if (!alarmRecord && recorder.IsRecording())
        recorder.StopRecord();
}

int CRTPHeader::ClearAlarmData() { return m_wAlarmData.exchange(0) != 0 ? 1 : 0; }

ImageSlotInfo CRTPHeader::LastHeader() const {
    return m_RTPH_Struct.Get();
}

}  // namespace session

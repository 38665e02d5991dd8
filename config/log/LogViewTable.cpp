#include "config/log/LogViewTable.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace config {

namespace {

struct EventText {
    std::uint32_t code;
    const char* text;
};

constexpr EventText kDvrEvents[] = {
    {0x1, "POWER ON"},         {0x2, "VIDEO LOSS"},       {0x4, "HDD FULL"},          {0x8, "EMAIL FAILED"},
    {0x10, "FTP FAILED"},      {0x20, "KEY LOCK"},        {0x40, "KEY UNLOCK"},       {0x80, "RESET DEFAULT"},
    {0x100, "REMOTE LOGIN"},   {0x200, "HDD ERROR"},      {0x400, "HDD DMA ERROR"},   {0x800, "USB_ERROR"},
    {0x8000, "PPPOE SUCCESS"}, {0x10000, "DHCP SUCCESS"},
};
constexpr EventText kServerEvents[] = {
    {0x1, "POWER ON"},          {0x2, "RESET DEFAULT"},  {0x10, "REMOTE LOGIN"},    {0x20, "REMOTE LOGOUT"},
    {0x100, "EMAIL SUCCESS"},   {0x200, "FTP SUCCESS"},  {0x1000, "PPPOE SUCCESS"}, {0x10000, "EMAIL FAILED"},
    {0x20000, "FTP FAILED"},    {0x40000, "SNTP FAILED"}, {0x100000, "PPPOE FAILED"},
};

constexpr LogFilterBox kDvrBoxes[] = {
    {1442, "ZASILANIE", 0x1},          {1443, "ZANIK VIDEO", 0x2},       {1444, "LOGOWANIE ZDALNE", 0x100},
    {1445, "DYSK PEŁNY", 0x4},         {1446, "ZABLOKOWANIE", 0x20},     {1447, "ODBLOKOWANIE", 0x40},
    {1448, "RESET USTAWIEŃ", 0x80},    {1449, "BŁĄD EMAIL", 0x8},        {1450, "BŁĄD FTP", 0x10},
    {1451, "BŁĄD DYSKU", 0x200},       {1452, "BŁĄD KONTROLERA DMA", 0x400}, {1453, "DDNS", 0x4000},
    {1454, "PPPOE", 0x8000},           {1455, "DHCP", 0x10000},
};
constexpr LogFilterBox kServerBoxes[] = {
    {1442, "ZASILANIE", 0x1},          {1448, "RESET USTAWIEŃ", 0x2},    {1462, "ALARM", 0x4},
    {1444, "LOGOWANIE ZDALNE", 0x10},  {1445, "WYLOGOWANIE ZDALNE", 0x20}, {1451, "PPPOE OK", 0x1000},
    {1452, "BŁĄ PPPOE", 0x100000},     {1449, "BŁĄD EMAIL", 0x10000},    {1450, "BŁĄD FTP", 0x20000},
    {1446, "EMAIL OK", 0x100, true},   {1447, "FTP OK", 0x200, true},
};

std::string Printf(const char* format, auto... values) {
    char text[96];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string WithUser(const char* event, const DeviceLogRecord& record) {
    return Printf("%s ( %s )", event, platform::Windows1250ToUtf8(record.szUser).c_str());
}

std::string EventTextOf(LogViewer viewer, const DeviceLogRecord& record) {
    const std::uint32_t code = record.dwEvent;
    if (viewer == LogViewer::Dvr) {
        if (code == 0x4000)
            return record.byResult ? "DDNS UPDATE SUCCESS" : "DDNS UPDATE FAIL";
        if (code == 0x100)
            return WithUser("REMOTE LOGIN", record);
        for (const EventText& row : kDvrEvents)
            if (row.code == code)
                return row.text;
        return "NO EVENT";
    }
    if (code == 0x4) {
        for (int bit = 0; bit < 8; ++bit)
            if (record.byChannel & (1u << bit))
                return Printf("ALARM (%.1d)", bit + 1);
        return "ALARM";
    }
    if (code == 0x10 || code == 0x20)
        return WithUser(code == 0x10 ? "REMOTE LOGIN" : "REMOTE LOGOUT", record);
    for (const EventText& row : kServerEvents)
        if (row.code == code)
            return row.text;
    return "NO EVENT";
}

}  // namespace

std::span<const LogFilterBox> LogFilterBoxes(LogViewer viewer) {
    if (viewer == LogViewer::Dvr)
        return kDvrBoxes;
    return kServerBoxes;
}

std::uint32_t InitialLogMask(LogViewer viewer) { return viewer == LogViewer::Dvr ? kDvrLogMask : kServerLogMask; }

std::vector<LogRow> LogRows(LogViewer viewer, std::span<const DeviceLogRecord> records, std::uint32_t mask) {
    std::vector<LogRow> rows;
    for (const DeviceLogRecord& record : records) {
        if ((record.dwEvent & mask) == 0 || record.dwEvent == kLogHiddenEvent)
            continue;
        LogRow row{Printf("%2d", static_cast<int>(rows.size() + 1)), EventTextOf(viewer, record)};
        if (viewer == LogViewer::Server && record.dwEvent == 0x1)
            row.push_back("");
        else
            row.push_back(Printf("%.2d-%.2d-%.2d %.2d:%.2d:%.2d", record.byYear, record.byMonth, record.byDay,
                                 record.byHour, record.byMinute, record.bySecond));
        if (viewer == LogViewer::Dvr)
            row.push_back(record.byChannel ? Printf("%d", record.byChannel) : std::string("NO"));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace config

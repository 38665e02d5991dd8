// The DVR record settings' device side: the rate lists and the
// "/SetRecordSetting.cgi" request with a flag per setting.

#include <gtest/gtest.h>

#include <string>

#include "config/dvr/DvrRecordSettings.h"
#include "config/dvr/RecordRateTable.h"

namespace config {
namespace {

using K = DvrRecordKey;
using Rates = std::array<std::uint16_t, 4>;

TEST(RecordRateTable, RatesByChannelsStandardAndMode) {
    struct Case {
        int channels, videoType, mode;
        std::optional<Rates> rates;
    };
    const Case cases[] = {
        {16, 1, 1, Rates{200, 100, 50, 25}}, {4, 1, 0, Rates{25, 12, 6, 3}},  {16, 0, 2, Rates{480, 240, 120, 60}},
        {8, 0, 0, Rates{60, 30, 15, 7}},     {0, 0, 1, Rates{60, 30, 15, 7}}, {8, 2, 0, std::nullopt},
        {8, 1, 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordRates(c.channels, c.videoType, c.mode), c.rates)
            << c.channels << " " << c.videoType << " " << c.mode;
}

DVRRecordPageState Device() {
    DVRRecordPageState d;
    d.values = {1, 1, 0, 1, 0, 1, 2, 0, 1, 8, 0, 7, 3};  // frame mode, rates 1/2/0, grouped
    return d;
}

TEST(DvrRecordRequest, FlagsEveryGroupAndAlwaysSendsTheFixedChoice) {
    const DVRRecordPageState device = Device();
    EXPECT_EQ(DvrRecordRequest(device, {}, "5A17C0DE").Text(),
              "/SetRecordSetting.cgi?Cookie=5A17C0DE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0&"
              "CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=0");

    // Frame to CIF: the lists rebuilt at their first item, the fixed rate forced.
    DvrRecordChoice cif;
    cif.recordMode = 2;
    cif.motionRate = cif.manualRate = cif.timerRate = 0;
    cif.recordFix = 1;
    cif.manual = 1;  // picked, but what the device has
    EXPECT_EQ(DvrRecordRequest(device, cif, "").Text(),
              "/SetRecordSetting.cgi?CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0&CHRECMODE=1&RECMODE=2&"
              "CHMOTIONRATE=1&MOTIONRATETYPE=0&CHMANUALRATE=1&MANUALRATETYPE=0&CHTIMERRATE=0&CHIPSSHARE=1&"
              "RECORDFIX=1");

    DvrRecordChoice quality;
    quality.quality = 16;
    quality.timer = 1;
    EXPECT_EQ(DvrRecordRequest(device, quality, "").Text(),
              "/SetRecordSetting.cgi?CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=1&TIMER=1&CHOV=0&CHQT=1&QUALITY=16&"
              "CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=0");
}

}  // namespace
}  // namespace config

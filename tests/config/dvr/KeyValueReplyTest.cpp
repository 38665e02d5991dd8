// The DVR's "KEY=value;" replies: whole keys in any order, signed decimals cut
// to the field's width, and the replies that count as a failed read.

#include <gtest/gtest.h>

#include <string>

#include "config/dvr/KeyValueReply.h"

namespace config {
namespace {

constexpr KeyValueKey kKeys[] = {{"MONTH", 16}, {"DAY", 16}, {"STARTMONTH", 8}, {"DAYLIGHTSAVING", 8}};

TEST(KeyValueReply, ReadsWholeKeysInAnyOrder) {
    struct Case {
        const char* name;
        std::string reply;
        std::vector<std::uint16_t> values;
    };
    const Case cases[] = {
        {"inOrder", "MONTH=3;DAY=14;STARTMONTH=2;DAYLIGHTSAVING=1;", {{3, 14, 2, 1}}},
        {"longKeysFirst", "STARTMONTH=9;DAYLIGHTSAVING=1;MONTH=12;DAY=5;", {{12, 5, 9, 1}}},
        {"blanksAndLastWithoutSemicolon", " MONTH= 7;\r\nDAY=+8;STARTMONTH=1;OTHER=4;DAYLIGHTSAVING=0",
         {{7, 8, 1, 0}}},
        {"lowBitsOfSignedValues", "MONTH=-1;DAY=65537;STARTMONTH=257;DAYLIGHTSAVING=-2;",
         {{0xFFFF, 1, 1, 0xFE}}},
        {"digitsUpToTheFirstOther", "MONTH=4x;DAY=;STARTMONTH=abc;DAYLIGHTSAVING=99999999999999999999;",
         {{4, 0, 0, 0xFF}}},  // 99999999999999999999 mod 256
        {"firstOfTwice", "MONTH=1;MONTH=2;DAY=3;STARTMONTH=4;DAYLIGHTSAVING=5;", {{1, 3, 4, 5}}},
        // A key the reply lacks reads 0 and is not given; the rest are read.
        {"keyMissing", "MONTH=1;DAY=3;STARTMONTH=4;", {{1, 3, 4, 0}}},
        {"keyOnlyInsideAnother", "STARTMONTH=4;DAY=3;DAYLIGHTSAVING=1;", {{0, 3, 4, 1}}},
        {"empty", "", {{0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = ReadKeyValueReply(c.reply, kKeys);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->values, c.values);
    }
    const auto read = ReadKeyValueReply("STARTMONTH=4;DAY=0;", kKeys);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->given, (std::vector<bool>{false, true, true, false}));
}

TEST(KeyValueReply, AReplyThatFillsTheAreaIsNotWhole) {
    std::string reply = "MONTH=3;DAY=14;STARTMONTH=2;DAYLIGHTSAVING=1;";
    reply.resize(kKeyValueReplyArea - 1, ' ');
    EXPECT_TRUE(ReadKeyValueReply(reply, kKeys));
    reply.push_back(' ');
    EXPECT_FALSE(ReadKeyValueReply(reply, kKeys));
}

}  // namespace
}  // namespace config

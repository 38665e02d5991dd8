#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"
#include "session/files/AddressBook.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using session::AddressBook;
using session::AddressFields;
using session::IPRecord;

namespace {

// A record built byte by byte, independent of the encoder.
std::string RawRecord(std::string_view user, std::string_view address, std::string_view comment,
                      std::uint16_t port, std::uint32_t check2 = 0x4C4C4C4C) {
    std::string r(400, '\0');
    auto put32 = [&](std::size_t off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            r[off + i] = static_cast<char>(v >> (8 * i));
    };
    put32(0, 0x12121212);
    r.replace(4, user.size(), user);
    put32(132, check2);
    r.replace(136, address.size(), address);
    put32(264, 0x8A8A8A8A);
    r.replace(268, comment.size(), comment);
    r[396] = static_cast<char>(port & 0xFF);
    r[397] = static_cast<char>(port >> 8);
    return r;
}

class AddressBookFileTest : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { temp.Write("IPRecord.dat", bytes); }
    std::string Read() { return temp.Read("IPRecord.dat"); }
    testutil::TempFolder temp;
    const fs::path& dir = temp.path();
    const fs::path file = dir / "IPRecord.dat";
};

}  // namespace

TEST(IPRecord, GoldenRecordIsWrittenFieldByFieldAndReadsBack) {
    const IPRecord anna{"anna", "10.0.0.7", "hall", 80};
    std::string golden = "\x12\x12\x12\x12" "anna" + std::string(124, '\0') +
                         "\x4C\x4C\x4C\x4C" "10.0.0.7" + std::string(120, '\0') +
                         "\x8A\x8A\x8A\x8A" "hall" + std::string(124, '\0') +
                         std::string("\x50\x00\x00\x00", 4);
    ASSERT_EQ(golden.size(), 400u);

    const auto bytes = session::EncodeIPRecord(anna);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), golden);

    const auto decoded = session::DecodeIPRecord(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, anna);
}

TEST(IPRecord, PortUsesAllSixteenBitsLittleEndian) {
    const auto bytes = session::EncodeIPRecord({"u", "h", "", 0xABCD});
    EXPECT_EQ(bytes[396], 0xCD);
    EXPECT_EQ(bytes[397], 0xAB);
    EXPECT_EQ(bytes[398], 0);
    EXPECT_EQ(bytes[399], 0);
    EXPECT_EQ(session::DecodeIPRecord(bytes)->webPort, 0xABCD);
}

TEST(IPRecord, EachWrongCheckCodeIsReported) {
    for (std::size_t check : {1, 2, 3}) {
        auto bytes = session::EncodeIPRecord({"anna", "10.0.0.7", "hall", 80});
        bytes[(check - 1) * 132] ^= 0x01;
        int bad = 0;
        EXPECT_FALSE(session::DecodeIPRecord(bytes, &bad)) << check;
        EXPECT_EQ(bad, static_cast<int>(check));
    }
}

TEST(IPRecord, FieldWithoutZeroByteIsReadOverItsWholeWidth) {
    auto bytes = session::EncodeIPRecord({"anna", "x", "", 1});
    std::fill(bytes.begin() + 136, bytes.begin() + 264, 'a');  // address runs into check code 3
    const auto decoded = session::DecodeIPRecord(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->address, std::string(128, 'a'));
}

// A text field holds 127 bytes. Windows-1250 is written whenever every
// character has a form there, as the original program reads the file; other
// texts are UTF-8, cut between characters.
TEST(IPRecord, TextFieldEncodingTable) {
    const std::string a127(127, 'a');
    std::string ogonki;  // 100 x "ą": 200 bytes of UTF-8, 100 of Windows-1250
    for (int i = 0; i < 100; ++i)
        ogonki += "ą";
    std::string ambiguous;  // "Ăł" in Windows-1250 is C3 B3, valid UTF-8 for "ó"
    for (int i = 0; i < 40; ++i)
        ambiguous += "Ăł";
    std::string zh;  // 70 x "ж" + 'z': 141 bytes of UTF-8, no Windows-1250 form
    for (int i = 0; i < 70; ++i)
        zh += "ж";
    zh += "z";
    const struct {
        const char* what;
        std::string text;
        std::string stored;
    } cases[] = {
        {"ascii as it is", "hall", "hall"},
        {"127 bytes fit", a127, a127},
        {"200 ascii bytes keep their first 127", std::string(200, 'b'), std::string(127, 'b')},
        {"short Polish text in Windows-1250", "Łódź", "\xA3\xF3\x64\x9F"},
        {"long Polish text in Windows-1250", ogonki, std::string(100, '\xB9')},
        {"Polish text cut at 127 characters", ogonki + ogonki, std::string(127, '\xB9')},
        {"Windows-1250 that would read as UTF-8 is cut as UTF-8 instead", ambiguous, ambiguous.substr(0, 126)},
        {"without a Windows-1250 form: UTF-8", "Жанна", "Жанна"},
        {"cut between characters, never inside one", zh + std::string(200, 'x'), zh.substr(0, 126)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string stored = session::EncodeTextField(c.text);
        EXPECT_EQ(stored, c.stored);
        EXPECT_LE(stored.size(), 127u);
        EXPECT_EQ(session::FitTextField(c.text), platform::DecodeText(stored));
        const auto decoded = session::DecodeIPRecord(session::EncodeIPRecord({"u", "h", c.text, 1}));
        EXPECT_EQ(decoded->comment, session::FitTextField(c.text));
    }
}

TEST(IPRecord, WebPortTextTable) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> port;
    } cases[] = {
        {"80", 80},     {"1", 1},        {"9999", 9999},  {"0080", 80},
        {"0", {}},      {"10000", {}},   {"", {}},        {"70000", {}},  // 70000 would wrap to 4464
        {"65616", {}},  {"99999999999999", {}},           {"8a", {}},     {"-5", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(session::ParseWebPort(c.text), c.port) << c.text;
}

TEST(AddressBookEdit, AddAndReplaceRefuseTheSameFields) {
    const struct {
        AddressFields fields;
        unsigned refusal;
    } cases[] = {
        {{"anna", "10.0.0.7", "80", "hall"}, 0},
        {{"anna", "cam.example", "9999", ""}, 0},
        {{"", "10.0.0.7", "80", ""}, session::kMsgUserAndAddressEmpty},
        {{"anna", "", "80", ""}, session::kMsgUserAndAddressEmpty},
        {{"anna", "10.0.0.7", "0", ""}, session::kMsgWebPortRange},
        {{"anna", "10.0.0.7", "10000", ""}, session::kMsgWebPortRange},
        {{"anna", "10.0.0.7", "70000", ""}, session::kMsgWebPortRange},
        {{"anna", "10.0.0.7", "", ""}, session::kMsgWebPortRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fields.user + "|" + c.fields.address + "|" + c.fields.port);
        AddressBook book;
        EXPECT_EQ(book.Add(c.fields), c.refusal);
        EXPECT_EQ(book.Count(), c.refusal ? 0u : 1u);

        AddressBook edited;
        ASSERT_EQ(edited.Add({"old", "1.2.3.4", "554", "c"}), 0u);
        EXPECT_EQ(edited.Replace(0, c.fields), c.refusal);
        ASSERT_EQ(edited.Count(), 1u);
        if (c.refusal)
            EXPECT_EQ(edited.Entries()[0], (IPRecord{"old", "1.2.3.4", "c", 554}));
        else
            EXPECT_EQ(edited.Entries()[0].address, c.fields.address);
    }
}

TEST(AddressBookEdit, StoredTextsAreWhatTheFileWillHold) {
    AddressBook book;
    ASSERT_EQ(book.Add({"anna", "10.0.0.7", "80", std::string(200, 'c')}), 0u);
    EXPECT_EQ(book.Entries()[0].comment, std::string(127, 'c'));
}

TEST_F(AddressBookFileTest, MissingFileIsCreatedEmpty) {
    AddressBook book;
    ASSERT_TRUE(book.Load(file));
    EXPECT_EQ(book.Count(), 0u);
    ASSERT_TRUE(fs::exists(file));
    ASSERT_TRUE(book.Save(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(AddressBookFileTest, CutLastRecordIsDroppedAndTheWholeOnesKept) {
    const std::string first = RawRecord("anna", "10.0.0.7", "hall", 80);
    const std::string second = RawRecord("jan", "cam.example", "brama", 8080);
    Write(first + second + second.substr(0, 200));  // 1000 bytes
    AddressBook book;
    ASSERT_TRUE(book.Load(file));
    ASSERT_EQ(book.Count(), 2u);
    EXPECT_EQ(book.Entries()[0], (IPRecord{"anna", "10.0.0.7", "hall", 80}));
    EXPECT_EQ(book.Entries()[1], (IPRecord{"jan", "cam.example", "brama", 8080}));
    ASSERT_TRUE(book.Save(file));
    EXPECT_EQ(Read(), first + second);
}

TEST_F(AddressBookFileTest, WrongCheckCodeRefusesTheFileAndLeavesItAsItIs) {
    const std::string original = RawRecord("anna", "10.0.0.7", "hall", 80) +
                                 RawRecord("jan", "10.0.0.8", "", 81, 0x4C4C4C4D) +
                                 RawRecord("ola", "10.0.0.9", "", 82);
    Write(original);
    AddressBook book;
    const auto result = book.Load(file);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("record 2"), std::string::npos) << result.error;
    EXPECT_EQ(book.Count(), 0u);
    EXPECT_EQ(Read(), original);
}

// Records of the original program go back as they came; an edited one is
// written anew, its Polish texts in Windows-1250.
TEST_F(AddressBookFileTest, OriginalRecordsSurviveASaveByteForByte) {
    const std::string longComment(127, '\xB9');  // 127 x "ą" in Windows-1250
    std::string first = RawRecord("\xA3ukasz", "10.0.0.7", longComment, 80);
    first[4 + 20] = 'j';  // bytes behind the text's end that no reader looks at
    first[398] = 1;
    const std::string second = RawRecord("anna", std::string(128, 'h'), "\xE6ma", 8080);  // no zero byte in the address
    Write(first + second + RawRecord("ewa", "10.0.0.9", "", 81));
    AddressBook book;
    ASSERT_TRUE(book.Load(file));
    ASSERT_EQ(book.Count(), 3u);
    EXPECT_EQ(book.Entries()[0].user, "Łukasz");
    EXPECT_EQ(book.Entries()[0].comment, platform::Windows1250ToUtf8(longComment));
    EXPECT_EQ(book.Replace(2, {"Ewa Żak", "10.0.0.9", "81", ""}), 0u);
    ASSERT_TRUE(book.Save(file));
    const std::string saved = Read();
    ASSERT_EQ(saved.size(), 1200u);
    EXPECT_EQ(saved.substr(0, 800), first + second);
    EXPECT_EQ(saved.substr(800), RawRecord("Ewa \xAF\x61k", "10.0.0.9", "", 81));
    AddressBook again;
    ASSERT_TRUE(again.Load(file));
    EXPECT_EQ(again.Entries(), book.Entries());
}

// An IPRecord.dat far beyond ten thousand entries is not read: the book
// fails with a message naming the file, which goes aside whole.
TEST_F(AddressBookFileTest, HugeFileIsRefusedAndMovedAside) {
    Write(RawRecord("anna", "10.0.0.7", "hall", 80));
    fs::resize_file(file, std::uintmax_t{1536} << 20);
    AddressBook book;
    const auto result = book.Load(file);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find(file.string() + " is larger than"), std::string::npos) << result.error;
    const auto aside = temp.SetAside("IPRecord.dat");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_NE(result.error.find("moved to " + aside[0].string()), std::string::npos) << result.error;
    EXPECT_EQ(book.Count(), 0u);
    EXPECT_EQ(fs::file_size(aside[0]), std::uintmax_t{1536} << 20);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(AddressBookFileTest, FailedSaveLeavesTheOldFileWhole) {
    const std::string original = RawRecord("anna", "10.0.0.7", "hall", 80);
    Write(original);
    AddressBook book;
    ASSERT_TRUE(book.Load(file));
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(book.Add({"u" + std::to_string(i), "10.0.1." + std::to_string(i), "80", ""}), 0u);

    // A file-size limit below the new file's size makes the write fail, also for root.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = book.Save(file);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result);
    EXPECT_EQ(Read(), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

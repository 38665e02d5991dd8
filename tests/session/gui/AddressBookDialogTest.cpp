#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

#include "platform/AtomicFile.h"
#include "session/files/AddressBook.h"
#include "support/TempFolder.h"
#include "session/gui/AddressBookDialog.h"
#include "support/ChildWidget.h"
#include "gui/StringText.h"

namespace fs = std::filesystem;
using session::AddressBook;
using session::CAddressBookDialog;
using session::IPRecord;
using session::LoadText;
using testutil::Child;

namespace {

const char* const kLists[] = {"userList", "addressList", "portList", "commentList"};

class Dialog : public CAddressBookDialog {
public:
    using CAddressBookDialog::CAddressBookDialog;
    QStringList messages;

protected:
    void ShowMessageText(const QString& text) override { messages << text; }
};

class AddressBookDialogTest : public ::testing::Test {
protected:
    void WriteBook(const std::vector<IPRecord>& entries) {
        std::string bytes;
        for (const auto& e : entries) {
            const auto r = session::EncodeIPRecord(e);
            bytes.append(r.begin(), r.end());
        }
        ASSERT_TRUE(platform::ReplaceFileAtomically(file, bytes));
    }
    std::vector<IPRecord> ReadBook() {
        AddressBook book;
        EXPECT_TRUE(book.Load(file));
        return book.Entries();
    }
    std::unique_ptr<Dialog> OpenDialog() {
        auto d = std::make_unique<Dialog>(file);
        EXPECT_TRUE(d->Open());
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d;
    }

    static void Click(QWidget& d, const char* button) {
        auto* b = Child<QPushButton>(d, button);
        ASSERT_TRUE(b->isVisible()) << button << " is hidden";
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static void Type(QWidget& d, const char* edit, const QString& text) {
        auto* e = Child<QLineEdit>(d, edit);
        ASSERT_TRUE(e->isVisible()) << edit << " is hidden";
        e->clear();
        QTest::keyClicks(e, text);
    }
    static void TypeEntry(QWidget& d, const QString& user, const QString& address, const QString& port,
                          const QString& comment) {
        Type(d, "userEdit", user);
        Type(d, "addressEdit", address);
        Type(d, "portEdit", port);
        Type(d, "commentEdit", comment);
    }
    // The rows of all four lists, checked to agree in length and selection.
    static std::vector<QStringList> Rows(QWidget& d) {
        std::vector<QStringList> rows;
        const int count = Child<QListWidget>(d, kLists[0])->count();
        const int selected = Child<QListWidget>(d, kLists[0])->currentRow();
        for (int r = 0; r < count; ++r)
            rows.emplace_back();
        for (const char* name : kLists) {
            auto* list = Child<QListWidget>(d, name);
            EXPECT_EQ(list->count(), count) << name;
            EXPECT_EQ(list->currentRow(), selected) << name;
            for (int r = 0; r < count && r < list->count(); ++r)
                rows[r] << list->item(r)->text();
        }
        return rows;
    }
    static int Selected(QWidget& d) { return Child<QListWidget>(d, kLists[0])->currentRow(); }

    testutil::TempFolder temp;
    const fs::path file = temp.path() / "IPRecord.dat";
};

std::vector<IPRecord> Numbered(int n) {
    std::vector<IPRecord> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back({"u" + std::to_string(i), "10.0.0." + std::to_string(i), "", std::uint16_t(80 + i)});
    return entries;
}

}  // namespace

TEST_F(AddressBookDialogTest, AddsEditsDeletesAndChoosesAnEntry) {
    auto d = OpenDialog();
    EXPECT_FALSE(Child<QLineEdit>(*d, "userEdit")->isVisible());
    EXPECT_FALSE(Child<QScrollBar>(*d, "scrollBar")->isEnabled());

    // Add three entries.
    const QStringList typed[] = {{"anna", "10.0.0.7", "80", "hall"},
                                 {"jan", "cam.example", "8080", "brama"},
                                 {"ola", "10.0.0.9", "554", ""}};
    for (const auto& t : typed) {
        Click(*d, "addButton");
        EXPECT_FALSE(Child<QPushButton>(*d, "selectButton")->isVisible());
        TypeEntry(*d, t[0], t[1], t[2], t[3]);
        Click(*d, "okButton");
        EXPECT_FALSE(Child<QLineEdit>(*d, "userEdit")->isVisible());
    }
    auto rows = Rows(*d);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (QStringList{"jan", "cam.example", "8080", "brama"}));
    EXPECT_EQ(Selected(*d), 2);  // the new last row

    // Edit the second: choosing a row in any list selects it in all four.
    auto* comments = Child<QListWidget>(*d, "commentList");
    QTest::mouseClick(comments->viewport(), Qt::LeftButton, {}, comments->visualItemRect(comments->item(1)).center());
    EXPECT_EQ(Selected(*d), 1);
    Click(*d, "editButton");
    EXPECT_EQ(Child<QLineEdit>(*d, "addressEdit")->text(), "cam.example");
    EXPECT_FALSE(Child<QListWidget>(*d, "userList")->isEnabled());
    Type(*d, "addressEdit", "10.0.0.8");
    Type(*d, "portEdit", "81");
    Click(*d, "okButton");
    EXPECT_TRUE(Child<QListWidget>(*d, "userList")->isEnabled());
    rows = Rows(*d);
    EXPECT_EQ(rows[1], (QStringList{"jan", "10.0.0.8", "81", "brama"}));
    EXPECT_EQ(Selected(*d), 1);

    // Delete the first; the last row is selected after it.
    Child<QListWidget>(*d, "userList")->setCurrentRow(0);
    Click(*d, "deleteButton");
    rows = Rows(*d);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "jan");
    EXPECT_EQ(Selected(*d), 1);

    // Choose the first remaining entry.
    Child<QListWidget>(*d, "portList")->setCurrentRow(0);
    Click(*d, "selectButton");
    EXPECT_EQ(d->result(), CAddressBookDialog::kChosen);
    ASSERT_TRUE(d->Chosen());
    EXPECT_EQ(*d->Chosen(), (IPRecord{"jan", "10.0.0.8", "brama", 81}));
    EXPECT_TRUE(d->messages.isEmpty()) << d->messages.join("|").toStdString();

    EXPECT_EQ(ReadBook(), (std::vector<IPRecord>{{"jan", "10.0.0.8", "brama", 81}, {"ola", "10.0.0.9", "", 554}}));
}

TEST_F(AddressBookDialogTest, AddingAndEditingRefuseTheSameFields) {
    WriteBook({{"anna", "10.0.0.7", "hall", 80}});
    const struct {
        const char* what;
        QStringList fields;
        unsigned message;
    } cases[] = {
        {"port 0", {"jan", "10.0.0.8", "0", ""}, session::kMsgWebPortRange},
        {"port 10000", {"jan", "10.0.0.8", "10000", ""}, session::kMsgWebPortRange},
        {"port that 16 bits would wrap into range", {"jan", "10.0.0.8", "70000", ""}, session::kMsgWebPortRange},
        {"empty port", {"jan", "10.0.0.8", "", ""}, session::kMsgWebPortRange},
        {"empty address", {"jan", "", "80", ""}, session::kMsgUserAndAddressEmpty},
        {"empty user", {"", "10.0.0.8", "80", ""}, session::kMsgUserAndAddressEmpty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto d = OpenDialog();
        Click(*d, "addButton");
        TypeEntry(*d, c.fields[0], c.fields[1], c.fields[2], c.fields[3]);
        Click(*d, "okButton");
        EXPECT_EQ(d->messages, QStringList{LoadText(c.message)});
        EXPECT_EQ(Rows(*d).size(), 1u);
        // The refused values wait in the edits for the next "DODAJ".
        Click(*d, "addButton");
        EXPECT_EQ(Child<QLineEdit>(*d, "addressEdit")->text(), c.fields[1]);
        Click(*d, "okButton");

        d->messages.clear();
        Click(*d, "editButton");
        TypeEntry(*d, c.fields[0], c.fields[1], c.fields[2], c.fields[3]);
        Click(*d, "okButton");
        EXPECT_EQ(d->messages, QStringList{LoadText(c.message)});
        EXPECT_EQ(Rows(*d)[0], (QStringList{"anna", "10.0.0.7", "80", "hall"}));
        EXPECT_TRUE(Child<QListWidget>(*d, "userList")->isEnabled());
        d->reject();
        EXPECT_EQ(ReadBook(), (std::vector<IPRecord>{{"anna", "10.0.0.7", "hall", 80}}));
    }
}

TEST_F(AddressBookDialogTest, EditingKeepsAUserNameLongerThanTheTypingLimit) {
    WriteBook({{"a-user-name-of-24-chars!", "10.0.0.7", "", 80}});
    auto d = OpenDialog();
    Click(*d, "editButton");
    Type(*d, "portEdit", "81");
    Click(*d, "okButton");
    d->reject();
    EXPECT_EQ(ReadBook(), (std::vector<IPRecord>{{"a-user-name-of-24-chars!", "10.0.0.7", "", 81}}));

    auto again = OpenDialog();
    Click(*again, "addButton");
    Type(*again, "userEdit", "a-user-name-of-24-chars!");
    EXPECT_EQ(Child<QLineEdit>(*again, "userEdit")->text(), "a-user-name-of-");  // 15 when typed
}

TEST_F(AddressBookDialogTest, ButtonsWithoutASelectionExplainThemselves) {
    auto d = OpenDialog();
    Click(*d, "editButton");
    Click(*d, "deleteButton");
    Click(*d, "selectButton");
    EXPECT_EQ(d->messages, (QStringList{LoadText(session::kMsgSelectEntry), LoadText(session::kMsgSelectEntry),
                                        LoadText(session::kMsgChooseSomething)}));
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->Chosen());
}

TEST_F(AddressBookDialogTest, DamagedFileEndsAtOnceAndStaysAsItWas) {
    std::string bytes;
    for (const auto& e : Numbered(3)) {
        const auto r = session::EncodeIPRecord(e);
        bytes.append(r.begin(), r.end());
    }
    bytes[400 + 132] = 0;  // check code 2 of the second record
    ASSERT_TRUE(platform::ReplaceFileAtomically(file, bytes));

    Dialog d(file);
    EXPECT_EQ(d.exec(), CAddressBookDialog::kUnusable);
    ASSERT_EQ(d.messages.size(), 1);
    EXPECT_TRUE(d.messages[0].contains("record 2")) << d.messages[0].toStdString();
    std::string after;
    ASSERT_TRUE(platform::ReadWholeFile(file, after));
    EXPECT_EQ(after, bytes);
}

TEST_F(AddressBookDialogTest, EscapeClosesAndStillSavesTheWholeRecords) {
    WriteBook(Numbered(2));
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(file, bytes));
    ASSERT_TRUE(platform::ReplaceFileAtomically(file, bytes + std::string(200, 'x')));  // 1000 bytes

    auto d = OpenDialog();
    EXPECT_EQ(Rows(*d).size(), 2u);
    EXPECT_EQ(Selected(*d), 1);  // opens on the last entry
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_EQ(d->result(), CAddressBookDialog::kClosed);
    EXPECT_FALSE(d->Chosen());
    EXPECT_EQ(fs::file_size(file), 800u);
    EXPECT_EQ(ReadBook(), Numbered(2));
}

TEST_F(AddressBookDialogTest, EnterInTheEditRowCommitsTheEntry) {
    auto d = OpenDialog();
    Click(*d, "addButton");
    TypeEntry(*d, "anna", "10.0.0.7", "80", "");
    QTest::keyClick(Child<QLineEdit>(*d, "commentEdit"), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(Rows(*d).size(), 1u);
    QTest::keyClick(Child<QListWidget>(*d, "userList"), Qt::Key_Return);  // in browse, Enter is "ANULUJ"
    EXPECT_EQ(d->result(), CAddressBookDialog::kCancelled);
    EXPECT_EQ(ReadBook().size(), 1u);
}

TEST_F(AddressBookDialogTest, ScrollBarMovesTheSelectionOfAllFourLists) {
    WriteBook(Numbered(10));
    auto d = OpenDialog();
    auto* bar = Child<QScrollBar>(*d, "scrollBar");
    EXPECT_FALSE(bar->isEnabled());  // ten rows fit

    const struct {
        int from;
        QAbstractSlider::SliderAction action;
        int to;
    } moves[] = {
        {8, QAbstractSlider::SliderPageStepAdd, 9},   // clamped to the last row
        {3, QAbstractSlider::SliderPageStepAdd, 8},
        {3, QAbstractSlider::SliderPageStepSub, 0},
        {4, QAbstractSlider::SliderSingleStepAdd, 5},
        {4, QAbstractSlider::SliderSingleStepSub, 3},
        {4, QAbstractSlider::SliderToMinimum, 4},     // top and bottom leave it
    };
    for (const auto& m : moves) {
        Child<QListWidget>(*d, "commentList")->setCurrentRow(m.from);
        EXPECT_EQ(bar->value(), m.from);
        bar->triggerAction(m.action);
        EXPECT_EQ(Selected(*d), m.to) << m.from << " action " << m.action;
        EXPECT_EQ(bar->value(), m.to);
        Rows(*d);  // all four agree
    }

    Click(*d, "addButton");
    TypeEntry(*d, "u10", "10.0.0.10", "90", "");
    Click(*d, "okButton");
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->value(), 10);
    Click(*d, "deleteButton");
    EXPECT_FALSE(bar->isEnabled());
}

TEST_F(AddressBookDialogTest, TabWalksTheFieldsFromLeftToRight) {
    auto d = OpenDialog();
    Click(*d, "addButton");
    QWidget* next = Child<QLineEdit>(*d, "userEdit")->nextInFocusChain();
    EXPECT_TRUE(qobject_cast<QLineEdit*>(next)) << next->metaObject()->className();
}

// Start's disc preparation against the fake engine: the writer that cannot
// start, the cancelled dialog, a refused disc bringing the dialog back, and
// the dialog that had no drive.
#include "recording/backup/DiscPreparation.h"

#include <gtest/gtest.h>

#include "fakes/FakeBurnEngine.h"
#include "fakes/RecordingUiPort.h"

using namespace recording;

namespace {

class DiscPreparationTest : public ::testing::Test {
protected:
    DiscPreparationTest() {
        app.SetUiPort(&ui);
        auto owned = std::make_unique<fakes::FakeBurnEngine>();
        engine = owned.get();
        writer = std::make_unique<CdBackupWriter>(app, std::move(owned));
    }

    // Each round's dialog names the file on the disc and ends as the script says.
    std::function<DiscSettingEnd()> Dialogs(std::vector<std::pair<DiscSettingEnd, std::string>> script) {
        return [this, script = std::move(script)] {
            const auto& [end, name] = script.at(rounds++);
            if (end == DiscSettingEnd::Accepted)
                writer->m_strDiscFileName = name;
            return end;
        };
    }
    std::size_t Opens() const {
        std::size_t opens = 0;
        for (const auto& call : engine->Calls())
            opens += call.starts_with("open:");
        return opens;
    }

    fakes::RecordingUiPort ui;
    session::AppData app;
    fakes::FakeBurnEngine* engine;
    std::unique_ptr<CdBackupWriter> writer;
    std::size_t rounds = 0;
};

TEST_F(DiscPreparationTest, AWriterThatCannotStartShowsNoDialog) {
    engine->connectOk = false;
    EXPECT_EQ(PrepareDisc(*writer, "/b/CH01_0001.dvr", Dialogs({})), DiscPreparation::WriterFailed);
    EXPECT_EQ(rounds, 0u);
}

TEST_F(DiscPreparationTest, CancellingTheDialogGoesOnWithoutADiscOrACheck) {
    EXPECT_EQ(PrepareDisc(*writer, "/b/CH01_0001.dvr", Dialogs({{DiscSettingEnd::Cancelled, ""}})),
              DiscPreparation::WithoutDisc);
    EXPECT_EQ(rounds, 1u);
    EXPECT_EQ(Opens(), 0u);
}

TEST_F(DiscPreparationTest, ARefusedDiscBringsTheDialogBackUntilOneIsAccepted) {
    const auto result = PrepareDisc(*writer, "/b/CH01_0001.dvr",
                                    Dialogs({{DiscSettingEnd::Accepted, "/b/CH01_0001"},
                                             {DiscSettingEnd::Accepted, "/b/CH01_0001.DvR"}}));
    EXPECT_EQ(result, DiscPreparation::Ready);
    EXPECT_EQ(rounds, 2u);
    EXPECT_EQ(ui.Calls().front(), "msgtext:The extension of file name should be (dvr)");
    EXPECT_EQ(Opens(), 1u);  // the name without ".dvr" was refused before the drive was opened
}

TEST_F(DiscPreparationTest, CancelAfterARefusalEndsWithoutADisc) {
    engine->disc.reset();  // no disc in the drive
    const auto result = PrepareDisc(*writer, "/b/CH01_0001.dvr",
                                    Dialogs({{DiscSettingEnd::Accepted, "/b/CH01_0001.dvr"},
                                             {DiscSettingEnd::Cancelled, ""}}));
    EXPECT_EQ(result, DiscPreparation::WithoutDisc);
    EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"msgtext:NO DISC"}));
}

TEST_F(DiscPreparationTest, ADialogWithoutADriveChecksOnceAndGoesOnWithoutADisc) {
    EXPECT_EQ(PrepareDisc(*writer, "/b/CH01_0001.dvr", Dialogs({{DiscSettingEnd::NoDrive, ""}})),
              DiscPreparation::WithoutDisc);
    EXPECT_EQ(rounds, 1u);
    EXPECT_EQ(Opens(), 1u);
}

}  // namespace

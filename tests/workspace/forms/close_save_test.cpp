// The close question's Yes: the window closes only when its whole waveform was written.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "workspace/forms/wfmchild.h"

#include <filesystem>

using plotwell::platform::Answer;
using plotwell::workspace::WaveFileType;

namespace {
TWFMform* modifiedWindow(TWFMform* w, int points) {
    w->Doc.SampleStream = std::make_unique<plotwell::workspace::SampleStream>(2048, points, 2048);
    for (int i = 0; i < points; ++i)
        w->Doc.SampleStream->setCode(i, uint16_t(i % 4096));
    w->Doc.SelectionStart = 2;
    w->Doc.SelectionEnd = 5; // a part only
    w->Doc.SaveState = 1;
    w->Doc.FileType = WaveFileType::Internal;
    w->SetCaption("New wave (Not Stored)");
    return w;
}
} // namespace

TEST_F(AppTest, YesWithACancelledSaveKeepsTheWindowModified) {
    TWFMform* w = modifiedWindow(newWindow(), 20);
    ui.answer(Answer::Yes);
    ui.chooseFile(std::nullopt);
    EXPECT_FALSE(w->Close1Click());
    processEvents();
    EXPECT_TRUE(PWForm1->SaveCancelled);
    ASSERT_EQ(PWForm1->WaveWindows().size(), 1u);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.SelectionStart, 2) << "the user's selection is put back";
    EXPECT_EQ(w->Doc.SelectionEnd, 5);
}

TEST_F(AppTest, YesWithAFailedSaveKeepsTheWindowModified) {
    TWFMform* w = modifiedWindow(newWindow(), 20);
    const std::string target = tempFile("no-such-folder/wave.wfm");
    ui.answer(Answer::Yes);
    ui.chooseFile(target);
    EXPECT_FALSE(w->Close1Click());
    processEvents();
    EXPECT_EQ(ui.lastMessage(), "Unable to write waveform data to\n" + target);
    ASSERT_EQ(PWForm1->WaveWindows().size(), 1u);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Caption(), "New wave (Not Stored)");
}

TEST_F(AppTest, YesSavesTheWholeWaveformAndCloses) {
    modifiedWindow(newWindow(), 20);
    TWFMform* w = CurrentWaveWindow;
    const std::string target = tempFile("whole.wfm");
    ui.answer(Answer::Yes);
    ui.chooseFile(target);
    EXPECT_TRUE(w->Close1Click());
    processEvents();
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
    // Reference word and all twenty points, not the four selected.
    EXPECT_EQ(std::filesystem::file_size(target), 2u + 2u * 20u);
}

TEST_F(AppTest, YesOnAZoomedWindowSavesTheWholeWaveform) {
    TWFMform* w = modifiedWindow(newWindow(), 300);
    w->Zoomed = 1;
    w->ViewFirst = 10;
    w->ViewLast = 120;
    const std::string target = tempFile("zoomed.wfm");
    ui.answer(Answer::Yes);
    ui.chooseFile(target);
    EXPECT_TRUE(w->Close1Click());
    processEvents();
    EXPECT_EQ(std::filesystem::file_size(target), 2u + 2u * 300u);
}

TEST_F(AppTest, YesKeepsTheTypeTheSaveGave) {
    TWFMform* w = modifiedWindow(newWindow(), 50);
    PWForm1->TypeNormalisedClick();
    const std::string target = tempFile("kept.nrm");
    // The query is run on its own so that the window's state after the save can be read.
    ui.answer(Answer::Yes);
    ui.chooseFile(target);
    PWForm1->SaveCancelled = false;
    EXPECT_TRUE(w->FormCloseQuery());
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Normalised) << "a saved .nrm is not taken for the own format";
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_TRUE(std::filesystem::exists(target));
}

#include "app_fixture.h"

#include "workspace/forms/Plotdesk.h"
#include "workspace/forms/appforms.h"
#include "workspace/forms/wfmchild.h"

#include <QLabel>
#include <QMdiArea>

using plotwell::CreatedFormClasses;

TEST_F(AppTest, FormsAreCreatedOnceInOrder) {
    const std::vector<std::string> expected = {
        "TPWForm1",       "TIntroForm1",    "TMessageWnd",    "TSelectDialog",   "TSetDownload",
        "TSetUpload",     "TSetRS232",      "TVertForm",      "TZELOSaveDialog", "TAskCloseAllDlg",
        "TSetTekRef",     "TExpressionForm", "TWaveSetup",    "TSineForm",       "TTriangleForm",
        "TSquareForm",    "TPulseForm",     "TSincForm",      "TExpForm",        "TGaussForm",
        "TNoiseForm",     "TLibraryForm",   "TAskNameForm",   "TScalaropdlg",    "TMathopdlg",
        "TResizeForm",    "TSmoothForm",    "TWorld",         "TPasteOptions",   "TExpPregress",
        "TImportCSV",     "TCSVProcess",    "TCardiacForm",   "TBitPatternForm", "THarmonicsForm"};
    EXPECT_EQ(CreatedFormClasses(), expected);
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, NewGivesAnEmptyUntitledWindow) {
    TWFMform* w = newWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "Untitled");
    EXPECT_EQ(w->WaveName, "Untitled");
    ASSERT_TRUE(w->SampleStream);
    EXPECT_LT(w->PointCount(), 1);
    EXPECT_EQ(w->FileType, 0);
    EXPECT_EQ(w->SaveState, 0);
    EXPECT_EQ(w->ViewFirst, -1);
    EXPECT_EQ(w->SavedView[2], -1);
    EXPECT_EQ(w->width(), 274);
    EXPECT_EQ(w->height(), 211);
    EXPECT_EQ(PWForm1->WaveWindows().size(), 1u);
}

// Dialogs as wide as their captions: a title bar sets the caption in the bold title face, and a
// dialog narrower than that caption shows it cut.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "platform/form.h"
#include "transfer/forms/TekRef.h"
#include "workspace/forms/askclall.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

#include <functional>
#include <string>

namespace {

// The face a title bar draws its caption in, made here on its own.
QFontMetrics boldTitleFace() {
    QFont face = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    face.setBold(true);
    return QFontMetrics(face);
}

} // namespace

// Each dialog, opened by its command, leaves its whole caption in bold beside the room it
// keeps for the title bar's icon and buttons. The captions here are longer than the dialogs'
// contents, so the caption alone sets their width.
TEST_F(AppTest, DialogsAreWideEnoughForTheirCaptionsInBold) {
    // The room beside the caption: a caption of nothing still needs the icon and three buttons,
    // each about as wide as the title bar is tall.
    const int frameRoom = plotwell::platform::captionWidth(QString());
    EXPECT_GE(frameRoom, 4 * boldTitleFace().height());

    struct Opening {
        const char* caption;
        std::function<void()> open;
    };
    const Opening openings[] = {
        {"New Waveform Setup",
         [this] {
             // A generator asked for on an empty window first sets up the waveform.
             newWindow();
             PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
         }},
        {"New Bit Patterm Setup",
         [this] {
             newWindow();
             PWForm1->WaveMenus->BitPattern1->trigger();
         }},
        {"Download parameters", [] { PWForm1->Generatorsetup1->trigger(); }},
        {"Upload parameters", [] { PWForm1->Oscilloscopesetup1->trigger(); }},
        {"Set reference location size",
         [] {
             // Asked by a transfer to a reference memory of a Tektronix scope.
             int length = 0;
             SetTekRef->AskRecordLength("TDS5xx", "REF2", length);
         }},
        {"Multiple waveform file close",
         [this] {
             // Closing one of the channels of a data-logger file.
             for (int channel = 0; channel < 2; ++channel) {
                 TWFMform* w = newWindow(
                     4, 2048, [](int) { return uint16_t(2048); },
                     "/data/a logger file with a name of some length.dta");
                 w->Doc.SaveState = 0;
                 w->Doc.FileType = channel == 0 ? plotwell::workspace::WaveFileType::ZeloDta
                                                : plotwell::workspace::WaveFileType::FurtherChannel;
             }
             CurrentWaveWindow->Close1Click();
             processEvents();
         }},
    };
    for (const Opening& o : openings) {
        SCOPED_TRACE(o.caption);
        std::string shown;
        ui.onDialog([&](QDialog& d) {
            shown = d.windowTitle().toStdString();
            const int text = boldTitleFace().horizontalAdvance(d.windowTitle());
            EXPECT_GE(d.width() - frameRoom, text)
                << "a dialog " << d.width() << " wide for a caption " << text << " wide in bold";
            // So is every line of text in it, such as a file's name.
            for (const QLabel* l : d.findChildren<QLabel*>())
                if (l->isVisible())
                    EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
            d.reject();
        });
        o.open();
        EXPECT_EQ(shown, o.caption);
    }
}

// Dialogs as wide as their captions: a title bar sets the caption in the bold title face, and a
// dialog narrower than that caption shows it cut.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "platform/form.h"
#include "transfer/forms/TekRef.h"

#include <QAction>
#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

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
    };
    for (const Opening& o : openings) {
        SCOPED_TRACE(o.caption);
        std::string shown;
        ui.onDialog([&](QDialog& d) {
            shown = d.windowTitle().toStdString();
            const int text = boldTitleFace().horizontalAdvance(d.windowTitle());
            EXPECT_GE(d.width() - frameRoom, text)
                << "a dialog " << d.width() << " wide for a caption " << text << " wide in bold";
            d.reject();
        });
        o.open();
        EXPECT_EQ(shown, o.caption);
    }
}

#include "app/appforms.h"

#include "app/Plotdesk.h"
#include "synthesis/forms/Askname.h"
#include "synthesis/forms/BitPattern.h"
#include "synthesis/forms/Gausswave.h"
#include "synthesis/forms/Harmonics.h"
#include "synthesis/forms/Noisewave.h"
#include "synthesis/forms/Pregress.h"
#include "synthesis/forms/Resize.h"
#include "synthesis/forms/Scalarop.h"
#include "synthesis/forms/Sinc.h"
#include "synthesis/forms/Smooth.h"
#include "synthesis/forms/Triangle.h"
#include "synthesis/forms/Waveops.h"
#include "synthesis/forms/cardiac.h"
#include "synthesis/forms/explibrary.h"
#include "synthesis/forms/expression.h"
#include "synthesis/forms/expwave.h"
#include "synthesis/forms/pasteops.h"
#include "synthesis/forms/pulse.h"
#include "synthesis/forms/select.h"
#include "synthesis/forms/sinewave.h"
#include "synthesis/forms/square.h"
#include "synthesis/forms/vertical.h"
#include "transfer/forms/TekRef.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setcoms.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "transfer/forms/zelodlg.h"
#include "workspace/forms/CSVPreview.h"
#include "workspace/forms/IntroForm.h"
#include "workspace/forms/ProcessCSV.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/askclall.h"
#include "workspace/forms/wfmsetup.h"

#include <QMetaObject>
#include <QWidget>

// The resources live in a static library, so they are registered by hand.
static void initResources() {
    Q_INIT_RESOURCE(plotwell);
}

namespace plotwell {

namespace {
std::vector<std::string> created;
std::vector<QWidget*> forms; // in creation order

template <class T> void create(T*& instance) {
    instance = new T(nullptr);
    created.push_back(instance->metaObject()->className());
    forms.push_back(instance);
}
} // namespace

void CreateApplicationForms() {
    initResources();
    created.clear();
    forms.clear();
    create(PWForm1);
    create(IntroForm1);
    create(MessageWnd);
    create(SelectDialog);
    create(SetDownload);
    create(SetUpload);
    create(SetRS232);
    create(VertForm);
    create(ZELOSaveDialog);
    create(AskCloseAllDlg);
    create(SetTekRef);
    create(ExpressionForm);
    create(WaveSetup);
    create(SineForm);
    create(TriangleForm);
    create(SquareForm);
    create(PulseForm);
    create(SincForm);
    create(ExpForm);
    create(GaussForm);
    create(NoiseForm);
    create(LibraryForm);
    create(AskNameForm);
    create(Scalaropdlg);
    create(Mathopdlg);
    create(ResizeForm);
    create(SmoothForm);
    create(World);
    create(PasteOptions);
    create(ExpPregress);
    create(ImportCSV);
    create(CSVProcess);
    create(CardiacForm);
    create(BitPatternForm);
    create(HarmonicsForm);
}

void DestroyApplicationForms() {
    // The frame goes first so that its windows never outlive the dialogs they use.
    for (QWidget* f : forms)
        delete f;
    forms.clear();
    PWForm1 = nullptr;
    IntroForm1 = nullptr;
    MessageWnd = nullptr;
    SelectDialog = nullptr;
    SetDownload = nullptr;
    SetUpload = nullptr;
    SetRS232 = nullptr;
    VertForm = nullptr;
    ZELOSaveDialog = nullptr;
    AskCloseAllDlg = nullptr;
    SetTekRef = nullptr;
    ExpressionForm = nullptr;
    WaveSetup = nullptr;
    SineForm = nullptr;
    TriangleForm = nullptr;
    SquareForm = nullptr;
    PulseForm = nullptr;
    SincForm = nullptr;
    ExpForm = nullptr;
    GaussForm = nullptr;
    NoiseForm = nullptr;
    LibraryForm = nullptr;
    AskNameForm = nullptr;
    Scalaropdlg = nullptr;
    Mathopdlg = nullptr;
    ResizeForm = nullptr;
    SmoothForm = nullptr;
    World = nullptr;
    PasteOptions = nullptr;
    ExpPregress = nullptr;
    ImportCSV = nullptr;
    CSVProcess = nullptr;
    CardiacForm = nullptr;
    BitPatternForm = nullptr;
    HarmonicsForm = nullptr;
}

const std::vector<std::string>& CreatedFormClasses() {
    return created;
}

} // namespace plotwell

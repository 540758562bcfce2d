#include "workspace/forms/Plotdesk.h"

#include "platform/posix/folders.h"
#include "workspace/core/numtext.h"

bool TPWForm1::ReadGlobalSettings() { return false; }

void TPWForm1::WriteGlobalSettings() {}

bool TPWForm1::ReadProject() {
    using plotwell::platform::joinPath;
    ProjectIniPath = joinPath(HomeDir, PrjFile + ".INI");
    WaveCadDefaultDir = joinPath(HomeDir, "WAVECAD/");
    WaveCadDir = WaveCadDefaultDir;
    WaveCadQv3030Dir = WaveCadDir + "QV3030/";
    WaveCadQva3460Dir = WaveCadDir + "QVA3460/";
    Gs2020Dir = joinPath(HomeDir, "GS2020/");
    ZeloDir = joinPath(HomeDir, "ZELO/");
    TdsDir = joinPath(HomeDir, "TDS/");
    WavesDir = joinPath(HomeDir, "WAVES/");
    PatternsDir = joinPath(HomeDir, "PATTERNS/");
    setWindowTitle(QString::fromStdString(plotwell::workspace::cformat("Quorvex Plotwell Plus - %s.prj", PrjFile.c_str())));
    return false;
}

void TPWForm1::WriteProject() {}
void TPWForm1::NewProject1Click() {}
void TPWForm1::OpenProject1Click() {}

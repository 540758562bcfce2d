#include "workspace/forms/Plotdesk.h"

void TPWForm1::PushSettingsToDialogs() {}
void TPWForm1::RestoreInterfaces() {}
void TPWForm1::Generatorsetup1Click() {}
void TPWForm1::Oscilloscopesetup1Click() {}
void TPWForm1::IOcontrol1Click() {}
void TPWForm1::ShowDownloadInfo() {}
void TPWForm1::ShowUploadInfo() {}
void TPWForm1::LoadExpressionLibrary() {}

#include "workspace/forms/wfmchild.h"

#include "workspace/forms/Plotdesk.h"

void TWFMform::LoadFromFile(const std::string& fileName) {
    CreateSampleStream();
    LoadedFileName = fileName;
    LoadedFileType = PWForm1->OpenType;
}

bool TWFMform::Save1Click() { return false; }

#include "workspace/forms/wfmchild.h"

#include "workspace/forms/Plotdesk.h"

void TWFMform::LoadFromFile(const std::string& fileName) {
    (void)fileName;
    CreateSampleStream();
}

bool TWFMform::Save1Click() { return false; }

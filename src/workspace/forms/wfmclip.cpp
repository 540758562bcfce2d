#include "workspace/forms/wfmchild.h"

void TWFMform::PasteFromClipboard() {}

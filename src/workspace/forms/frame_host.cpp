#include "workspace/forms/frame_host.h"

#include <QWidget>

TFrameHost* FrameHost = nullptr;
TWFMform* CurrentWaveWindow = nullptr;

void FocusFrame() {
    if (FrameHost)
        if (QWidget* f = FrameHost->FrameWidget())
            f->activateWindow();
}

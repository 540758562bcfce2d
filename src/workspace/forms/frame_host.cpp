#include "workspace/forms/frame_host.h"

#include <QWidget>

TFrameHost* FrameHost = nullptr;
TWFMform* CurrentWaveWindow = nullptr;

const std::string& TFrameHost::FolderPath(plotwell::workspace::FileFolder folder) const {
    using plotwell::workspace::FileFolder;
    static const std::string none;
    switch (folder) {
    case FileFolder::Waves:
        return WavesDir;
    case FileFolder::WaveCad:
        return WaveCadDir;
    case FileFolder::Gs2020:
        return Gs2020Dir;
    case FileFolder::Tds:
        return TdsDir;
    case FileFolder::Zelo:
        return ZeloDir;
    case FileFolder::Patterns:
        return PatternsDir;
    case FileFolder::None:
        break;
    }
    return none;
}

void FocusFrame() {
    if (FrameHost)
        if (QWidget* f = FrameHost->FrameWidget())
            f->activateWindow();
}

#include "workspace/forms/frame_host.h"

TFrameHost* FrameHost = nullptr;
TWFMform* CurrentWaveWindow = nullptr;

#include "workspace/forms/Plotdesk.h"

void TPWForm1::ListComPorts() {}
void TPWForm1::RS232setup1Click() {}

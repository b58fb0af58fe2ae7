// The Qt windows of the device subsystem: the dialogs of its dialog models (record-to-file
// settings, check program manager) and its view (the communication manager).
#pragma once

class OUserInteraction_Qt;

void RegisterDeviceDialogs(OUserInteraction_Qt& ui);
void RegisterDeviceViews();

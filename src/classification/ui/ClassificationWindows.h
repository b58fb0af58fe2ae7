// The windows of the Teach-Data: the teach-data view with the vector properties beside it
// (both families) and the dialogs of the teach-data commands.
#pragma once

class OUserInteraction_Qt;

void RegisterClassificationViews();
void RegisterClassificationDialogs(OUserInteraction_Qt& ui);

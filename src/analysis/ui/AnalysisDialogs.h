// The Qt windows of the evaluation wizards (accuracy and optimising wizard).
#pragma once

class OUserInteraction_Qt;

void RegisterAnalysisDialogs(OUserInteraction_Qt& ui);

// The Qt windows of the document's dialog models (part and check-program properties).
#pragma once

class OUserInteraction_Qt;

void RegisterDocumentDialogs(OUserInteraction_Qt& ui);

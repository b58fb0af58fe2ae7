// "&Options...": the options dialog for the session's working copy, and what a changed
// connection kind needs afterwards.
#pragma once

class ODoc;

void RunOptionsDialog(ODoc& doc);

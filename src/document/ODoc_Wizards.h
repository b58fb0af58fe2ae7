// The evaluation wizards the document starts: the accuracy wizard and the optimising wizard.
#pragma once

#include <optional>

#include "platform/CommandState.h"

class ODoc;

namespace Cmd {
inline constexpr int kAccuracyWizard = 32796;
inline constexpr int kOptimizeWizard = 32917;
}  // namespace Cmd

namespace DocWizards {
// Runs a wizard command; false when the id is not one.
bool bOnCommand(ODoc& doc, int id);
std::optional<OCommandState> CommandState(const ODoc& doc, int id);
}  // namespace DocWizards

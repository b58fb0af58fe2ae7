// The windows of the tool and data-output managers.
#pragma once

// Registers the tool manager's view (ViewKind::ToolProperties).
void RegisterManagerViews();

// The Qt windows of the project documentation: the report view.
#pragma once

void RegisterDocumentationViews();

// The windows of the analysis views that stand on their own: the feature graph.
#pragma once

void RegisterAnalysisViews();

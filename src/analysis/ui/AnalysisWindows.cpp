#include "analysis/ui/AnalysisWindows.h"

#include "analysis/ui/OView_FeatureGraph.h"
#include "document/ui/OViewRegistry.h"

void RegisterAnalysisViews() {
    RegisterViewCreator(ViewKind::FeatureGraph, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_FeatureGraph(doc, parent);
    });
}

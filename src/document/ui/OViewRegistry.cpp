#include "document/ui/OViewRegistry.h"

#include <map>
#include <vector>

#include "analysis/ui/OView_PartFeatures.h"
#include "device/ui/DeviceWindows.h"
#include "document/ui/OView_PartList.h"
#include "documentation/ui/DocumentationWindows.h"
#include "extraction/ui/OExtr_DefaultWindow.h"
#include "extraction/ui/OExtr_KVTWindow.h"
#include "managers/ui/ManagerWindows.h"

namespace {

std::map<ViewKind, std::vector<OViewTemplate>>& Templates() {
    static std::map<ViewKind, std::vector<OViewTemplate>> templates;
    return templates;
}

}  // namespace

void RegisterViewTemplate(ViewKind kind, OViewTemplate view) {
    std::vector<OViewTemplate>& list = Templates()[kind];
    // A later registration for the same families replaces the earlier one.
    std::erase_if(list, [&](const OViewTemplate& t) { return (t.families & ~view.families) == 0; });
    list.push_back(std::move(view));
}

void RegisterViewCreator(ViewKind kind, ViewCreator creator) {
    OViewTemplate view;
    view.create = std::move(creator);
    RegisterViewTemplate(kind, std::move(view));
}

const OViewTemplate* FindViewTemplate(ViewKind kind, int family) {
    const auto it = Templates().find(kind);
    if (it == Templates().end()) return nullptr;
    for (const OViewTemplate& t : it->second) {
        if (t.bServesFamily(family)) return &t;
    }
    return nullptr;
}

const ViewCreator* FindViewCreator(ViewKind kind) {
    const auto it = Templates().find(kind);
    return it == Templates().end() || it->second.empty() ? nullptr : &it->second.front().create;
}

void RegisterProgramViews() {
    RegisterViewCreator(ViewKind::PartList, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_PartList(doc, parent);
    });
    // The family-1 part contour window with the part features beside it.
    OViewTemplate contour;
    contour.create = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OExtr_DefaultWindow(doc, parent);
    };
    contour.createCompanion = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_PartFeatures(doc, parent);
    };
    contour.splitterSetting = "VIEW_PARTFEATURES_SEPERATOR";
    contour.defaultCompanionWidth = 360;
    contour.families = 0b01;
    RegisterViewTemplate(ViewKind::PartContour, std::move(contour));
    // The family-2 part contour window (camera images), the same frame and companion.
    OViewTemplate camera;
    camera.create = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OExtr_KVTWindow(doc, parent);
    };
    camera.createCompanion = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_PartFeatures(doc, parent);
    };
    camera.splitterSetting = "VIEW_PARTFEATURES_SEPERATOR";
    camera.defaultCompanionWidth = 360;
    camera.families = 0b10;
    RegisterViewTemplate(ViewKind::PartContour, std::move(camera));
    RegisterDeviceViews();
    RegisterManagerViews();
    RegisterDocumentationViews();
}

#include "document/ui/OViewRegistry.h"

#include <map>
#include <vector>

#include "document/ui/OView_PartList.h"

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
}

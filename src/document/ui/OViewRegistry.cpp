#include "document/ui/OViewRegistry.h"

#include <map>

#include "device/ui/DeviceWindows.h"
#include "document/ui/OView_PartList.h"

namespace {

std::map<ViewKind, ViewCreator>& Creators() {
    static std::map<ViewKind, ViewCreator> creators;
    return creators;
}

}  // namespace

void RegisterViewCreator(ViewKind kind, ViewCreator creator) {
    Creators()[kind] = std::move(creator);
}

const ViewCreator* FindViewCreator(ViewKind kind) {
    const auto it = Creators().find(kind);
    return it == Creators().end() ? nullptr : &it->second;
}

void RegisterProgramViews() {
    RegisterViewCreator(ViewKind::PartList, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_PartList(doc, parent);
    });
    RegisterDeviceViews();
}

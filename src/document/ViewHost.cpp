#include "document/ViewHost.h"

#include "document/CommandIds.h"

std::string_view WindowKey(ViewKind kind) {
    switch (kind) {
        case ViewKind::PartList:
            return "PARTLIST";
        case ViewKind::PartContour:
            return "EXTRACTOR";
        case ViewKind::TeachData:
            return "CLASSIFIER";
        case ViewKind::FeatureGraph:
            return "FEATURE";
        case ViewKind::ProjectDocumentation:
            return "PROJECT";
        case ViewKind::CommunicationManager:
            return "CONSOLE";
        case ViewKind::ToolProperties:
            return "CONFIGTOOLMANAGER";
        case ViewKind::DataOutput:
            return "DEVICEDATAIOMANAGER";
        case ViewKind::PartFeatures:
        case ViewKind::FeatureProperties:
            return {};
    }
    return {};
}

int TemplateId(ViewKind kind, int family) {
    switch (kind) {
        case ViewKind::PartList:
            return 129;
        case ViewKind::PartContour:
            return family == 2 ? 163 : 162;
        case ViewKind::TeachData:
            return family == 2 ? 199 : 168;
        case ViewKind::FeatureGraph:
            return 164;
        case ViewKind::PartFeatures:
            return 165;
        case ViewKind::ProjectDocumentation:
            return 166;
        case ViewKind::CommunicationManager:
            return 258;
        case ViewKind::ToolProperties:
            return 169;
        case ViewKind::DataOutput:
            return 189;
        case ViewKind::FeatureProperties:
            return 170;
    }
    return 0;
}

std::string_view ViewTitle(ViewKind kind) {
    switch (kind) {
        case ViewKind::PartList:
            return "Part list";
        case ViewKind::PartContour:
            return "Part contour";
        case ViewKind::TeachData:
            return "Teach-Data";
        case ViewKind::FeatureGraph:
            return "Feature graph";
        case ViewKind::PartFeatures:
            return "Part features";
        case ViewKind::ProjectDocumentation:
            return "Project documentation";
        case ViewKind::CommunicationManager:
            return "Communication Manager";
        case ViewKind::ToolProperties:
            return "Tool properties";
        case ViewKind::DataOutput:
            return "Data output";
        case ViewKind::FeatureProperties:
            return "Feature properties";
    }
    return {};
}

int ViewCommand(ViewKind kind) {
    switch (kind) {
        case ViewKind::PartList:
            return Cmd::kViewPartList;
        case ViewKind::PartContour:
            return Cmd::kViewPartContour;
        case ViewKind::TeachData:
            return Cmd::kViewTeachData;
        case ViewKind::FeatureGraph:
            return Cmd::kViewFeatureGraph;
        case ViewKind::ProjectDocumentation:
            return Cmd::kViewProjectDocumentation;
        case ViewKind::CommunicationManager:
            return Cmd::kViewCommunicationManager;
        case ViewKind::ToolProperties:
            return Cmd::kViewToolProperties;
        case ViewKind::DataOutput:
            return Cmd::kViewDataOutput;
        case ViewKind::PartFeatures:
        case ViewKind::FeatureProperties:
            return 0;
    }
    return 0;
}

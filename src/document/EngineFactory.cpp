#include "document/EngineFactory.h"

OFamilyEngines CreateFamilyEngines(int /*family*/, const OEngineHosts& hosts) {
    // Both families use the base engines until the family variants are built.
    OFamilyEngines engines;
    if (hosts.extractor) engines.extractor = std::make_unique<OExtractor>(*hosts.extractor);
    if (hosts.classifier) engines.classifier = std::make_unique<OClassifier>(*hosts.classifier);
    return engines;
}

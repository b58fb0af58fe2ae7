#include "document/EngineFactory.h"

#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"

OFamilyEngines CreateFamilyEngines(int family, const OEngineHosts& hosts) {
    OFamilyEngines engines;
    // The base extractor until the family extractors are built.
    if (hosts.extractor) engines.extractor = std::make_unique<OExtractor>(*hosts.extractor);
    if (hosts.classifier) {
        if (family == 2) {
            engines.classifier = std::make_unique<OClass_KVT>(*hosts.classifier);
        } else {
            engines.classifier = std::make_unique<OClass_ConfV12>(*hosts.classifier);
        }
    }
    return engines;
}

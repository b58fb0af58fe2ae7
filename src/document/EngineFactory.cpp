#include "document/EngineFactory.h"

#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OExtr_KVT.h"

OFamilyEngines CreateFamilyEngines(int family, const OEngineHosts& hosts) {
    OFamilyEngines engines;
    if (hosts.extractor) {
        if (family == 2) {
            engines.extractor = std::make_unique<OExtr_KVT>(*hosts.extractor);
        } else {
            engines.extractor = std::make_unique<OExtr_Default>(*hosts.extractor);
        }
    }
    if (hosts.classifier) {
        if (family == 2) {
            engines.classifier = std::make_unique<OClass_KVT>(*hosts.classifier);
        } else {
            engines.classifier = std::make_unique<OClass_ConfV12>(*hosts.classifier);
        }
    }
    return engines;
}

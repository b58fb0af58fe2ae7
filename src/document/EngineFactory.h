// The one place where the document gets the engines of a device family: the extractor that
// runs the tools over the parts and the classifier that computes Teach-Data.
#pragma once

#include <memory>

#include "classification/OClassifier.h"
#include "extraction/OExtractor.h"

// What the engines call back; the document provides both.
struct OEngineHosts {
    OExtractorHost* extractor = nullptr;
    OClassifierHost* classifier = nullptr;
};

struct OFamilyEngines {
    std::unique_ptr<OExtractor> extractor;
    std::unique_ptr<OClassifier> classifier;
};

// The engines of family 1 or 2; an engine whose host is missing is not made.
OFamilyEngines CreateFamilyEngines(int family, const OEngineHosts& hosts);

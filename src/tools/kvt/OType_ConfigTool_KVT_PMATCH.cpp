#include "tools/kvt/OType_ConfigTool_KVT_PMATCH.h"

#include "tools/kvt/OKvtCodeReading.h"
#include "tools/kvt/OKvtPatternSearch.h"
#include "tools/kvt/OKvtTextReading.h"

namespace {

std::unique_ptr<OKvtRecognizer> RecognizerOf(int kind) {
    switch (kind) {
        case KvtToolKind::kPatternMatchingPlus:
            return std::make_unique<OKvtPatternSearch>(true);
        case KvtToolKind::kDataMatrix:
            return std::make_unique<OKvtCodeReading>(true);
        case KvtToolKind::kBarCode:
            return std::make_unique<OKvtCodeReading>(false);
        case KvtToolKind::kTextRecognition:
            return std::make_unique<OKvtTextReading>();
        default:
            return std::make_unique<OKvtPatternSearch>(false);
    }
}

}  // namespace

const std::vector<int>& OType_ConfigTool_KVT_PMATCH::Kinds() {
    static const std::vector<int> kinds = {
        KvtToolKind::kPatternMatching, KvtToolKind::kPatternMatchingPlus, KvtToolKind::kDataMatrix,
        KvtToolKind::kBarCode, KvtToolKind::kTextRecognition};
    return kinds;
}

OType_ConfigTool_KVT_PMATCH::OType_ConfigTool_KVT_PMATCH(int kind)
    : OType_ConfigTool_KVT(kind, -1), m_recognizer(RecognizerOf(kind)) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_PMATCH::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_PMATCH>(iGetConfigToolType());
}

int OType_ConfigTool_KVT_PMATCH::iInitAfterCheckprogramLoad(OType_ZRPartSet& partSet,
                                                            const ZRINFO& deviceInfo) {
    // Newly taught patterns change every part's features.
    if (m_recognizer->bTeach(partSet, deviceInfo, *this)) SetModifiedFlag(true);
    return OType_ConfigTool_KVT::iInitAfterCheckprogramLoad(partSet, deviceInfo);
}

OPropertyList OType_ConfigTool_KVT_PMATCH::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    m_recognizer->Describe(list);
    return list;
}

void OType_ConfigTool_KVT_PMATCH::MeasureRegion(const OKvtMeasureInput& in,
                                                OKvtMeasureOutput& out) const {
    m_recognizer->Measure(in, out);
}

bool OType_ConfigTool_KVT_PMATCH::bCheckProperties(const OPropertyValues& merged,
                                                   const OPropertyContext& context,
                                                   std::string& error) const {
    return OType_ConfigTool_KVT::bCheckProperties(merged, context, error) &&
           m_recognizer->bCheck(merged, error);
}

void OType_ConfigTool_KVT_PMATCH::ApplyProperties(const OPropertyValues& values,
                                                  const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_recognizer->Apply(values);
}

void OType_ConfigTool_KVT_PMATCH::EncodeKind(OByteStream& stream) const {
    m_recognizer->Encode(stream);
}

bool OType_ConfigTool_KVT_PMATCH::bDecodeKind(OBlockFieldReader& reader) {
    return m_recognizer->bDecode(reader);
}

void OType_ConfigTool_KVT_PMATCH::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_PMATCH*>(&other))
        o->m_recognizer = m_recognizer->Clone();
}

#include "model/stream/OByteStream.h"
#include "tools/kvt/OKvtTextReading.h"

namespace {

constexpr const char* kPage = "Text";
enum : size_t { kText, kRead, kCharacters, kConfidence };

}  // namespace

OKvtTextReading::OKvtTextReading(const OKvtTextReading& other)
    : m_layout(other.m_layout),
      m_allowed(other.m_allowed),
      m_minConfidence(other.m_minConfidence) {}

std::unique_ptr<OKvtRecognizer> OKvtTextReading::Clone() const {
    return std::make_unique<OKvtTextReading>(*this);
}

std::vector<OKvtFeatureDef> OKvtTextReading::FeatureDefs() const {
    namespace T = KvtFeatureType;
    return {{T::kOcrText, "Text", "", OKvtQuantity::Plain, true},
            {T::kOcrRead, "Read", "", OKvtQuantity::Plain},
            {T::kOcrCharacters, "Characters", "", OKvtQuantity::Plain},
            {T::kOcrConfidence, "Confidence", "%", OKvtQuantity::Plain}};
}

void OKvtTextReading::Describe(OPropertyList& list) const {
    using namespace PropertyList;
    list.push_back(Choice("text.layout", "Layout", kPage, int(m_layout),
                          {{0, "One line"}, {1, "Several lines"}}));
    OProperty allowed = Text("text.allowed", "Characters", kPage, m_allowed, 255);
    allowed.help = "Only these characters are read; empty allows every character.";
    list.push_back(allowed);
    list.push_back(
        Integer("text.minConfidence", "Least confidence", kPage, m_minConfidence, 0, 100, "%"));
}

void OKvtTextReading::Apply(const OPropertyValues& v) {
    m_layout =
        static_cast<OKvtTextReader::Layout>(PropertyList::iGet(v, "text.layout", int(m_layout)));
    m_allowed = PropertyList::sGet(v, "text.allowed", m_allowed);
    m_minConfidence = int(PropertyList::iGet(v, "text.minConfidence", m_minConfidence));
}

void OKvtTextReading::Encode(OByteStream& s) const {
    s.bWriteI32(int(m_layout));
    s.bWriteString(m_allowed);
    s.bWriteI32(m_minConfidence);
}

bool OKvtTextReading::bDecode(OBlockFieldReader& r) {
    int layout = int(m_layout);
    if (!r.I32(layout, 0, 1) || !r.String(m_allowed) || !r.I32(m_minConfidence, 0, 100))
        return false;
    m_layout = static_cast<OKvtTextReader::Layout>(layout);
    return m_allowed.size() <= 255;
}

void OKvtTextReading::Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    OKvtTextReader::OResult r;
    {
        std::lock_guard<std::mutex> lock(m_readerLock);
        if (!m_reader) m_reader = std::make_unique<OKvtTextReader>();
        if (!m_reader->bIsReady()) {
            out.drawing.Text(sample.Region().ToImage(0, -8), m_reader->Error(),
                             OKvtMarkRole::Failure);
            return;
        }
        r = m_reader->Read(sample.Grey(), m_layout, m_allowed);
    }
    const bool read = r.read && r.confidence >= m_minConfidence;
    out.Set(kRead, read ? 1 : 0);
    out.Set(kCharacters, read ? r.characters : 0);
    out.Set(kConfidence, r.confidence);
    const OPointD label = sample.Region().ToImage(0, -8);
    if (!read) {
        out.drawing.Text(label, r.read ? "\"" + r.text + "\" (unsure)" : "no text read",
                         OKvtMarkRole::Rejected);
        return;
    }
    out.SetText(kText, r.text);
    out.drawing.Text(label, "\"" + r.text + "\"", OKvtMarkRole::Found);
}

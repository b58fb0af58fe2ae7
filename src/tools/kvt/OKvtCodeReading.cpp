#include "model/stream/OByteStream.h"
#include "tools/kvt/OKvtCodeReading.h"

#include "model/strings/FormatPrintf.h"

namespace {

constexpr const char* kPage = "Code";
// Feature indices; the checker adds its quality after the shared ones.
enum : size_t { kText, kRead, kX, kY, kAngle, kContrast, kSize, kQuality };

}  // namespace

OKvtCodeReading::OKvtCodeReading(bool matrix)
    : m_matrix(matrix),
      m_symbology(matrix ? KvtCode::Symbology::DataMatrix : KvtCode::Symbology::AnyLinear) {}

std::unique_ptr<OKvtRecognizer> OKvtCodeReading::Clone() const {
    return std::make_unique<OKvtCodeReading>(*this);
}

std::string OKvtCodeReading::KindName() const {
    return m_matrix ? "Data matrix" : "Bar code";
}

std::vector<OKvtFeatureDef> OKvtCodeReading::FeatureDefs() const {
    namespace T = KvtFeatureType;
    if (m_matrix) {
        return {{T::kMatrixText, "Text", "", OKvtQuantity::Plain, true},
                {T::kMatrixRead, "Read", "", OKvtQuantity::Plain},
                {T::kMatrixX, "X", "px", OKvtQuantity::ImageX},
                {T::kMatrixY, "Y", "px", OKvtQuantity::ImageY},
                {T::kMatrixAngle, "Angle", "°", OKvtQuantity::Angle},
                {T::kMatrixContrast, "Symbol contrast", "%", OKvtQuantity::Plain},
                {T::kMatrixSize, "Size", "px", OKvtQuantity::Length},
                {T::kMatrixQuality, "Quality", "", OKvtQuantity::Plain}};
    }
    return {{T::kBarText, "Text", "", OKvtQuantity::Plain, true},
            {T::kBarRead, "Read", "", OKvtQuantity::Plain},
            {T::kBarX, "X", "px", OKvtQuantity::ImageX},
            {T::kBarY, "Y", "px", OKvtQuantity::ImageY},
            {T::kBarAngle, "Angle", "°", OKvtQuantity::Angle},
            {T::kBarContrast, "Symbol contrast", "%", OKvtQuantity::Plain},
            {T::kBarLength, "Length", "px", OKvtQuantity::Length}};
}

void OKvtCodeReading::Describe(OPropertyList& list) const {
    using namespace PropertyList;
    if (!m_matrix) {
        std::vector<OPropertyChoice> choices;
        for (int i = 1; i < KvtCode::kSymbologyCount; ++i) {
            const auto s = static_cast<KvtCode::Symbology>(i);
            if (s != KvtCode::Symbology::QrCode) choices.push_back({i, KvtCode::SymbologyName(s)});
        }
        list.push_back(Choice("code.symbology", "Symbology", kPage, int(m_symbology), choices));
    }
    OProperty harder = Flag("code.tryHarder", "Search thoroughly", kPage, m_tryHarder);
    harder.help = "Also turned and small codes; takes longer.";
    list.push_back(harder);
    if (m_matrix) {
        OProperty contrast =
            Integer("code.minContrast", "Least symbol contrast", kPage, m_minContrast, 0, 100, "%");
        contrast.help = "The quality feature is 1 when the code reads with at least this contrast.";
        list.push_back(contrast);
    }
}

void OKvtCodeReading::Apply(const OPropertyValues& v) {
    if (!m_matrix)
        m_symbology = static_cast<KvtCode::Symbology>(
            PropertyList::iGet(v, "code.symbology", int(m_symbology)));
    m_tryHarder = PropertyList::bGet(v, "code.tryHarder", m_tryHarder);
    m_minContrast = int(PropertyList::iGet(v, "code.minContrast", m_minContrast));
}

void OKvtCodeReading::Encode(OByteStream& s) const {
    s.bWriteI32(int(m_symbology));
    s.bWriteBool(m_tryHarder);
    s.bWriteI32(m_minContrast);
}

bool OKvtCodeReading::bDecode(OBlockFieldReader& r) {
    int symbology = int(m_symbology);
    if (!r.I32(symbology, 0, KvtCode::kSymbologyCount - 1) || !r.Bool(m_tryHarder) ||
        !r.I32(m_minContrast, 0, 100))
        return false;
    // The data-matrix reader reads data-matrix codes only.
    if (m_matrix && symbology != int(KvtCode::Symbology::DataMatrix)) return false;
    if (!m_matrix && (symbology == int(KvtCode::Symbology::DataMatrix) ||
                      symbology == int(KvtCode::Symbology::QrCode)))
        return false;
    m_symbology = static_cast<KvtCode::Symbology>(symbology);
    return true;
}

void OKvtCodeReading::Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const KvtCode::OReadResult r = KvtCode::Read(sample.Grey(), m_symbology, m_tryHarder);
    out.Set(kRead, r.read ? 1 : 0);
    if (m_matrix) out.Set(kQuality, r.read && r.contrast >= m_minContrast ? 1 : 0);
    if (!r.read) {
        out.drawing.Text(sample.Region().ToImage(0, -8), "no code read", OKvtMarkRole::Rejected);
        return;
    }
    out.SetText(kText, r.text);
    const OPointD centre = sample.PixelToImage(r.centre.x, r.centre.y);
    out.Set(kX, centre.x);
    out.Set(kY, centre.y);
    // Turned with the region: the angle on the screen is the region's plus the symbol's in it.
    double angle = r.angle + sample.Region().angle;
    angle = std::remainder(angle, 360.0);
    out.Set(kAngle, angle <= -180 ? angle + 360 : angle);
    out.Set(kContrast, r.contrast);
    out.Set(kSize, r.size);
    std::vector<OPointD> corners;
    for (const auto& p : r.corners)
        corners.push_back(sample.PixelToImage(p.x, p.y));
    out.drawing.Polygon(corners, OKvtMarkRole::Found);
    out.drawing.Text(corners[0], r.text);
}

#include "tools/dataio/ODataOutputKind.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/strings/FormatPrintf.h"

namespace {

constexpr uint32_t kMaxSelected = 4096;
const std::string kPage = "Output";

bool bParseNumber(std::string_view text, int& value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

// --- feature selection ---

std::vector<int> ODataOutputFeatures::Indices(const OType_ZRPartSet& partSet) const {
    std::vector<int> indices;
    if (m_all) {
        const int first = partSet.iGetFixedFeatures();
        for (int i = 0; i < partSet.Tools().iGetNumOfFeatures(); ++i)
            indices.push_back(first + i);
        return indices;
    }
    for (const OKvtFeatureRef& ref : m_refs) {
        const int index = OType_ConfigTool_KVT::iFeatureIndexOf(partSet, ref);
        if (index >= 0) indices.push_back(index);
    }
    return indices;
}

std::string ODataOutputFeatures::Text(const OType_ZRPartSet* partSet) const {
    if (m_all) return "all";
    std::string text;
    for (const OKvtFeatureRef& ref : m_refs) {
        const int index = partSet ? OType_ConfigTool_KVT::iFeatureIndexOf(*partSet, ref) : -1;
        if (partSet && index < 0) continue;
        if (!text.empty()) text += ",";
        text += partSet ? std::to_string(index + 1)
                        : FormatPrintf("%d:%d", ref.toolId, ref.feature + 1);
    }
    return text;
}

bool ODataOutputFeatures::bParse(const std::string& text, const OType_ZRPartSet* partSet,
                                 std::string& error) {
    std::string trimmed = text;
    trimmed.erase(std::remove(trimmed.begin(), trimmed.end(), ' '), trimmed.end());
    if (trimmed == "all" || trimmed == "ALL" || trimmed == "All") {
        m_all = true;
        m_refs.clear();
        return true;
    }
    if (!partSet) {
        error = "Features can only be chosen by number within a check program.";
        return false;
    }
    const OType_ConfigToolArray& tools = partSet->Tools();
    const int fixed = partSet->iGetFixedFeatures();
    const int count = tools.iGetNumOfFeatures();
    std::vector<OKvtFeatureRef> refs;
    std::set<int> seen;
    size_t start = 0;
    while (start <= trimmed.size()) {
        const size_t comma = std::min(trimmed.find(',', start), trimmed.size());
        const std::string item = trimmed.substr(start, comma - start);
        start = comma + 1;
        if (item.empty()) {
            if (comma == trimmed.size()) break;
            continue;
        }
        int from = 0, to = 0;
        const size_t dash = item.find('-');
        const bool ok = dash == std::string::npos
                            ? bParseNumber(item, from) && (to = from, true)
                            : bParseNumber(std::string_view(item).substr(0, dash), from) &&
                                  bParseNumber(std::string_view(item).substr(dash + 1), to);
        if (!ok || from < 1 || to < from || to > count) {
            error =
                FormatPrintf("\"%s\" is no feature number or range within 1 ... %d.", item, count);
            return false;
        }
        for (int f = from; f <= to; ++f) {
            if (!seen.insert(f).second) continue;
            const int index = fixed + f - 1;
            const OType_ConfigTool* tool = tools.opGetCFToolAtFeature(index, fixed);
            if (!tool) continue;
            const int first = tools.GetFeatureIndex_First(tools.iGetPos(tool), fixed);
            refs.push_back({tool->iGetToolId(), index - first});
        }
    }
    if (refs.empty()) {
        error = "Choose \"all\" or at least one feature.";
        return false;
    }
    m_all = false;
    m_refs = std::move(refs);
    return true;
}

bool ODataOutputFeatures::bDropGone(const OType_ZRPartSet& partSet) {
    const size_t before = m_refs.size();
    std::erase_if(m_refs, [&](const OKvtFeatureRef& r) {
        return OType_ConfigTool_KVT::iFeatureIndexOf(partSet, r) < 0;
    });
    return m_refs.size() != before;
}

void ODataOutputFeatures::Encode(OByteStream& s) const {
    s.bWriteBool(m_all);
    s.bWriteU32(static_cast<uint32_t>(m_refs.size()));
    for (const OKvtFeatureRef& ref : m_refs)
        KvtEncode::Ref(s, ref);
}

bool ODataOutputFeatures::bDecode(OBlockFieldReader& r, OByteStream& s) {
    bool all = m_all;
    uint32_t count = 0;
    if (!r.Bool(all) || !r.U32(count)) return false;
    if (count > kMaxSelected || count * 8ull > s.iRemaining()) return r.Fail();
    std::vector<OKvtFeatureRef> refs(count);
    for (OKvtFeatureRef& ref : refs) {
        if (!KvtEncode::bReadRef(r, ref) || !ref.bIsSet()) return r.Fail();
    }
    m_all = all;
    m_refs = std::move(refs);
    return true;
}

// --- the common kind ---

ODataOutputKind::ODataOutputKind(Spec spec) : m_spec(std::move(spec)), m_port(m_spec.defaultPort) {
    SetPacketId(m_spec.defaultPacketId);
    SetPacketName(m_spec.defaultPacketName);
}

void ODataOutputKind::CopyTo(OType_DeviceDataIO& other) const {
    OType_DeviceDataIO::CopyTo(other);
    auto* o = dynamic_cast<ODataOutputKind*>(&other);
    if (!o) return;
    o->m_port = m_port;
    o->m_decimals = m_decimals;
    o->m_features = m_features;
    o->m_indices = m_indices;
    o->m_kindTrailer = m_kindTrailer;
    o->m_payloadTrailer = m_payloadTrailer;
    CopyKindTo(*o);
}

void ODataOutputKind::CopyKindTo(ODataOutputKind&) const {}

bool ODataOutputKind::bIsAvailable(const ZRINFO& info, std::string& reason) const {
    reason.clear();
    // New-platform devices work without basic contour features.
    if (info.u16(ZRINFO::kBasicFeatures) != 0) {
        reason = "only devices of the new platform send data outputs";
        return false;
    }
    if (m_spec.needsCamera && (info.iGetImageWidth() == 0 || info.iGetImageHeight() == 0)) {
        reason = "the device takes no camera images";
        return false;
    }
    return true;
}

int ODataOutputKind::iGetMaxInstances(const ZRINFO&) const {
    return m_spec.maxInstances;
}

int ODataOutputKind::iCheckPropertyCompatibility(const ZRINFO& info, std::string& text) const {
    std::string reason;
    text.clear();
    if (!bIsAvailable(info, reason)) {
        text = reason;
        return ToolCompatibility::kIncompatible;
    }
    return 0;
}

int ODataOutputKind::iAdjustPropertyCompatibility(const ZRINFO& info) {
    std::string reason;
    return bIsAvailable(info, reason) ? 1 : 0;
}

int ODataOutputKind::iInitForPartSet(OType_ZRPartSet& partSet, bool) {
    if (GetName().empty()) {
        std::set<std::string> names;
        for (const auto& o : partSet.DataOutputs())
            names.insert(o->GetName());
        int n = 1;
        while (names.count(FormatPrintf("%s %d", m_spec.shortName, n)))
            ++n;
        SetName(FormatPrintf("%s %d", m_spec.shortName, n));
    }
    UpdateFeatureIndexList(partSet);
    return 1;
}

void ODataOutputKind::UpdateFeatureIndexList(const OType_ZRPartSet& partSet) {
    if (m_features.bDropGone(partSet)) SetModifiedFlag(true);
    m_indices = m_features.Indices(partSet);
}

std::vector<std::pair<int, const OType_Feature*>> ODataOutputKind::SelectedFeatures(
    const OType_Part& part) const {
    std::vector<std::pair<int, const OType_Feature*>> selected;
    for (int index : m_indices) {
        if (const OType_Feature* f = part.Features().opGetAt(index))
            selected.emplace_back(index, f);
    }
    return selected;
}

OPropertyList ODataOutputKind::DescribeProperties(const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_DeviceDataIO::DescribeProperties(context);
    if (m_spec.defaultPort > 0) list.push_back(Integer("port", "Port", kPage, m_port, 1, 65535));
    if (m_spec.writesText) list.push_back(Integer("decimals", "Decimals", kPage, m_decimals, 0, 9));
    if (m_spec.sendsFeatures) {
        OProperty p = Text("features", "Features", kPage, m_features.Text(context.partSet));
        p.help = "\"all\", or feature numbers and ranges such as 1,3,5-7.";
        list.push_back(std::move(p));
    }
    return list;
}

bool ODataOutputKind::bCheckProperties(const OPropertyValues& merged,
                                       const OPropertyContext& context, std::string& error) const {
    if (!OType_DeviceDataIO::bCheckProperties(merged, context, error)) return false;
    const auto it = merged.find("features");
    if (it == merged.end()) return true;
    ODataOutputFeatures check = m_features;
    const std::string text = PropertyList::sGet(merged, "features", {});
    // The current selection shown without a part set cannot be parsed back; it is kept.
    if (text == m_features.Text(context.partSet)) return true;
    return check.bParse(text, context.partSet, error);
}

void ODataOutputKind::ApplyProperties(const OPropertyValues& values,
                                      const OPropertyContext& context) {
    OType_DeviceDataIO::ApplyProperties(values, context);
    m_port = static_cast<int>(PropertyList::iGet(values, "port", m_port));
    m_decimals = static_cast<int>(PropertyList::iGet(values, "decimals", m_decimals));
    const auto it = values.find("features");
    if (it != values.end()) {
        const std::string text = PropertyList::sGet(values, "features", {});
        std::string error;
        if (text != m_features.Text(context.partSet))
            m_features.bParse(text, context.partSet, error);
        if (context.partSet) m_indices = m_features.Indices(*context.partSet);
    }
}

void ODataOutputKind::EncodeKind(OByteStream&) const {}

bool ODataOutputKind::bDecodeKind(OBlockFieldReader&) {
    return true;
}

void ODataOutputKind::EncodePayload(OByteStream& s) const {
    {
        OObjectBlockWriter block(s, ObjectId::kDataOutputKind);
        s.bWriteI32(m_port);
        s.bWriteI32(m_decimals);
        m_features.Encode(s);
        EncodeKind(s);
        block.bWriteTrailer(m_kindTrailer);
    }
    s.bWriteRaw(m_payloadTrailer.data(), m_payloadTrailer.size());
}

bool ODataOutputKind::bDecodePayload(OByteStream& s) {
    if (s.iRemaining() >= 8) {
        OObjectBlockReader block(s, ObjectId::kDataOutputKind);
        if (!block.bIsOk()) return false;
        OBlockFieldReader fields(block, s);
        int port = m_port, decimals = m_decimals;
        if (!fields.I32(port, 0, 65535) || !fields.I32(decimals, 0, 9) ||
            !m_features.bDecode(fields, s) || !bDecodeKind(fields) || !fields.bIsOk())
            return false;
        m_port = port;
        m_decimals = decimals;
        m_kindTrailer = block.TakeTrailer();
        if (!block.bClose()) return false;
    }
    return s.bReadBytes(m_payloadTrailer, s.iRemaining());
}

namespace DataOutputText {

std::string Value(const OType_Feature& f, int decimals) {
    if (!f.valid) return {};
    if (f.bIsText()) return f.textValue;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 9), f.value);
    return buffer;
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace DataOutputText

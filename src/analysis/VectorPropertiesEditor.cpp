#include "analysis/VectorPropertiesEditor.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "model/part/OType_Feature.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/util/Rounding.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace VectorProperties {

ValueRange RangeOfOption(unsigned option) {
    switch (option & FeatureOption::kValueMask) {
        case FeatureOption::kFixed:
            return ValueRange::Manual;
        case FeatureOption::kFixedLocked:
            return ValueRange::ManualLocked;
        default:
            return ValueRange::Automatic;
    }
}

unsigned OptionOfRange(ValueRange range) {
    switch (range) {
        case ValueRange::Manual:
            return FeatureOption::kFixed;
        case ValueRange::ManualLocked:
            return FeatureOption::kFixedLocked;
        default:
            return FeatureOption::kNormal;
    }
}

InvalidDecision DecisionOfState(int state) {
    switch (state) {
        case 11:
            return InvalidDecision::Bad;
        case 10:
            return InvalidDecision::GoodAlways;
        case 15:
            return InvalidDecision::GoodOnlyInvalid;
        default:
            return InvalidDecision::Automatic;
    }
}

int StateOfDecision(InvalidDecision decision, int storedState) {
    switch (decision) {
        case InvalidDecision::Bad:
            return 11;
        case InvalidDecision::GoodAlways:
            return 10;
        case InvalidDecision::GoodOnlyInvalid:
            return 15;
        default:
            return storedState == 10 || storedState == 11 || storedState == 15 ? 9 : storedState;
    }
}

double NormaliseFactor(double entered) {
    const double magnitude = std::fabs(entered);
    if (magnitude >= 1.0) return std::min(std::floor(magnitude), kLargestFactor);
    return std::floor(magnitude * 100.0 + 1e-9) / 100.0;
}

int iApplyDelayMs(const std::string& text) {
    return text.empty() || text.back() == '.' ? kSlowApplyDelayMs : kApplyDelayMs;
}

bool bParseValue(const std::string& text, double& value, std::string& error) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        error = "Please enter a number.";
        return false;
    }
    const size_t last = text.find_last_not_of(" \t");
    const std::string trimmed = text.substr(first, last - first + 1);
    // strtod reads the C locale's decimal point, which is what the form shows.
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() ||
        trimmed.find_first_of("xXpP") != std::string::npos) {
        error = "\"" + trimmed + "\" is not a number.";
        return false;
    }
    if (!std::isfinite(parsed) || std::fabs(parsed) > kLargestValue) {
        error = "Please enter a number between -1e20 and 1e20.";
        return false;
    }
    value = parsed;
    return true;
}

std::string ValueText(double value) {
    // Four decimals at most, without trailing zeros.
    std::string text = FormatPrintf("%.4f", dZRRound(value));
    if (std::fabs(value) >= 1e15) text = FormatPrintf("%.6g", value);
    if (text.find('.') != std::string::npos && text.find('e') == std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

}  // namespace VectorProperties

using namespace VectorProperties;

namespace {

// Every stored vector of a feature over all part types and orientations.
template <typename F>
void ForEachVector(OType_ZRPartSet& partSet, int feature, F&& f) {
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        OType_ZRPartSet_SubType* record = partSet.opGetSubType(t);
        for (int o = 0; o < record->iGetNumOrientations(); ++o) {
            OType_VectorArray* vectors = record->opGetVectorArray(o);
            if (OType_Vector* v = vectors ? vectors->opGetAt(feature) : nullptr) f(*v);
        }
    }
}

template <typename F>
void ForEachPartFeature(OType_ZRPartSet& partSet, int feature, F&& f) {
    for (OType_PartArray* list : {&partSet.TeachParts(), &partSet.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i) {
            OType_Part& part = *list->GetAt(i);
            if (feature < part.Features().iGetNumOfFeatures()) f(part, part.Features().At(feature));
        }
    }
}

const OType_Vector* ClassVector(const OType_ZRPartSet& partSet, int type, int orientation,
                                int feature) {
    const OType_ZRPartSet_SubType* record = partSet.opGetSubType(type);
    const OType_VectorArray* vectors = record && orientation < record->iGetNumOrientations()
                                           ? record->opGetVectorArray(orientation)
                                           : nullptr;
    return vectors ? vectors->opGetAt(feature) : nullptr;
}

// The feature's first stored vector, where its name, enable state and factor are read.
const OType_Vector* AnyVector(const OType_ZRPartSet& partSet, int feature) {
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        const OType_ZRPartSet_SubType* record = partSet.opGetSubType(t);
        for (int o = 0; o < record->iGetNumOrientations(); ++o) {
            const OType_VectorArray* vectors = record->opGetVectorArray(o);
            if (const OType_Vector* v = vectors ? vectors->opGetAt(feature) : nullptr) return v;
        }
    }
    return nullptr;
}

}  // namespace

OVectorForm OVectorPropertiesEditor::Read(int feature, int type, int orientation) const {
    OVectorForm form;
    // The features that have stored Teach-Data.
    int features = 0;
    while (AnyVector(m_partSet, features))
        ++features;
    for (int f = 0; f < features; ++f) {
        const OType_Vector* v = AnyVector(m_partSet, f);
        form.featureEntries.push_back(FormatPrintf("%d. %s", f + 1, v ? v->name : ""));
    }
    for (int t = 0; t < m_partSet.iGetNum_SubTypes(); ++t)
        form.typeEntries.push_back(FormatPrintf("%d", t + 1));
    form.type = std::clamp(type, 0, std::max(0, m_partSet.iGetNum_SubTypes() - 1));
    const OType_ZRPartSet_SubType* record = m_partSet.opGetSubType(form.type);
    const int orientations = record ? record->iGetNumOrientations() : 0;
    for (int o = 0; o < orientations; ++o)
        form.orientationEntries.push_back(FormatPrintf("%d", o + 1));
    form.orientation = std::clamp(orientation, 0, std::max(0, orientations - 1));

    const OType_Vector* any = feature >= 0 ? AnyVector(m_partSet, feature) : nullptr;
    if (!any) return form;
    form.hasFeature = true;
    form.feature = feature;
    form.name = any->name;
    form.usedForQuality = (any->option & FeatureOption::kValueMask) != FeatureOption::kExcluded;
    form.factor = ValueText(any->factor);
    form.textFeature = any->textFeature;
    const OType_Vector* v = ClassVector(m_partSet, form.type, form.orientation, feature);
    if (!v) return form;
    form.hasClass = true;
    form.range = RangeOfOption(v->option);
    form.invalidDecision = DecisionOfState(v->state);
    form.textFeature = v->textFeature;
    if (v->textFeature) {
        form.checkExpression = v->classText;
    } else {
        form.minimum = ValueText(v->minimum);
        form.mean = ValueText(v->mean);
        form.maximum = ValueText(v->maximum);
    }
    return form;
}

bool OVectorPropertiesEditor::bValidate(const OVectorForm& edited, OVectorApplyResult& result,
                                        double& factor, double values[3]) const {
    std::string error;
    if (!bParseValue(edited.factor, factor, error)) {
        result.error = "Tolerance factor: " + error;
        result.errorControl = kFactor;
        return false;
    }
    if (!edited.hasClass || edited.textFeature) return true;
    const std::pair<const std::string*, int> fields[3] = {
        {&edited.minimum, kMinimum}, {&edited.mean, kMean}, {&edited.maximum, kMaximum}};
    const char* captions[3] = {"Min.: ", "Mean: ", "Max.: "};
    for (int i = 0; i < 3; ++i) {
        if (!bParseValue(*fields[i].first, values[i], error)) {
            result.error = captions[i] + error;
            result.errorControl = fields[i].second;
            return false;
        }
    }
    if (dZRRound(values[0]) > dZRRound(values[2])) {
        result.error = "The minimum must not be greater than the maximum.";
        result.errorControl = kMinimum;
        return false;
    }
    return true;
}

void OVectorPropertiesEditor::ApplyName(int feature, const std::string& name) {
    const OType_Vector* any = AnyVector(m_partSet, feature);
    const int fixed = m_partSet.iGetFixedFeatures();
    OType_ConfigTool* tool = m_partSet.Tools().opGetCFToolAtFeature(feature, fixed);
    if (m_family == 2) {
        if (auto* kvt = dynamic_cast<OType_ConfigTool_KVT*>(tool)) {
            const int first =
                m_partSet.Tools().GetFeatureIndex_First(m_partSet.Tools().iGetPos(tool), fixed);
            kvt->bSetFeatureName(feature - first, name);
        }
    } else if (any) {
        m_partSet.bSetFeatureName(any->featureType, name);
    }
    // The stored Teach-Data carry the name until the next computation renews it.
    ForEachVector(m_partSet, feature, [&](OType_Vector& v) { v.name = name; });
    ForEachPartFeature(m_partSet, feature, [&](OType_Part&, OType_Feature& f) { f.name = name; });
}

void OVectorPropertiesEditor::ApplyUse(int feature, bool used) {
    ForEachVector(m_partSet, feature, [&](OType_Vector& v) {
        const unsigned option = v.option & FeatureOption::kValueMask;
        if (!used) {
            v.option = (v.option & ~FeatureOption::kValueMask) | FeatureOption::kExcluded;
        } else if (option == FeatureOption::kExcluded) {
            v.option &= ~FeatureOption::kValueMask;
        }
    });
    ForEachPartFeature(m_partSet, feature, [&](OType_Part&, OType_Feature& f) {
        f.option = (f.option & ~FeatureOption::kValueMask) |
                   (used ? FeatureOption::kNormal : FeatureOption::kExcluded);
    });
}

void OVectorPropertiesEditor::SetFactorEverywhere(int feature, double factor) {
    ForEachVector(m_partSet, feature, [&](OType_Vector& v) { v.factor = factor; });
}

OVectorApplyResult OVectorPropertiesEditor::Apply(const OVectorForm& read,
                                                  const OVectorForm& edited) {
    OVectorApplyResult result;
    if (!read.hasFeature || edited.feature != read.feature || edited.type != read.type ||
        edited.orientation != read.orientation)
        return result;
    double factor = 1.0;
    double values[3] = {0.0, 0.0, 0.0};
    if (!bValidate(edited, result, factor, values)) return result;
    const int feature = read.feature;

    if (edited.name != read.name) {
        ApplyName(feature, edited.name);
        result.changed = result.nameChanged = true;
    }
    if (edited.usedForQuality != read.usedForQuality) {
        ApplyUse(feature, edited.usedForQuality);
        result.changed = true;
    }
    result.factor = NormaliseFactor(factor);
    const OType_Vector* any = AnyVector(m_partSet, feature);
    if (any && result.factor != any->factor) {
        SetFactorEverywhere(feature, result.factor);
        result.changed = true;
    }

    OType_ZRPartSet_SubType* record = m_partSet.opGetSubType(read.type);
    OType_VectorArray* vectors = record && read.orientation < record->iGetNumOrientations()
                                     ? record->opGetVectorArray(read.orientation)
                                     : nullptr;
    OType_Vector* v = vectors ? vectors->opGetAt(feature) : nullptr;
    if (v && edited.hasClass) {
        if (!v->textFeature) {
            double* stored[3] = {&v->minimum, &v->mean, &v->maximum};
            for (int i = 0; i < 3; ++i) {
                const double rounded = dZRRound(values[i]);
                if (std::fabs(rounded - *stored[i]) > kValueTolerance) {
                    *stored[i] = rounded;
                    result.changed = true;
                }
            }
        } else if (edited.checkExpression != v->classText) {
            v->classText = edited.checkExpression;
            result.changed = true;
        }
        // An excluded feature keeps option 1; the range radio applies to used features.
        const unsigned option = OptionOfRange(edited.range);
        if ((v->option & FeatureOption::kValueMask) != FeatureOption::kExcluded &&
            (v->option & FeatureOption::kValueMask) != option) {
            v->option = (v->option & ~FeatureOption::kValueMask) | option;
            ForEachPartFeature(m_partSet, feature, [&](OType_Part& part, OType_Feature& f) {
                if (part.iGetType() == read.type + 1 &&
                    std::abs(part.iGetOrientation()) == read.orientation + 1)
                    f.option = (f.option & ~FeatureOption::kValueMask) | option;
            });
            result.changed = true;
        }
        const int state = StateOfDecision(edited.invalidDecision, v->state);
        if (state != v->state) {
            v->state = static_cast<uint8_t>(state);
            result.changed = true;
        }
    }
    if (result.changed) {
        ForEachPartFeature(m_partSet, feature, [](OType_Part& part, OType_Feature& f) {
            f.modified = true;
            part.SetModified(true);
        });
    }
    return result;
}

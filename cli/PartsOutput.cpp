#include "PartsOutput.h"

#include <ostream>

#include "JsonWriter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_PartArray.h"

namespace {

void WriteFeatureJson(OJsonWriter& json, int index, const OType_Feature& f) {
    json.BeginObject();
    json.Key("index").Int(index);
    json.Key("type").Int(f.type);
    json.Key("name").String(f.name);
    if (f.bIsText())
        json.Key("text").String(f.textValue);
    else
        json.Key("value").Number(f.value);
    json.Key("valid").Bool(f.valid);
    json.EndObject();
}

}  // namespace

void WritePartJson(OJsonWriter& json, int index, const OType_Part& part, bool runs) {
    json.BeginObject();
    json.Key("index").Int(index);
    json.Key("record").Int(part.iGetRecordNo());
    json.Key("type").Int(part.iGetType());
    json.Key("orientation").Int(part.iGetOrientation());
    json.Key("comment").String(part.GetComment());
    json.Key("columns").Int(part.iGetColumns());
    json.Key("images").Int(part.iGetNumImages());
    // What the device (or the last classification) reported for the part.
    json.Key("results").BeginArray();
    for (int r = 0; r < 3; ++r)
        json.Number(part.dGetResultValue(r));
    json.EndArray();
    if (runs) {
        json.Key("runs").BeginArray();
        for (int16_t v : part.Contour())
            json.Int(v);
        json.EndArray();
    }
    json.Key("features").BeginArray();
    for (int f = 0; f < part.Features().iGetNumOfFeatures(); ++f)
        WriteFeatureJson(json, f, part.Features().At(f));
    json.EndArray();
    json.EndObject();
}

void WritePartsJson(OJsonWriter& json, const OType_PartArray& list, bool runs) {
    json.BeginArray();
    for (int i = 0; i < list.iGetSize(); ++i)
        WritePartJson(json, i + 1, *list.GetAt(i), runs);
    json.EndArray();
}

void PrintPartsText(std::ostream& out, const OType_PartArray& list) {
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        out << "part " << i + 1 << ": type " << part.iGetType() << ", orientation "
            << part.iGetOrientation() << ", columns " << part.iGetColumns() << ", results "
            << part.dGetResultValue(0) << " " << part.dGetResultValue(1) << " "
            << part.dGetResultValue(2);
        if (!part.GetComment().empty()) out << ", comment \"" << part.GetComment() << "\"";
        out << "\n";
        for (int f = 0; f < part.Features().iGetNumOfFeatures(); ++f) {
            const OType_Feature& feature = part.Features().At(f);
            out << "  " << f << " " << feature.name << " = ";
            if (feature.bIsText())
                out << feature.textValue;
            else
                out << feature.value;
            out << (feature.valid ? "" : " (not valid)") << "\n";
        }
    }
}

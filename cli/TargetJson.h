// The fields of a target system in kalvorctl's JSON, the same wherever a target is printed.
#pragma once

#include "JsonWriter.h"
#include "device/TargetSystem.h"

inline void WriteTargetFields(OJsonWriter& w, const OTargetSystem& t, int fixedFeatures,
                              int toolCapacity) {
    w.Field("hardware", t.hardware);
    w.Field("hardwareName", TargetSystem::HardwareName(t.hardware));
    w.Field("software", t.software);
    w.Field("softwareName", TargetSystem::SoftwareName(t.software));
    w.Field("addIn", t.addIn);
    w.Field("partTypes", t.partTypes);
    w.Field("partsInSet", t.partsInSet);
    w.Field("orientations", t.orientations);
    w.Field("fixedFeatures", fixedFeatures);
    w.Field("toolCapacity", toolCapacity);
}

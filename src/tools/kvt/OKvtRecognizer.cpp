#include "tools/kvt/OKvtRecognizer.h"

bool OKvtRecognizer::bCheck(const OPropertyValues&, std::string&) const {
    return true;
}

bool OKvtRecognizer::bTeach(const OType_ZRPartSet&, const ZRINFO&, const OType_ConfigTool_KVT&) {
    return false;
}

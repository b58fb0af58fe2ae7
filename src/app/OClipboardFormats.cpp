#include "app/OClipboardFormats.h"

#include "model/strings/ResStr.h"

OClipboardFormats OClipboardFormats::Register() {
    OClipboardFormats f;
    for (int i = 0; i < kCount; ++i)
        f.list[static_cast<size_t>(i)] = ResStr(kNameIds[static_cast<size_t>(i)]);
    f.projectText = f.list[0];
    f.partsFamily1 = f.list[1];
    f.partsFamily2 = f.list[2];
    f.toolFamily1 = f.list[3];
    f.toolFamily2 = f.list[4];
    f.checkProgramFamily1 = f.list[5];
    f.checkProgramFamily2 = f.list[6];
    f.dataOutput = f.list[7];
    f.projectData = f.list[8];
    return f;
}

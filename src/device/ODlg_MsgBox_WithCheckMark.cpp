#include "device/ODlg_MsgBox_WithCheckMark.h"

ODlg_MsgBox_WithCheckMark::OCheck* ODlg_MsgBox_WithCheckMark::opFindCheck(
    const std::string& label) {
    for (OCheck& check : checks) {
        if (check.label == label) return &check;
    }
    return nullptr;
}

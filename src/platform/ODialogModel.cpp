#include "platform/ODialogModel.h"

bool ODialogModel::bValidate(std::string& message) {
    message.clear();
    return true;
}

void ODialogModel::OnOk() {}

void ODialogModel::OnCancel() {}

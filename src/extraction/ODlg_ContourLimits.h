// The small dialogs of the part contour view: the height limit of the thin-area and hole
// filters, and the scaling factors of the tape measure.
#pragma once

#include <string>

#include "platform/ODialogModel.h"

// "Ignore part areas with a height less than..." (3401) / "Ignore part holes with a height
// less than..." (3402): one number, at least 1.
class ODlg_FilterLimit : public ODialogModel {
  public:
    ODlg_FilterLimit(int promptId, int limit) : m_promptId(promptId), limit(limit) {}
    std::string DialogName() const override { return "ODlg_FilterLimit"; }
    bool bValidate(std::string& message) override;
    int iGetPromptId() const { return m_promptId; }
    std::string Prompt() const;

  private:
    int m_promptId;

  public:
    int limit;
};

// "Settings for tape measure": the horizontal and vertical scaling factors.
class ODlg_TapeMeasureSettings : public ODialogModel {
  public:
    ODlg_TapeMeasureSettings(double x, double y) : scaleX(x), scaleY(y) {}
    std::string DialogName() const override { return "ODlg_TapeMeasureSettings"; }
    bool bValidate(std::string& message) override;

    double scaleX;
    double scaleY;
};

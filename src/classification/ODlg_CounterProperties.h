// The counter dialog of a part type: the counter target and whether the counter ignores
// the orientation.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ODialogModel.h"

class ODlg_CounterProperties : public ODialogModel {
  public:
    static constexpr int kTemplate = 267;
    static constexpr int kTargetEdit = 1163;
    static constexpr int kIgnoreOrientationCheck = 1009;
    static constexpr int64_t kMaxTarget = 9999999;

    ODlg_CounterProperties(int deviceKind, uint32_t target, bool ignoreOrientation)
        : m_deviceKind(deviceKind), m_target(target), m_ignoreOrientation(ignoreOrientation) {}

    std::string DialogName() const override { return "ODlg_CounterProperties"; }
    static std::string Title() { return "Set counter properties"; }
    static std::string IgnoreOrientationText() { return "Ignore orientation:"; }
    static std::string StatusCaption() { return "Set counter status:"; }

    // The entered target may be anything the edit holds; validation checks the range.
    int64_t iGetTarget() const { return m_target; }
    void SetTarget(int64_t target) { m_target = target; }
    bool bGetIgnoreOrientation() const { return m_ignoreOrientation; }
    void SetIgnoreOrientation(bool ignore) { m_ignoreOrientation = ignore; }
    int iGetDeviceKind() const { return m_deviceKind; }

    // 1..9999999; device kind 2 also accepts 0.
    int64_t iGetMinTarget() const { return m_deviceKind == 2 ? 0 : 1; }
    bool bValidate(std::string& message) override;

  private:
    int m_deviceKind;
    int64_t m_target;
    bool m_ignoreOrientation;
};

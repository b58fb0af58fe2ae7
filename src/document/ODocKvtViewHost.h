// The document as the host of the family-2 part contour view (OKvtViewHost).
#pragma once

#include "extraction/OKvtViewHost.h"

class ODoc;

class ODocKvtViewHost : public OKvtViewHost {
  public:
    explicit ODocKvtViewHost(ODoc& doc) : m_doc(doc) {}

    double dGetTapeZ() const override;
    void SetTapeZ(double z) override;
    bool bShowUnselectedTools() const override;
    void SetShowUnselectedTools(bool on) override;
    bool bAutoShowCameraOrContourImage() const override;
    std::vector<std::string> DependentToolNames(const OType_ZRPartSet& partSet,
                                                int position) override;
    bool bRemoveToolWithDependents(OType_ZRPartSet& partSet, int position) override;

  private:
    ODoc& m_doc;
};

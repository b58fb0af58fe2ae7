// The tool list of a part set, the registry of tool prototypes per kind, and the stand-in
// that keeps tools of kinds this program does not know.
#pragma once

#include <memory>
#include <vector>

#include "model/tools/OPrototypeRegistry.h"
#include "model/tools/OType_ConfigTool.h"

inline int KindOf(const OType_ConfigTool& tool) {
    return tool.iGetConfigToolType();
}
// Tool kinds registered with a part set; stored tools are decoded into these classes.
using OToolPrototypes = OPrototypeRegistry<OType_ConfigTool>;

// A tool of an unregistered kind: computes nothing (its features become invalid) but keeps
// its settings so that they are written back unchanged.
class OType_ConfigTool_Opaque : public OType_ConfigTool {
  public:
    explicit OType_ConfigTool_Opaque(int kind) : m_kind(kind) {}
    int iGetConfigToolType() const override { return m_kind; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override;
    void CopyTo(OType_ConfigTool& other) const override;
    int iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo, OType_Part& part,
                            OType_FeatureArray& features, int mode, OPainter* painter,
                            int drawFlags, const ORect& clip) override;

  protected:
    void EncodePayload(OByteStream& stream) const override;
    bool bDecodePayload(OByteStream& stream) override;

  private:
    int m_kind;
    std::vector<uint8_t> m_payload;
};

class OType_ConfigToolArray {
  public:
    static constexpr uint32_t kMaxTools = 1024;

    OType_ConfigToolArray() = default;
    OType_ConfigToolArray(const OType_ConfigToolArray& other) { CopyFrom(other); }
    OType_ConfigToolArray& operator=(const OType_ConfigToolArray& other);

    int iGetNum() const { return static_cast<int>(m_tools.size()); }
    OType_ConfigTool* opGetAt(int i) const;
    // Index of a tool of this list; -1 when it is not in it.
    int iGetPos(const OType_ConfigTool* tool) const;
    OType_ConfigTool* opFindById(int toolId) const;
    int iFindPosById(int toolId) const;

    // Inserts at index i (clamped); gives the tool a fresh id when it has none or its id is
    // already used. Returns the inserted tool.
    OType_ConfigTool* Insert(int i, std::unique_ptr<OType_ConfigTool> tool);
    OType_ConfigTool* Add(std::unique_ptr<OType_ConfigTool> tool) {
        return Insert(iGetNum(), std::move(tool));
    }
    void RemoveAt(int i);
    std::unique_ptr<OType_ConfigTool> DetachAt(int i);
    void RemoveAll();
    void Swap(int a, int b);

    // Number of features of all tools.
    int iGetNumOfFeatures() const;
    // Feature index of the first / last feature of tool i, counting `fixedFeatures` basic
    // features first; -1 when i is out of range.
    int GetFeatureIndex_First(int i, int fixedFeatures) const;
    int GetFeatureIndex_Last(int i, int fixedFeatures) const;
    // The tool that owns feature index f; nullptr for basic features and out of range.
    OType_ConfigTool* opGetCFToolAtFeature(int f, int fixedFeatures) const;

    int iEncode(OByteStream& stream) const;
    // Encodes tool i alone (e.g. for the clipboard).
    int iEncodeAt(std::vector<uint8_t>& bytes, int i) const;
    // Decodes a tool list, creating each tool from `prototypes`; unknown kinds are kept as
    // opaque tools. Returns 0 on malformed input and leaves the list empty.
    int iDecode(OByteStream& stream, const OToolPrototypes& prototypes);
    // Decodes one tool written by iEncodeAt / OType_ConfigTool::iEncode.
    static std::unique_ptr<OType_ConfigTool> opCreateCFToolFromStream(
        OByteStream& stream, const OToolPrototypes& prototypes);

    std::vector<std::unique_ptr<OType_ConfigTool>>::const_iterator begin() const {
        return m_tools.begin();
    }
    std::vector<std::unique_ptr<OType_ConfigTool>>::const_iterator end() const {
        return m_tools.end();
    }

  private:
    void CopyFrom(const OType_ConfigToolArray& other);
    int NextFreeId();

    std::vector<std::unique_ptr<OType_ConfigTool>> m_tools;
    int m_nextId = 1;
    std::vector<uint8_t> m_trailer;  // unknown bytes of a newer encoding, written back unchanged
};

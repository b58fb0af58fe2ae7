// The base of every inspection tool of a part set. The tool libraries derive the concrete
// kinds; the part set creates tools from prototypes registered per kind, so that stored
// part sets decode into the right classes.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "model/draw/OGeometry.h"
#include "model/tools/OPropertyList.h"

class OByteStream;
class OPainter;
class OType_FeatureArray;
class OType_Part;
class OType_ZRPartSet;
class ZRINFO;

// Bits of iCheckPropertyCompatibility's result.
namespace ToolCompatibility {
inline constexpr int kIncompatible = 1;  // bit 0: the tool cannot run on the target
inline constexpr int kAdjustable1 = 2;   // bits 1 and 2: properties the tool can adjust
inline constexpr int kAdjustable2 = 4;
}  // namespace ToolCompatibility

// Bit 16 of an extraction result reports a tool-side condition.
inline constexpr int kToolResultConditionBit = 1 << 16;

class OType_ConfigTool {
  public:
    OType_ConfigTool() = default;
    OType_ConfigTool(const OType_ConfigTool&) = delete;
    OType_ConfigTool& operator=(const OType_ConfigTool&) = delete;
    virtual ~OType_ConfigTool() = default;

    // --- kind and creation ---
    // Tool kind: 1..8 for family 1 contour tools, 100 and above for family 2 image tools.
    virtual int iGetConfigToolType() const = 0;
    // A new tool of the same kind with default settings.
    virtual std::unique_ptr<OType_ConfigTool> CreateNew() const = 0;
    // Base name of new tools of this kind ("ROI", "VStrip" ...).
    virtual std::string GetKindName() const = 0;
    // A copy with all settings (name and id included).
    std::unique_ptr<OType_ConfigTool> Clone() const;
    // Copies every setting into `other`, which must be of the same kind.
    virtual void CopyTo(OType_ConfigTool& other) const;

    // --- common settings ---
    int iGetToolId() const { return m_toolId; }
    void SetToolId(int id) { m_toolId = id; }
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // Feature type of the tool's first feature (for family 1 the sub-kind).
    int iGetFeatureType() const { return m_featureType; }
    void SetFeatureType(int type) { m_featureType = type; }
    const ORect& GetRegion() const { return m_region; }
    // Image tools keep a rotatable region and answer its bounding rectangle here.
    virtual void SetRegion(const ORect& r) { m_region = r; }
    bool iGetModifiedFlag() const { return m_modified; }
    void SetModifiedFlag(bool modified) { m_modified = modified; }
    // Whether the tool computes its features in world coordinates.
    bool bGetCoordTransSwitch() const { return m_coordTrans; }
    void SetCoordTransSwitch(bool on) { m_coordTrans = on; }
    // 0 = works on the contour image, 1 = on the camera image.
    int iGetImageType() const { return m_imageType; }
    void SetImageType(int type) { m_imageType = type; }

    // The lock that guards the tool's extraction state (painting, extraction, tool search).
    bool bTryLock(std::chrono::milliseconds timeout) { return m_lock.try_lock_for(timeout); }
    void Unlock() { m_lock.unlock(); }
    // Tools whose extraction changes nothing in the tool may extract several parts at once:
    // the extraction workers then share the lock, and only a writer waits for all of them.
    virtual bool bExtractsConcurrently() const { return false; }
    bool bTryLockShared(std::chrono::milliseconds timeout) {
        return m_lock.try_lock_shared_for(timeout);
    }
    void UnlockShared() { m_lock.unlock_shared(); }

    // --- features ---
    virtual int iGetNumOfFeatures() const { return 1; }
    virtual int GetFeatureTypeAt(int i) const { return i == 0 ? m_featureType : -1; }
    // Feature indices (in the part's array) whose values this tool reads, e.g. the operands
    // of a combination tool.
    virtual std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet& partSet) const;

    // --- target-system checks ---
    // Flags of ToolCompatibility; `text` receives a description of the problem.
    virtual int iCheckPropertyCompatibility(const ZRINFO& deviceInfo, std::string& text) const;
    // Adjusts the properties to the target; 1 on success.
    virtual int iAdjustPropertyCompatibility(const ZRINFO& deviceInfo);
    // Re-places the tool for the target's image geometry; 1 on success.
    virtual int iChangePositionSymmetrical(int mode, const ZRINFO& deviceInfo);
    // Adjusts the tool's members to the part set and the shown part after an edit.
    virtual void UpdateCFToolDefinition(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                        const OType_Part& part, OType_FeatureArray& features);

    // --- extraction ---
    virtual int iInitAfterCheckprogramLoad(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo);
    virtual int iFinalizeBeforeCheckprogramUnload(OType_ZRPartSet& partSet,
                                                  const ZRINFO& deviceInfo);
    // Computes the tool's features of `part` into the entries of `features` that carry this
    // tool's id, and draws the tool when a painter is given. Returns a result word whose bit
    // 16 reports a tool-side condition.
    virtual int iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                    OType_Part& part, OType_FeatureArray& features, int mode,
                                    OPainter* painter, int drawFlags, const ORect& clip) = 0;
    // Teach-part extraction (family 2); by default the same as the test extraction.
    virtual int iExtractObject_Teach(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                     OType_Part& part, OType_FeatureArray& features, int mode,
                                     OPainter* painter, int drawFlags, const ORect& clip);
    // Family 2 teaching hook, called for every sample part during teach-data computation.
    virtual void TeachPart(OType_ZRPartSet& partSet, const OType_Part& part,
                           const OType_FeatureArray& features);
    virtual void iStopTeach(OType_ZRPartSet& partSet);
    virtual void iStopTest(OType_ZRPartSet& partSet);
    // Draws the tool for a printout.
    virtual void PrintCFTool(OPainter& painter, const OType_ZRPartSet& partSet);

    // --- properties as data (property pages, kalvorctl tool set) ---
    // What a user may edit; the base lists the name and the region ("name", "region.left",
    // "region.top", "region.right", "region.bottom" on page "General"). Kinds append theirs.
    virtual OPropertyList DescribeProperties(const OPropertyContext& context) const;
    // Checks every value against DescribeProperties and bCheckProperties, then applies all
    // of them; a refusal changes nothing and `error` says why. A change sets the modified flag.
    bool bApplyProperties(const OPropertyValues& values, const OPropertyContext& context,
                          std::string& error);

    // --- encoding: kind, common settings, then the kind's own payload ---
    int iEncode(OByteStream& stream) const;
    // Decodes common settings and payload into this tool (whose kind must match).
    int iDecodeInto(OByteStream& stream);

  protected:
    // Rules between fields (a minimum below its maximum ...), checked on the values as they
    // would be after applying; `merged` holds the current value of every described property
    // overwritten by the new ones.
    virtual bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                                  std::string& error) const;
    // Applies values that passed the checks; kinds call the base for the common ones.
    virtual void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context);

    virtual void EncodePayload(OByteStream& stream) const = 0;
    // Returns false on malformed payload.
    virtual bool bDecodePayload(OByteStream& stream) = 0;

  private:
    int m_toolId = -1;
    std::string m_name;
    int m_featureType = 0;
    ORect m_region;
    bool m_modified = true;
    bool m_coordTrans = false;
    int m_imageType = 0;
    std::shared_timed_mutex m_lock;
    std::vector<uint8_t> m_trailer;
};

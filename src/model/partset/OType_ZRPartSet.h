// A part set (check program): its part types with their Teach-Data, the teach and test
// part lists, tools, data outputs, feature names, contour filter settings, what the views
// show, and its undo history.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/partset/OType_PartArray.h"
#include "model/partset/OUndoRedoSupport.h"
#include "model/teach/OType_ZRPartSet_SubType.h"
#include "model/tools/OType_ConfigToolArray.h"
#include "model/tools/OType_DeviceDataIOArray.h"

class OCoordTrans_Tsai_Transformer;
class OProgressCtrl;
class ZRINFO;

// An entry of the feature-name table: the name of feature type `number`.
struct OFeatureName {
    int number = 0;
    std::string name;
    bool operator==(const OFeatureName&) const = default;
};

// The standard reference features of a part set: per reference type the feature number
// assigned to it (-1 none).
class OType_DefaultReferenceFeatures {
  public:
    static constexpr int kCount = 14;
    OType_DefaultReferenceFeatures() { m_features.fill(-1); }
    int iGetAt(int type) const {
        return type >= 0 && type < kCount ? m_features[static_cast<size_t>(type)] : -1;
    }
    void SetAt(int type, int feature) {
        if (type >= 0 && type < kCount) m_features[static_cast<size_t>(type)] = feature;
    }
    void Reset() { m_features.fill(-1); }
    bool operator==(const OType_DefaultReferenceFeatures&) const = default;

  private:
    std::array<int, kCount> m_features;
};

class OType_ZRPartSet {
  public:
    static constexpr int kMaxSubTypes = 512;
    static constexpr int kMaxFeatureFlags = 4096;

    OType_ZRPartSet();
    ~OType_ZRPartSet();
    OType_ZRPartSet(const OType_ZRPartSet&) = delete;
    OType_ZRPartSet& operator=(const OType_ZRPartSet&) = delete;

    // --- context given by the session; not part of the encoding ---
    void SetDeviceInfo(const ZRINFO* info) { m_deviceInfo = info; }
    const ZRINFO* opGetDeviceInfo() const { return m_deviceInfo; }
    void SetCoordTransformer(OCoordTrans_Tsai_Transformer* transformer) {
        m_coordTrans = transformer;
    }
    OCoordTrans_Tsai_Transformer* opGetCoordTransformer() const { return m_coordTrans; }
    void SetProgress(OProgressCtrl* progress) { m_progress = progress; }
    OProgressCtrl* opGetProgress() const { return m_progress; }
    // Number of basic contour features in front of the tool features (12 or 0).
    int iGetFixedFeatures() const { return m_fixedFeatures; }
    void SetFixedFeatures(int n) { m_fixedFeatures = n < 0 ? 0 : n; }

    // --- identity ---
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int64_t iGetTimeStamp() const { return m_timeStamp; }  // seconds since 1970
    void SetTimeStamp(int64_t t) { m_timeStamp = t; }
    int iGetProgramNo() const { return m_programNo; }
    void SetProgramNo(int n) { m_programNo = n; }
    const std::string& GetCompatibleFirmwareMin() const { return m_firmwareMin; }
    const std::string& GetCompatibleFirmwareMax() const { return m_firmwareMax; }
    void SetCompatibilityFirmwareVersion(std::string minimum, std::string maximum);

    // --- part types ---
    int iGetNum_SubTypes() const { return static_cast<int>(m_subTypes.size()); }
    OType_ZRPartSet_SubType* opGetSubType(int i);
    const OType_ZRPartSet_SubType* opGetSubType(int i) const;
    OType_ZRPartSet_SubType* opAddSubType();
    void RemoveSubTypeAt(int i);
    void SetNumSubTypes(int n);
    // Removes every stored vector of every part type.
    void RemoveAllVectors();

    // --- parts ---
    OType_PartArray& TeachParts() { return m_teach; }
    const OType_PartArray& TeachParts() const { return m_teach; }
    OType_PartArray& TestParts() { return m_test; }
    const OType_PartArray& TestParts() const { return m_test; }
    bool bHasPartData() const { return !m_teach.bIsEmpty() || !m_test.bIsEmpty(); }

    // --- tools and data outputs ---
    OType_ConfigToolArray& Tools() { return m_tools; }
    const OType_ConfigToolArray& Tools() const { return m_tools; }
    OType_DeviceDataIOArray& DataOutputs() { return m_dataOutputs; }
    const OType_DeviceDataIOArray& DataOutputs() const { return m_dataOutputs; }
    OToolPrototypes& ToolPrototypes() { return m_toolPrototypes; }
    const OToolPrototypes& ToolPrototypes() const { return m_toolPrototypes; }
    ODataOutputPrototypes& DataOutputPrototypes() { return m_dataOutputPrototypes; }
    const ODataOutputPrototypes& DataOutputPrototypes() const { return m_dataOutputPrototypes; }
    void RegisterToolKind(std::unique_ptr<OType_ConfigTool> instance) {
        m_toolPrototypes.RegisterKind(std::move(instance));
    }
    void RegisterDataOutputKind(std::unique_ptr<OType_DeviceDataIO> instance) {
        m_dataOutputPrototypes.RegisterKind(std::move(instance));
    }
    // Basic features plus the features of all tools.
    int iGetNumOfFeatures() const { return m_fixedFeatures + m_tools.iGetNumOfFeatures(); }
    // Feature indices that the tool at `position` reads, directly or through the tools it
    // reads, each once and ascending (OType_ZRPartSet_ToolOrder.cpp).
    std::vector<int> GetAllReferencedFeatures(int position) const;
    // Exchanges two neighbouring tools together with everything kept per feature index: the
    // Teach-Data of every part type, the parts' features, the feature-use flags, the standard
    // references and the shown feature. False when a or b is not a tool or they are not
    // neighbours.
    bool SwapCFTools_WithDependencies(int a, int b);

    // --- feature names ---
    std::vector<OFeatureName>& FeatureNames() { return m_featureNames; }
    const std::vector<OFeatureName>& FeatureNames() const { return m_featureNames; }
    // Name of feature type `number`; nullptr when the table has none.
    const std::string* FindFeatureName(int number) const;
    // The name, or "--" when the table has none.
    std::string GetFeatureNameOrDash(int number) const;
    bool bSetFeatureName(int number, std::string name);
    // Back to the built-in multi-language table.
    void bResetFeatureNames();
    // Replaces every multi-language entry by its text in `language`.
    void ExtractFeatureNameLanguage(int language);

    OType_DefaultReferenceFeatures& DefaultReferences() { return m_defaultReferences; }
    const OType_DefaultReferenceFeatures& DefaultReferences() const { return m_defaultReferences; }

    // --- contour filters: 0 none, 1 viewing area, 2 thin areas, 3 holes ---
    int iGetFilterMode() const { return m_filterMode; }
    void SetFilterMode(int mode) { m_filterMode = mode; }
    int16_t iGetFilterLimit1() const { return m_filterLimit1; }
    int16_t iGetFilterLimit2() const { return m_filterLimit2; }
    void SetFilterLimits(int16_t limit1, int16_t limit2) {
        m_filterLimit1 = limit1;
        m_filterLimit2 = limit2;
    }

    // --- coordinate transformation of features ---
    bool bGetCoordTransSwitch() const { return m_coordTransSwitch; }
    void SetCoordTransSwitch(bool on) { m_coordTransSwitch = on; }
    bool bIsCoordTransformerUsed() const { return m_coordTransSwitch; }
    double dGetZCoordinate() const { return m_zCoordinate; }
    void SetZCoordinate(double z) { m_zCoordinate = z; }

    // --- features used for the quality decision (all enabled by default) ---
    bool bIsFeatureEnabled(int feature) const;
    // state 1 enables, 0 disables, -1 toggles; returns the new state, or -1 for a bad index.
    int SetFeatureEnable(int feature, int state);

    // --- show state: what the views show. Setters clamp and return the number. ---
    // 1 = teach data shown, 0 = test data shown.
    int iShowGetTeachTest() const { return m_showTeach ? 1 : 0; }
    int iShowSetTeachTest(int teach);
    // mode 0 clamps into the list; mode 1 also accepts -1 (no part shown).
    int iShowTeachPartNo(int n, int mode = 0);
    int iShowTeachPartGetNo() const { return m_showTeachPart; }
    int iShowTeachPartNext() { return iShowTeachPartNo(m_showTeachPart + 1); }
    int iShowTeachPartPrev() { return iShowTeachPartNo(m_showTeachPart - 1); }
    int iShowTestPartNo(int n, int mode = 0);
    int iShowTestPartGetNo() const { return m_showTestPart; }
    int iShowTestPartNext() { return iShowTestPartNo(m_showTestPart + 1); }
    int iShowTestPartPrev() { return iShowTestPartNo(m_showTestPart - 1); }
    int iShowFeatureNo(int n);
    int iShowFeatureGetNo() const { return m_showFeature; }
    int iShowFeatureNext() { return iShowFeatureNo(m_showFeature + 1); }
    int iShowFeaturePrev() { return iShowFeatureNo(m_showFeature - 1); }
    int iShowToolNo(int n);
    int iShowToolGetNo() const { return m_showTool; }
    int iShowToolNext() { return iShowToolNo(m_showTool + 1); }
    int iShowToolPrev() { return iShowToolNo(m_showTool - 1); }
    // The shown orientation (vector array index) of the shown part type.
    int iShowVectorNo(int n);
    int iShowVectorGetNo() const { return m_showVector; }
    int iShowVectorNext() { return iShowVectorNo(m_showVector + 1); }
    int iShowVectorPrev() { return iShowVectorNo(m_showVector - 1); }
    int iShowDataOutputNo(int n);
    int iShowDataOutputGetNo() const { return m_dataOutputs.iGetSelected(); }
    int iShowDataOutputNext() { return iShowDataOutputNo(m_dataOutputs.iGetSelected() + 1); }
    int iShowDataOutputPrev() { return iShowDataOutputNo(m_dataOutputs.iGetSelected() - 1); }
    int iShowSubTypeNo(int n);
    int iShowSubTypeGetNo() const { return m_showSubType; }
    int iShowSubTypeNext() { return iShowSubTypeNo(m_showSubType + 1); }
    int iShowSubTypePrev() { return iShowSubTypeNo(m_showSubType - 1); }
    // The shown part of the shown list; nullptr when there is none.
    OType_Part* opGetShowPart() const;
    OType_ZRPartSet_SubType* opGetShowSubType() { return opGetSubType(m_showSubType); }
    // The tool owning the shown feature; nullptr for basic features.
    OType_ConfigTool* opShowFeatureGetConfigTool() const;

    OUndoRedoSupport& UndoRedo() { return m_undo; }
    const OUndoRedoSupport& UndoRedo() const { return m_undo; }

    // --- copies and encodings ---
    // Copies the whole content (not the undo history, the prototypes or the context).
    void CopyContentFrom(const OType_ZRPartSet& other);
    // Takes every setting of `other` but keeps this set's part lists (and its history,
    // prototypes and context); the show state is clamped to the lists kept.
    void TakeSettingsFrom(const OType_ZRPartSet& other);
    // withParts 0 leaves out the part lists (the form a device receives); withImages 0
    // leaves out the parts' camera images.
    int iEncode(OByteStream& stream, int withParts = 1, int withImages = 1) const;
    std::vector<uint8_t> Encode(int withParts = 1, int withImages = 1) const;
    // What decoding does to the undo history: start it from the decoded state, or leave it
    // empty for a caller that restarts it itself once it has finished setting up (as the
    // project loader does), which saves a copy of every part.
    enum class DecodeHistory { Restart, Clear };
    // Register the tool and data-output kinds first. Returns 0 on malformed input and
    // leaves the part set empty (with an empty history).
    int iDecode(OByteStream& stream, DecodeHistory history = DecodeHistory::Restart);
    int iDecode(std::span<const uint8_t> bytes, DecodeHistory history = DecodeHistory::Restart);
    uint64_t iGetObjectSize(int withParts = 1, int withImages = 1) const;
    // Empties the part set (context and prototypes stay).
    void Clear();

    // --- part-list files ---
    // Writes the teach (teach = true) or test list: mode 1 (".zrl") and 2 (".kvl") write
    // the parts with everything they hold; mode 0 writes their contours as text lines
    // (see OContourCsv.h). Returns 1 when written, 0 when writing failed (errorText says
    // why) and -1 when the file cannot be created.
    int iParts2File(bool teach, const std::filesystem::path& path, int mode,
                    OProgressCtrl* progress, std::string* errorText = nullptr) const;
    // Appends the parts of a part-list file (either form) to the teach or test list; each
    // part's record number becomes the list size after adding it. On failure nothing is
    // appended and errorText says why.
    int iLoadParts(const std::filesystem::path& path, bool teach, std::string* errorText = nullptr);
    // The teach or test list as text lines (the text form of part lists) into a stream.
    int iParts2Text(bool teach, OByteStream& out, OProgressCtrl* progress = nullptr) const;
    // Appends the parts of text lines to the teach or test list, numbered as iLoadParts
    // numbers them; on malformed text nothing is appended and errorText names the line.
    int iContur2Parts(std::string_view text, bool teach, std::string* errorText = nullptr);

  private:
    friend class OUndoRedoSupport;
    // A part set without its own undo history: the copies the history keeps.
    struct NoHistory {};
    explicit OType_ZRPartSet(NoHistory);

    void ClampShowState();
    // Everything CopyContentFrom copies except the two part lists.
    void CopySettingsFrom(const OType_ZRPartSet& other);

    const ZRINFO* m_deviceInfo = nullptr;
    OCoordTrans_Tsai_Transformer* m_coordTrans = nullptr;
    OProgressCtrl* m_progress = nullptr;
    int m_fixedFeatures = 12;

    std::string m_name;
    int64_t m_timeStamp = 0;
    int m_programNo = 0;
    std::string m_firmwareMin = "0.0.0.0";
    std::string m_firmwareMax = "0.0.0.0";
    std::vector<OType_ZRPartSet_SubType> m_subTypes;
    OType_PartArray m_teach;
    OType_PartArray m_test;
    OType_ConfigToolArray m_tools;
    OType_DeviceDataIOArray m_dataOutputs;
    OToolPrototypes m_toolPrototypes;
    ODataOutputPrototypes m_dataOutputPrototypes;
    std::vector<OFeatureName> m_featureNames;
    OType_DefaultReferenceFeatures m_defaultReferences;
    int m_filterMode = 0;
    int16_t m_filterLimit1 = 0;
    int16_t m_filterLimit2 = 0;
    bool m_coordTransSwitch = false;
    double m_zCoordinate = 0.0;
    std::vector<uint8_t> m_featureDisabled;  // 1 = not used for the quality decision
    bool m_showTeach = true;
    int m_showTeachPart = 0;
    int m_showTestPart = 0;
    int m_showFeature = 0;
    int m_showTool = -1;
    int m_showVector = 0;
    int m_showSubType = 0;
    std::vector<uint8_t> m_trailer;
    OUndoRedoSupport m_undo;
};

// One recorded part: its family-1 contour image as vertical runs, its camera images, its
// feature array, its assignment (type and orientation) and the classifier's results.
//
// Contour runs: column by column from x = 0, each run a (top, bottom) pair of rows counting
// upwards; the last run of a column has its bottom negated. An empty column is (v, -v).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/part/OType_Feature.h"
#include "model/part/OType_Image.h"

class OByteStream;

// Which parts of a part an encoding carries.
namespace PartContent {
inline constexpr uint32_t kContour = 1;
inline constexpr uint32_t kImages = 2;
inline constexpr uint32_t kFeatures = 4;
inline constexpr uint32_t kAll = kContour | kImages | kFeatures;
}  // namespace PartContent

// What a data output reported for a part.
struct ODataOutputResult {
    int32_t dataOutputId = -1;
    std::vector<uint8_t> result;
    bool operator==(const ODataOutputResult&) const = default;
};

class OType_Part {
  public:
    static constexpr uint32_t kMaxContourValues = 1u << 22;
    static constexpr uint32_t kMaxImages = 16;

    OType_Part() = default;
    OType_Part(const OType_Part&) = default;
    OType_Part& operator=(const OType_Part&) = default;
    OType_Part(OType_Part&&) noexcept = default;
    OType_Part& operator=(OType_Part&&) noexcept = default;

    // Contour data.
    const int16_t* opGetConturData() const { return RunsOf(m_contour).data(); }
    int iGetConturDataSize() const { return static_cast<int>(RunsOf(m_contour).size()); }
    std::span<const int16_t> Contour() const { return RunsOf(m_contour); }
    // Replaces the runs; the column count is set to the number of column ends.
    void SetConturData(std::vector<int16_t> runs);
    void RemoveConturData();
    int iGetColumns() const { return m_columns; }
    void SetColumns(int columns) { m_columns = columns; }
    // Number of negative values, i.e. of column ends, in a run list.
    static int iCountColumns(std::span<const int16_t> runs);

    // The contour as it was before the first contour filter, for restarting filters.
    const std::vector<int16_t>& BackupContour() const { return RunsOf(m_backupContour); }
    bool bHasBackup() const { return !RunsOf(m_backupContour).empty(); }
    void SetBackupContour(std::vector<int16_t> runs) { m_backupContour = Share(std::move(runs)); }
    void RemoveBackupContour() { m_backupContour.reset(); }
    int iGetAppliedFilter() const { return m_appliedFilter; }
    void SetAppliedFilter(int filter) { m_appliedFilter = filter; }

    // Camera images; shared and immutable, so copies of parts are cheap.
    int iGetNumImages() const { return static_cast<int>(m_images.size()); }
    const OType_Image* opGetImage(int i) const;
    std::shared_ptr<const OType_Image> GetImageShared(int i) const;
    void AddImage(OType_Image image);
    void AddImage(std::shared_ptr<const OType_Image> image);
    void SetImage(int i, OType_Image image);
    void RemoveImages() { m_images.clear(); }

    OType_FeatureArray& Features() { return m_features; }
    const OType_FeatureArray& Features() const { return m_features; }

    // Assignment: orientation 1..8 (0 unassigned, negative = ignored at teach), type 1..16.
    int iGetOrientation() const { return m_orientation; }
    void SetOrientation(int orientation) { m_orientation = orientation; }
    int iGetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    // 1 for a sample (teach) part, 0 for a test part.
    bool bIsTeachPart() const { return m_teach; }
    void SetTeachPart(bool teach) { m_teach = teach; }
    bool bIsSelected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }
    int iGetRecordNo() const { return m_recordNo; }
    void SetRecordNo(int recordNo) { m_recordNo = recordNo; }
    const std::string& GetComment() const { return m_comment; }
    void SetComment(std::string comment) { m_comment = std::move(comment); }

    // Classifier results: [0] deviation in percent (the evaluation value; above 100 is
    // bad), [1] distance to the decision threshold, [2] inside flag or learning value.
    double dGetResultValue(int i) const {
        return i >= 0 && i < 3 ? m_results[static_cast<size_t>(i)] : 0.0;
    }
    void SetResultValue(int i, double v) {
        if (i >= 0 && i < 3) m_results[static_cast<size_t>(i)] = v;
    }
    int iGetTolerance() const { return m_tolerance; }
    void SetTolerance(int tolerance) { m_tolerance = tolerance; }

    std::vector<ODataOutputResult>& DataOutputResults() { return m_dataOutputResults; }
    const std::vector<ODataOutputResult>& DataOutputResults() const { return m_dataOutputResults; }

    // The device's words at the time the part was taken: its flag word (set by the control
    // system) and its digital inputs, one bit per input. Read by the flagword and I/O tools.
    uint32_t iGetFlagWord() const { return m_flagWord; }
    void SetFlagWord(uint32_t word) { m_flagWord = word; }
    uint32_t iGetInputs() const { return m_inputs; }
    void SetInputs(uint32_t inputs) { m_inputs = inputs; }

    bool bGetModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    // Extraction state of family 2 parts (2 = needs extraction).
    int iGetState() const { return m_state; }
    void SetState(int state) { m_state = state; }

    // Copies everything into `other` (images are shared).
    void CopyTo(OType_Part& other) const { other = *this; }

    // Encodes the parts of the part named by `content` (PartContent flags).
    int iEncode(OByteStream& stream, uint32_t content = PartContent::kAll) const;
    std::vector<uint8_t> Encode(uint32_t content = PartContent::kAll) const;
    // Returns 0 on malformed input and leaves the part empty.
    int iDecode(OByteStream& stream);
    int iDecode(std::span<const uint8_t> bytes);

    // Approximate bytes of iEncode's output, for progress bars.
    uint64_t iGetObjectSize(uint32_t content = PartContent::kAll) const;

    bool operator==(const OType_Part& other) const;

  private:
    // Runs never change in place, so copies of a part (undo steps, clipboard) share them.
    using Runs = std::vector<int16_t>;
    using SharedRuns = std::shared_ptr<const Runs>;
    static const Runs& RunsOf(const SharedRuns& runs);
    static SharedRuns Share(Runs runs);

    SharedRuns m_contour;
    int m_columns = 0;
    SharedRuns m_backupContour;
    int m_appliedFilter = 0;
    std::vector<std::shared_ptr<const OType_Image>> m_images;
    OType_FeatureArray m_features;
    int m_orientation = 0;
    int m_type = 1;
    bool m_teach = true;
    bool m_selected = false;
    int m_recordNo = 0;
    std::string m_comment;
    std::array<double, 3> m_results{};
    int m_tolerance = 0;
    std::vector<ODataOutputResult> m_dataOutputResults;
    bool m_modified = true;
    int m_state = 0;
    uint32_t m_flagWord = 0;
    uint32_t m_inputs = 0;
    std::vector<uint8_t> m_trailer;
};

// The extraction engine of a device family: the object that runs the tools over all
// parts, owns the family's contour measurement and the part contour view's state, and
// runs the automatic tool search. The document owns one for as long as the project is
// open; a window in extraction/ui draws it.
#pragma once

#include <cstdint>
#include <string>

class OExtractorHost;
class OProgressCtrl;
class OType_Part;
class OType_ZRPartSet;

// Bits of the extraction error flags. They are set and never cleared during the engine's life.
namespace ExtractionError {
inline constexpr uint32_t kReleaseFailed = 1u << 0;  // a tool lock could not be released
inline constexpr uint32_t kToolBusy = 1u << 1;       // a tool lock was busy or the wait timed out
inline constexpr uint32_t kWaitFailed = 1u << 2;     // waiting for a tool lock failed
inline constexpr uint32_t kToolCondition = 1u << 3;  // a tool's result had bit 16 set
}  // namespace ExtractionError

class OExtractor {
  public:
    explicit OExtractor(OExtractorHost& host) : m_host(host) {}
    OExtractor(const OExtractor&) = delete;
    OExtractor& operator=(const OExtractor&) = delete;
    virtual ~OExtractor() = default;

    virtual void PrepareExtraction(OType_ZRPartSet& /*partSet*/) {}
    virtual void ExtractTeachParts(OType_ZRPartSet& /*partSet*/, int /*option*/) {}
    virtual void FinishTeachExtraction(OType_ZRPartSet& /*partSet*/) {}
    virtual void PrepareTestExtraction(OType_ZRPartSet& /*partSet*/) {}
    virtual void ExtractTestParts(OType_ZRPartSet& /*partSet*/, int /*option*/) {}
    virtual void FinishTestExtraction(OType_ZRPartSet& /*partSet*/) {}
    // Searches separating tools within maxMinutes; returns 1 when it finished.
    virtual int SearchTools(double /*maxMinutes*/, int /*stepSize*/, int /*reserved1*/,
                            int /*reserved2*/, OProgressCtrl* /*progress*/,
                            std::string* /*statusText*/) {
        return 0;
    }
    virtual void CancelToolSearch() {}
    virtual void ResetView() {}
    virtual void ShowImageRegion() {}
    virtual void PrintOrientationSamples() {}
    virtual void MirrorVertical(OType_Part& /*part*/) {}
    virtual void MirrorHorizontal(OType_Part& /*part*/) {}
    uint32_t GetExtractionErrorFlags() const { return m_errorFlags; }

  protected:
    void AddExtractionErrorFlags(uint32_t bits) { m_errorFlags |= bits; }
    OExtractorHost& Host() const { return m_host; }

  private:
    OExtractorHost& m_host;
    uint32_t m_errorFlags = 0;
};

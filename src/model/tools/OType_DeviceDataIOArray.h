// The data-output list of a part set, with its selected entry.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/tools/OPrototypeRegistry.h"
#include "model/tools/OType_DeviceDataIO.h"

inline int KindOf(const OType_DeviceDataIO& output) {
    return output.iGetDataIOType();
}
using ODataOutputPrototypes = OPrototypeRegistry<OType_DeviceDataIO>;

// A data output of an unregistered kind, kept so that it is written back unchanged.
class OType_DeviceDataIO_Opaque : public OType_DeviceDataIO {
  public:
    explicit OType_DeviceDataIO_Opaque(int kind) : m_kind(kind) {}
    int iGetDataIOType() const override { return m_kind; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::string GetKindName() const override;
    void CopyTo(OType_DeviceDataIO& other) const override;
    bool bIsAvailable(const ZRINFO& deviceInfo, std::string& reason) const override;

  protected:
    void EncodePayload(OByteStream& stream) const override;
    bool bDecodePayload(OByteStream& stream) override;

  private:
    int m_kind;
    std::vector<uint8_t> m_payload;
};

class OType_DeviceDataIOArray {
  public:
    static constexpr uint32_t kMaxOutputs = 256;

    OType_DeviceDataIOArray() = default;
    OType_DeviceDataIOArray(const OType_DeviceDataIOArray& other) { CopyFrom(other); }
    OType_DeviceDataIOArray& operator=(const OType_DeviceDataIOArray& other);

    int iGetNum() const { return static_cast<int>(m_outputs.size()); }
    OType_DeviceDataIO* opGetAt(int i) const;
    int iGetPos(const OType_DeviceDataIO* output) const;
    // Number of outputs of a kind.
    int iCountKind(int kind) const;

    // Inserts at index i (clamped) with a fresh id when needed; returns the inserted output.
    OType_DeviceDataIO* Insert(int i, std::unique_ptr<OType_DeviceDataIO> output);
    OType_DeviceDataIO* Add(std::unique_ptr<OType_DeviceDataIO> output) {
        return Insert(iGetNum(), std::move(output));
    }
    void RemoveAt(int i);
    void RemoveAll();
    void Swap(int a, int b);

    // The selected output, -1 when none.
    int iGetSelected() const { return m_selected; }
    void SetSelected(int i) { m_selected = (i >= 0 && i < iGetNum()) ? i : -1; }

    // Packet identifiers and names must be unique within the list.
    bool bIsPacketIdUsed(int id, const OType_DeviceDataIO* except = nullptr) const;
    bool bIsPacketNameUsed(const std::string& name,
                           const OType_DeviceDataIO* except = nullptr) const;
    // Smallest identifier from 1 that no output uses.
    int iFirstFreePacketId() const;
    // `base` or "base_2", "base_3"... whichever no output uses.
    std::string FirstFreePacketName(const std::string& base) const;

    // Lets every output rebuild its feature index table.
    void Update_LUT_FeatureIndexLists(const OType_ZRPartSet& partSet);

    int iEncode(OByteStream& stream) const;
    int iDecode(OByteStream& stream, const ODataOutputPrototypes& prototypes);
    static std::unique_ptr<OType_DeviceDataIO> opCreateFromStream(
        OByteStream& stream, const ODataOutputPrototypes& prototypes);

    std::vector<std::unique_ptr<OType_DeviceDataIO>>::const_iterator begin() const {
        return m_outputs.begin();
    }
    std::vector<std::unique_ptr<OType_DeviceDataIO>>::const_iterator end() const {
        return m_outputs.end();
    }

  private:
    void CopyFrom(const OType_DeviceDataIOArray& other);
    bool bIsIdUsed(int id) const;
    int NextFreeId();

    std::vector<std::unique_ptr<OType_DeviceDataIO>> m_outputs;
    int m_selected = -1;
    int m_nextId = 1;
    std::vector<uint8_t> m_trailer;  // unknown bytes of a newer encoding, written back unchanged
};

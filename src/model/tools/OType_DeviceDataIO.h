// The base of every data output of a part set (family 2: results sent to other systems).
// The concrete kinds come from the tool libraries and are created from registered prototypes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/tools/OPropertyList.h"

class OByteStream;
class OType_Part;
class OType_ZRPartSet;
class ZRINFO;

class OType_DeviceDataIO {
  public:
    OType_DeviceDataIO() = default;
    OType_DeviceDataIO(const OType_DeviceDataIO&) = delete;
    OType_DeviceDataIO& operator=(const OType_DeviceDataIO&) = delete;
    virtual ~OType_DeviceDataIO() = default;

    // Kind 1..7 (Part Detector, EtherNet/IP, Data Collection, XML, WebViewer, Viewer, FTP).
    virtual int iGetDataIOType() const = 0;
    virtual std::unique_ptr<OType_DeviceDataIO> CreateNew() const = 0;
    // The kind's menu text, e.g. "Telnet - XML".
    virtual std::string GetKindName() const = 0;
    std::unique_ptr<OType_DeviceDataIO> Clone() const;
    virtual void CopyTo(OType_DeviceDataIO& other) const;

    // Whether the kind runs on the device; `reason` explains a refusal.
    virtual bool bIsAvailable(const ZRINFO& deviceInfo, std::string& reason) const;
    // How many instances of the kind the device allows.
    virtual int iGetMaxInstances(const ZRINFO& deviceInfo) const;

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // Packet name ("" when the kind has none) and packet identifier (-1 when none).
    const std::string& GetPacketName() const { return m_packetName; }
    void SetPacketName(std::string name) { m_packetName = std::move(name); }
    int iGetPacketId() const { return m_packetId; }
    void SetPacketId(int id) { m_packetId = id; }
    int iGetDataIOId() const { return m_dataIOId; }
    void SetDataIOId(int id) { m_dataIOId = id; }
    bool iGetModifiedFlag() const { return m_modified; }
    void SetModifiedFlag(bool modified) { m_modified = modified; }

    virtual int iCheckPropertyCompatibility(const ZRINFO& deviceInfo, std::string& text) const;
    virtual int iAdjustPropertyCompatibility(const ZRINFO& deviceInfo);
    // Initialises a new data output for the part set (defaults that depend on its tools).
    virtual int iInitForPartSet(OType_ZRPartSet& partSet, bool withDefaults);

    // Bracket of an extraction run, and the per-part result.
    virtual int iBeginExtraction(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo);
    virtual int iEndExtraction(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo);
    // The bytes this output would send for a part (registered in the part's result list).
    virtual std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                               const OType_Part& part) const;
    virtual void TeachPart(OType_ZRPartSet& partSet);
    virtual void iStopTeach(OType_ZRPartSet& partSet);
    virtual void iStopTest(OType_ZRPartSet& partSet);
    // Rebuilds the table that maps the output's fields to feature indices.
    virtual void UpdateFeatureIndexList(const OType_ZRPartSet& partSet);

    // --- properties as data (property pages) ---
    // What a user may edit; the base lists "name", "packet.name" (when the kind has packet
    // names) and "packet.id" (when it has identifiers) on page "General". Kinds append theirs.
    virtual OPropertyList DescribeProperties(const OPropertyContext& context) const;
    // Checks every value, then applies all of them; a refusal changes nothing.
    bool bApplyProperties(const OPropertyValues& values, const OPropertyContext& context,
                          std::string& error);

    int iEncode(OByteStream& stream) const;
    int iDecodeInto(OByteStream& stream);

  protected:
    virtual bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                                  std::string& error) const;
    virtual void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context);

    virtual void EncodePayload(OByteStream& stream) const = 0;
    virtual bool bDecodePayload(OByteStream& stream) = 0;

  private:
    int m_dataIOId = -1;
    std::string m_name;
    std::string m_packetName;
    int m_packetId = -1;
    bool m_modified = true;
    std::vector<uint8_t> m_trailer;
};

// A command package: a download command name (used when sending), an upload command name
// (used when receiving), a 32-bit number and the data. Device commands are eight
// characters beginning with "$". A package may carry one piece of a longer byte sequence
// (offset and total), which the device joins in order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OQuillonComInterface;

class OType_ComPackage {
  public:
    static constexpr size_t kNameLength = 8;
    // Largest piece iInitPackageFromSend takes from a byte sequence.
    static constexpr size_t kMaxPiece = 1u << 20;

    // action 1: an action package (the answer carries only a result); acknowledged: the
    // acknowledgement flag that travels with the package (the link always waits for the
    // device's answer); version: package layout (only 1 is sent); sendSize > 0: the data
    // sent must have exactly this many bytes.
    OType_ComPackage(int action, int acknowledged, int version, int sendSize);

    void SetDownloadName(std::string_view name) { m_download = std::string(name); }
    void SetUploadName(std::string_view name) { m_upload = std::string(name); }
    void SetNames(std::string_view download, std::string_view upload);
    const std::string& GetDownloadName() const { return m_download; }
    const std::string& GetUploadName() const { return m_upload; }
    void SetNumber(uint32_t number) { m_number = number; }
    uint32_t iGetNumber() const { return m_number; }
    bool bIsAction() const { return m_action; }
    uint64_t iGetOffset() const { return m_offset; }
    uint64_t iGetTotal() const { return m_total; }

    // The data to send; 0 when it does not fit the package's send size.
    int iSetData(std::span<const uint8_t> data);
    int iSetData(std::vector<uint8_t>&& data);
    // Copies the data (received by the last receive, else the data to send) into out;
    // returns its size.
    int iGetData(std::vector<uint8_t>& out) const;
    const std::vector<uint8_t>& Data() const { return m_hasReceived ? m_received : m_data; }

    // Takes up to kMaxPiece bytes of `bytes` from `offset` as the package's data; returns
    // how many it took.
    size_t iInitPackageFromSend(std::span<const uint8_t> bytes, size_t offset);

    // Exchanges: 1 on success, else the link's result code.
    int iSendActionPackage(OQuillonComInterface& link);
    int iSendDataPackage(OQuillonComInterface& link);
    // Receives the data stored under the upload name and number.
    int iReceiveDataPackage(OQuillonComInterface& link);
    // Sends the data under the upload name and receives the answer's data, of any size.
    int iReceiveDynamicPackage2(OQuillonComInterface& link);

    // The package's wire form, and reading one back (the device's side). iSetPackageFromReceive
    // returns 0 on malformed input and leaves the package unchanged.
    int iGetSendPackage(std::vector<uint8_t>& wire) const;
    int iSetPackageFromReceive(std::span<const uint8_t> wire);

    // A name is valid when it has eight printable characters and begins with "$".
    static bool bIsValidName(std::string_view name);

  private:
    int iExchange(OQuillonComInterface& link, uint32_t op, bool takeAnswer);
    bool bNamesFitOp(uint32_t op) const;

    bool m_action;
    bool m_acknowledged;
    int m_version;
    int m_sendSize;
    std::string m_download;
    std::string m_upload;
    uint32_t m_number = 0;
    uint64_t m_offset = 0;
    uint64_t m_total = 0;
    std::vector<uint8_t> m_data;  // to send
    std::vector<uint8_t> m_received;
    bool m_hasReceived = false;
};

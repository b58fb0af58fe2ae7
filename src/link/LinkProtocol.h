// The device link's wire protocol: channels, frame kinds, operation and event codes,
// result codes and limits. docs/link-protocol.md describes the protocol as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace LinkProtocol {

inline constexpr uint8_t kVersion = 1;

// Logical channels. Over TCP each has its own connection (base port + channel); a serial
// line carries all three.
enum Channel : uint8_t {
    kControl = 0,  // login, keep-alive, mode commands, device state
    kParts = 1,    // parts the device sends (diagnostic mode, trigger results)
    kData = 2,     // block and package transfers, lists, test images
};
inline constexpr int kNumChannels = 3;

enum Kind : uint8_t {
    kRequest = 1,
    kAnswer = 2,
    kNotification = 3,
};

// Operation codes of requests.
enum Op : uint32_t {
    kOpLogin = 0x0001,
    kOpLogout = 0x0002,
    kOpSync = 0x0003,
    kOpHello = 0x0004,  // binds a parts or data connection to a login session
    kOpSetDiagMode = 0x0010,
    kOpEwDiag = 0x0011,
    kOpKontur = 0x0012,
    kOpKonzei = 0x0013,
    kOpPartImagesOn = 0x0014,
    kOpPartImagesOff = 0x0015,
    kOpSetTime = 0x0016,
    kOpSetPar = 0x0017,
    kOpUploadZrInfo = 0x0100,
    kOpUploadParame = 0x0101,
    kOpDownloadParame = 0x0102,
    kOpUploadCondat = 0x0103,
    kOpDownloadCondat = 0x0104,
    kOpPackageAction = 0x0110,
    kOpPackageSend = 0x0111,
    kOpPackageReceive = 0x0112,
    kOpProgramList = 0x0120,
    kOpProgramNrList = 0x0121,
    kOpProgramInfo = 0x0122,
    kOpProgramAssign = 0x0123,
    kOpProgramDelete = 0x0124,
    kOpCoordSend = 0x0130,
    kOpCoordReceive = 0x0131,
    kOpCoordCalibrate = 0x0132,
    kOpTestImage = 0x0140,
    kOpTrigger = 0x0141,
};

// Event codes of notifications.
enum Event : uint32_t {
    kEventState = 0x0200,            // control: the device state changed
    kEventProgramsChanged = 0x0201,  // control: stored check programs changed
    kEventPart = 0x0210,             // parts: one part
};

// Origin byte in front of a part notification.
enum PartOrigin : uint8_t {
    kPartStream = 0,     // diagnostic-mode stream
    kPartTrigger = 1,    // answer to a trigger ("$CTRIGGR")
    kPartTestImage = 2,  // result for the test image (iSendTrigger)
};

// Result codes: answers carry one in their code field; the link's operations return them.
namespace Result {
inline constexpr int kOk = 1;
inline constexpr int kTimeOut = 21;          // no answer within the time-out
inline constexpr int kConnectionLost = 22;   // the line broke or the device closed it
inline constexpr int kNotOnline = 23;        // no connection
inline constexpr int kProtocolError = 24;    // malformed, oversized, unknown or truncated
inline constexpr int kDeviceBusy = 25;       // the device is busy and refuses transfers
inline constexpr int kBadArgument = 26;      // the caller's request cannot be sent
inline constexpr int kConnectFailed = 27;    // the device could not be reached
inline constexpr int kCancelled = 28;        // the user cancelled
inline constexpr int kExchangeRunning = 29;  // another exchange holds the link
inline constexpr int kNotSupported = 3855;   // the edition has no such command
inline constexpr int kRefusedInMode = 4369;  // not possible in the device's current mode
inline constexpr int kTransferRejected = 8738;
inline constexpr int kNoRoom = 13107;      // the device's memory cannot take the data
inline constexpr int kNoSuchItem = 17476;  // no such program, slot or part-data number
inline constexpr int kTryAgain = 35202;    // login not possible yet; try again
}  // namespace Result

// Text for a result code, for logs and status lines.
std::string ResultText(int code);

// Frame layout (little-endian):
//   0 u16 magic "KL" | 2 u8 version | 3 u8 kind | 4 u8 channel | 5 u8 flags
//   6 u16 header check (CRC-16 of bytes 0..5 and 8..23)
//   8 u32 code | 12 u32 id | 16 u32 message total | 20 u32 frame length
//   24 payload | [u32 CRC-32 of the payload] | u16 end mark "EK"
inline constexpr size_t kHeaderSize = 24;
inline constexpr size_t kEndMarkSize = 2;
inline constexpr size_t kCrcSize = 4;
inline constexpr uint8_t kMagic0 = 'K';
inline constexpr uint8_t kMagic1 = 'L';
inline constexpr uint8_t kEnd0 = 'E';
inline constexpr uint8_t kEnd1 = 'K';
inline constexpr uint8_t kFlagMore = 0x01;  // further frames of this message follow
inline constexpr uint8_t kFlagCrc = 0x02;   // a CRC-32 of the payload follows it
inline constexpr uint8_t kKnownFlags = kFlagMore | kFlagCrc;

inline constexpr uint32_t kMaxFramePayload = 1u << 20;
inline constexpr uint32_t kMaxMessageSize = 256u << 20;
inline constexpr size_t kMaxPartialMessages = 8;
// Frame sizes senders use: large on TCP, small on serial lines so that a keep-alive is
// never stuck behind a long frame.
inline constexpr uint32_t kTcpFramePayload = 1u << 20;
inline constexpr uint32_t kSerialFramePayload = 4096;

}  // namespace LinkProtocol

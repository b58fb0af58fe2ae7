#include "link/LinkProtocol.h"

namespace LinkProtocol {

std::string ResultText(int code) {
    using namespace Result;
    switch (code) {
        case kOk:
            return "done";
        case kTimeOut:
            return "the device did not answer in time";
        case kConnectionLost:
            return "the connection to the device was lost";
        case kNotOnline:
            return "not connected to a device";
        case kProtocolError:
            return "the device sent a malformed or unexpected message";
        case kDeviceBusy:
            return "the device is busy";
        case kBadArgument:
            return "the request cannot be sent";
        case kConnectFailed:
            return "the device could not be reached";
        case kCancelled:
            return "cancelled";
        case kExchangeRunning:
            return "another transfer is running";
        case kNotSupported:
            return "the device does not support this command";
        case kRefusedInMode:
            return "the command is not possible in the device's current mode";
        case kTransferRejected:
            return "the device rejected the transfer";
        case kNoRoom:
            return "the device has no room for the data";
        case kNoSuchItem:
            return "the device holds no such program or data";
        case kTryAgain:
            return "the device cannot take the login yet; try again";
        default:
            return "error " + std::to_string(code);
    }
}

}  // namespace LinkProtocol

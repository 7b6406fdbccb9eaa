#include "session/statuschange.h"

#include "session/databytes.h"
#include "session/packetreader.h"

namespace StatusChange {

std::optional<QByteArray> statusPayload(int code)
{
    const char *status = nullptr;
    switch (code) {
    case Online:
        status = "20030000";
        break;
    case Occupied:
        status = "20030011";
        break;
    case Invisible:
        status = "20030100";
        break;
    default:
        return std::nullopt;
    }
    // Not the sign-on block: no address, port 25756, type 0, protocol 8, its own stamps.
    const QByteArray directConnection =
        DataForm::HexToBytes("00000000 0000649C 00 0008 5A3C91E7 00000050 00000003"
                             "42BE2E41 42BE2EB1 42BE2E39 0000");
    return PacketWriter()
        .bytes(DataForm::HexToBytes("0001001E00000000001E"))
        .tlv(0x0006, DataForm::HexToBytes(status))
        .tlv(0x0008, DataForm::HexToBytes("0000"))
        .tlv(0x000C, directConnection)
        .data();
}

} // namespace StatusChange

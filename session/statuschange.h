#pragma once

#include <QByteArray>

#include <optional>

// The set-status request (SNAC 1,1E) that abb sends on every signed-on slot.
namespace StatusChange {

enum Code : int {
    Online = 1,
    Occupied = 2,
    Invisible = 3,
};

// The data part of the frame; nullopt for a code other than 1, 2 or 3.
std::optional<QByteArray> statusPayload(int code);

} // namespace StatusChange

#pragma once

#include "session/flap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Bodies (SNAC data, without the SNAC header) of what the session server sends while a
// client signs on. Shaped after real servers' answers; the bot reads none of their
// contents, other clients may.
namespace SignOnReplies {

// 1,3: the families this server offers, more than a client asks for.
QByteArray serverFamilies();
// 1,18: the version of each family.
QByteArray serviceVersions();
// 1,7: five rate classes and their groups of (family, subtype) pairs, as long as a real
// server's reply (the frame is about 870 bytes).
QByteArray rateInformation();
// 1,13: message of the day; real servers send it unasked, more than once.
QByteArray messageOfTheDay(QByteArrayView text);
// 0B,02: the statistics report interval, a SNAC clients do not handle.
QByteArray reportInterval();
// The user-info TLVs that describe a user in 1,F and a sender in 4,7: class, status,
// online time, sign-on time, address. With shortTlvs the status and online time are two
// bytes long, as a lenient real server sends them.
QList<TLVEntry> userInfo(quint32 status, qint64 signOnTime, qint64 now, bool shortTlvs);
// 1,F: the client's own user information.
QByteArray ownInformation(const QString &uin, const QList<TLVEntry> &userInfo);
// 2,3, 3,3, 4,5, 9,3: the limits of location, contact list, messaging and privacy.
QByteArray locationRights();
QByteArray buddyListRights();
QByteArray icbmParameters();
QByteArray privacyRights();
// 15,3 for a 15,2 request: end of offline messages for the offline-messages request,
// an empty directory answer for a meta request. nullopt for a request that cannot be read.
std::optional<QByteArray> metaReply(QByteArrayView requestBody);
// 4,1: delivery failure with an error code (4: recipient not logged in).
QByteArray icbmError(quint16 code);
// 4,C: the acknowledgement a sender asked for with TLV 3.
QByteArray icbmAck(QByteArrayView cookie, quint16 channel, const QString &recipient);

} // namespace SignOnReplies

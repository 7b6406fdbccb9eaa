#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The packets the bot sends while a session server signs it on, each as the data part
// of one FLAP frame (the caller adds the header with the slot's sequence number). All
// but the hello are channel 2.
namespace SignOn {

// The visible list the sign-on sends (SNAC 9,7): one number per line, kept by the
// operator's visible list window.
inline const QString VisibleListPath = QStringLiteral("\\видимый список.txt");

// Channel 1: version 00 00 00 01 and the cookie of the login reply as TLV 6.
QByteArray sessionHello(QByteArrayView authCookie);

// Answer to SNAC 1,3: SNAC 1,17, the service versions.
QByteArray serviceVersions();
// Answer to SNAC 1,18: SNAC 1,6, the rate information request.
QByteArray rateRequest();

// Answers to SNAC 1,7, sent in this order.
QByteArray rateAcknowledge();       // 1,8, rate classes 1 to 5
QByteArray ownInfoRequest();        // 1,E
QByteArray locationRightsRequest(); // 2,2
QByteArray contactRightsRequest();  // 3,2
QByteArray messageParamsRequest();  // 4,4
QByteArray privacyRightsRequest();  // 9,2

// Answers to SNAC 9,3, sent in this order (the post-login actions run after setStatus).
QByteArray setMessageParams(); // 4,2
QByteArray setLocationInfo();  // 2,4, two capabilities
// 9,7: one length-prefixed number per entry; entries are the visible list's numbers.
QByteArray addVisible(const QStringList &numbers);
QByteArray setStatusOnline();                  // 1,1E with the sign-on direct-connection block
QByteArray clientReady();                      // 1,2
QByteArray offlineMessagesRequest(qint32 uin); // 15,2, request id 00 01 00 02
// 15,2 information request n (1, 2, 3) for key.
QByteArray infoRequest(qint32 uin, int n, const QString &key);

// The keys of the three information requests, in order.
QStringList infoKeys();

// The numbers of the visible-list file's text: each non-empty line (blanks around it
// dropped) that is 1 to 15 digits. Other lines are left out.
QStringList visibleNumbers(const QStringList &lines);

} // namespace SignOn

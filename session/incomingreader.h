#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Pure parts of the incoming readers: the layout of SNAC 4,7 and of the user block
// of 1,F, 3,B and 3,C, the text decoding and the last-character filter.
namespace IncomingReader {

inline const QString RefusalText =
    QStringLiteral("Принято не обрабатываемое сообщение. Попробуйте послать коаманду чуть позже.");
inline const QString VersionQuestion = QStringLiteral("!версия");
inline const QString VersionAnswer = QStringLiteral("Версия от 13.11.2008");
// What the reconnect watchdog sends to itself.
inline const QString ProbeText = QStringLiteral(")(/\\Tsting)(|\\Online");

struct Message
{
    QByteArray sender;   // as it stands in the packet; check it with isValidUin()
    QByteArray text;     // the bytes of the last text fragment (0x0101) after its 4-byte header
    quint16 charset = 0; // that fragment's character set
};

// Reads the SNAC data of 4,7: cookie, channel, sender, warning level, TLV count, then
// every TLV to the end; text fragments are looked for inside each TLV 2. nullopt when
// the data cannot even hold the sender.
std::optional<Message> parseMessage(QByteArrayView snacData);

// Charset 2 is UTF-16BE. A charset-0 text that is valid UTF-8 and not plain ASCII is
// UTF-8 (some servers relay texts re-encoded that way). Everything else is Windows-1251.
QString decodeText(QByteArrayView bytes, quint16 charset);

// 1 to 15 ASCII digits: a number that may name a file.
bool isValidUin(QByteArrayView number);

// The last character is a digit, listed punctuation, a blank, or a Latin or Cyrillic
// letter (Ё and ё excluded), letters compared in upper case. Empty text fails.
bool lastCharacterAccepted(QStringView text);

// The number at the start of the user block of 1,F, 3,B and 3,C; nullopt when the
// data is empty or too short for the number its length byte announces.
std::optional<QByteArray> userNumber(QByteArrayView snacData);

} // namespace IncomingReader

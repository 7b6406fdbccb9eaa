// The incoming readers: the message SNAC 4,7 (cookie, sender, TLV list, text fragments),
// the user block of 1,F, 3,B and 3,C, the text decoding and the checks on sender and text.

#include "fuzzsupport.h"

#include "session/incomingreader.h"

#include <cstdint>

using Fuzz::require;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(Fuzz::quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    const std::optional<IncomingReader::Message> message = IncomingReader::parseMessage(input);
    if (message) {
        // Cookie, channel, length byte and the sender, then warning level and TLV count.
        require(input.size() >= 8 + 2 + 1 + message->sender.size() + 4);
        require(input.sliced(11).startsWith(message->sender));
        require(message->text.size() <= input.size());
        const QString text = IncomingReader::decodeText(message->text, message->charset);
        (void)IncomingReader::lastCharacterAccepted(text);
        if (IncomingReader::isValidUin(message->sender))
            require(message->sender.size() >= 1 && message->sender.size() <= 15);
    } else {
        require(input.size() < 8 + 2 + 1 + 4 || input.size() < 15 + quint8(input[10]));
    }

    const std::optional<QByteArray> number = IncomingReader::userNumber(input);
    if (number)
        require(input.size() >= 1 + number->size() && number->size() == quint8(input[0]));
    else
        require(input.isEmpty() || input.size() < 1 + quint8(input[0]));

    // Every character set the decoder knows, on the raw bytes.
    for (const quint16 charset : {quint16(0), quint16(2), quint16(3)}) {
        const QString text = IncomingReader::decodeText(input, charset);
        if (charset != 2)
            require(text.size() <= input.size());
        (void)IncomingReader::lastCharacterAccepted(text);
    }
    (void)IncomingReader::isValidUin(input);
    return 0;
}

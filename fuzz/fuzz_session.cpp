// The session handler: frames as a session server sends them, handed to a bot slot's
// dispatch, so every registered SNAC handler (sign-on steps, incoming messages, buddy
// arrivals and departures, meta replies) reads fuzzed bodies, and unknown SNACs, hellos,
// sign-offs and broken frames reach the dispatch too.
//
// Input: a first byte that picks the form, then either a raw stream cut into frames by
// the stream's frame reader, or steps [choice][body length, 2 bytes][body] each of which
// builds one frame.

#include "fuzzsupport.h"

#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "session/flap.h"
#include "session/framereader.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>

using Fuzz::require;

namespace {

struct Key
{
    int family;
    int subtype;
};

// The SNACs the session has a handler for, and two it has none for.
constexpr Key Keys[] = {
    {0x0001, 0x0003}, {0x0001, 0x0018}, {0x0001, 0x0007}, {0x0001, 0x000F}, {0x0009, 0x0003},
    {0x0004, 0x0007}, {0x0003, 0x000B}, {0x0003, 0x000C}, {0x0015, 0x0003}, {0x0013, 0x0006},
    {0x0004, 0x000C},
};
constexpr int KeyCount = int(sizeof(Keys) / sizeof(Keys[0]));

QCoreApplication *g_app = nullptr;
QTemporaryDir *g_home = nullptr;
IcqSession *g_session = nullptr;
int g_messages = 0;
int g_dispatchSlot = 0; // the slot a frame is being dispatched to, 0 between frames

void checkMessage(MessageState &state)
{
    require(IncomingReader::isValidUin(state.SenderUin.toLatin1()));
    require(state.SenderUin.size() >= 1 && state.SenderUin.size() <= 15);
    require(!state.MessageText.isEmpty());
    require(IncomingReader::lastCharacterAccepted(state.MessageText));
    require(state.slot >= 1 && state.slot <= IcqSession::MaxSlot);
    // A message belongs to the slot whose frame brought it.
    require(g_dispatchSlot == 0 || state.slot == g_dispatchSlot);
    ++g_messages;
}

QByteArray snacFrame(int family, int subtype, quint8 flag0, QByteArrayView body)
{
    FLAP frame;
    frame.FLAP_Create(ChannelSnac, 1);
    frame.FLAP_AppendSNAC(family, subtype, flag0, 0, QByteArrayView("\0\0\0\0", 4));
    frame.AppendData(body.first(std::min<qsizetype>(body.size(), 0xFFFF - 10)));
    return frame.FLAP_Send();
}

QByteArray channelFrame(quint8 channel, QByteArrayView body)
{
    FLAP frame;
    frame.FLAP_Create(channel, 1);
    frame.AppendData(body.first(std::min<qsizetype>(body.size(), 0xFFFF)));
    return frame.FLAP_Send();
}

void dispatch(int slot, QByteArrayView frame)
{
    g_dispatchSlot = slot;
    g_session->dispatchFrame(slot, frame);
    g_dispatchSlot = 0;
}

void runSteps(Fuzz::Cursor &cursor)
{
    while (!cursor.atEnd()) {
        const quint8 choice = cursor.u8();
        const int slot = 1 + (choice >> 5) % 3;
        const int kind = choice & 0x1F;
        const QByteArrayView body = cursor.piece16();
        if (kind < KeyCount) {
            const Key key = Keys[kind];
            dispatch(slot, snacFrame(key.family, key.subtype, 0, body));
        } else if (kind == KeyCount) {
            dispatch(slot, channelFrame(ChannelSignOn, QByteArrayView("\0\0\0\1", 4)));
        } else if (kind == KeyCount + 1) {
            dispatch(slot, channelFrame(ChannelSignOn, body));
        } else if (kind == KeyCount + 2) {
            dispatch(slot, channelFrame(ChannelSignOff, body));
        } else if (kind == KeyCount + 3) {
            // Any family and subtype, any flags: the first bytes of the body choose them.
            Fuzz::Cursor head(body);
            const int family = head.u16();
            const int subtype = head.u16();
            const quint8 flag0 = head.u8();
            dispatch(slot, snacFrame(family, subtype, flag0, head.rest()));
        } else if (kind == KeyCount + 4) {
            dispatch(slot, channelFrame(quint8(body.isEmpty() ? 5 : body[0]), body));
        } else {
            // Whatever bytes, as if a frame: cut, unmarked, too long or too short.
            dispatch(slot, body);
        }
    }
}

void runStream(QByteArrayView stream)
{
    FrameReader reader;
    const QList<QByteArray> frames = reader.feed(stream);
    for (const QByteArray &frame : frames)
        dispatch(1, frame);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(Fuzz::quiet);
    g_app = new QCoreApplication(*argc, *argv);
    // The visible list the sign-on reads and anything a handler writes stay in here.
    g_home = new QTemporaryDir();
    ProgramFolder::setHome(g_home->path());
    TextFile::writeLines(QStringLiteral("\\видимый список.txt"),
                         {QStringLiteral("123456"), QStringLiteral("12x"), QString()});
    g_session = new IcqSession();
    g_session->setMainUin(123456);
    g_session->setMessageHooks({.checkBans =
                                    [](MessageState &state) {
                                        checkMessage(state);
                                        return StageOutcome::Continue;
                                    },
                                .distribute = [](MessageState &) { return StageOutcome::Continue; },
                                .logMessage = {},
                                .processMessage =
                                    [](MessageState &state) {
                                        require(!state.SenderBanned);
                                        return StageOutcome::Stop;
                                    }});
    g_session->setPostLoginHook([](int slot) { require(slot >= 1 && slot <= 3); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::Cursor cursor(input);
    if (cursor.u8() & 0x80)
        runStream(cursor.rest());
    else
        runSteps(cursor);
    // Nothing a frame does may leave work for the event loop that breaks later on.
    QCoreApplication::processEvents();
    return 0;
}

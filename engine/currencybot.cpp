#include "engine/currencybot.h"

#include "core/cp1251.h"
#include "core/vbvalues.h"

#include <QTcpSocket>

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

CurrencyBot::CurrencyBot(const WebContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(QuietMs);
    m_deadline.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &CurrencyBot::finish);
    connect(&m_deadline, &QTimer::timeout, this, &CurrencyBot::finish);
}

CurrencyBot::~CurrencyBot()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

bool CurrencyBot::isRequest(const QString &messageText)
{
    return VbValues::upperCase(messageText.left(3)) == QStringLiteral("!КВ");
}

QByteArray CurrencyBot::requestBytes(const QString &host)
{
    const QString text =
        QStringLiteral("GET /js/rbc_b_w.js HTTP/1.1") + CrLf + QStringLiteral("Host: ") + host + CrLf +
        QStringLiteral("Accept-Language: ru") + CrLf +
        QStringLiteral("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)") + CrLf +
        QStringLiteral("Connection: Keep -Alive") + CrLf + CrLf;
    return Cp1251::encode(text);
}

std::optional<QString> CurrencyBot::ratesText(const QString &reply)
{
    QString text = reply;
    const qsizetype lineEnd = text.indexOf(CrLf);
    const QString statusLine = lineEnd < 0 ? text : text.left(lineEnd);
    if (statusLine.left(15) == QLatin1String("HTTP/1.1 200 OK")) {
        const qsizetype bodyAt = text.indexOf(CrLf + CrLf);
        text = bodyAt < 0 ? QString() : text.mid(bodyAt + 4);
    }

    const qsizetype marker = text.indexOf(Marker);
    if (marker < 0)
        return std::nullopt;
    const QString kept = text.mid(marker + 23);
    const qsizetype dollarEnd = kept.indexOf(QStringLiteral("\","));
    if (dollarEnd < 0)
        return std::nullopt;
    const qsizetype euroLead = kept.indexOf(QStringLiteral("  \""));
    if (euroLead < 0)
        return std::nullopt;
    const qsizetype euroEnd = kept.indexOf(QStringLiteral("\","), euroLead + 2);
    if (euroEnd < euroLead + 3)
        return std::nullopt;
    return QStringLiteral("Курс доллара: ") + kept.left(dollarEnd) + CrLf + QStringLiteral("Курс евро: ") +
           kept.mid(euroLead + 3, euroEnd - (euroLead + 3)) + CrLf;
}

StageOutcome CurrencyBot::HandleCurrencyRequest(MessageState &state)
{
    if (!isRequest(state.MessageText))
        return StageOutcome::Continue;
    if (!SubBotSwitch(SwitchPath).isOn()) {
        send(state.slot, state.SenderUin, OffText);
        return StageOutcome::Stop;
    }
    const std::optional<QString> hostValue = Addresses::value(WebAddresses::CurrencyHost);
    const QString host = hostValue.value_or(QString()).trimmed();
    quint16 port = DefaultPort;
    if (const std::optional<QString> portValue = Addresses::value(WebAddresses::CurrencyPort)) {
        bool ok = false;
        port = portValue->trimmed().toUShort(&ok);
        if (!ok || port == 0)
            port = 0;
    }
    if (host.isEmpty() || port == 0) {
        send(state.slot, state.SenderUin, UnavailableText);
        return StageOutcome::Stop;
    }

    for (const Requester &requester : std::as_const(m_requesters)) {
        if (requester.slot == state.slot && requester.uin == state.SenderUin)
            return StageOutcome::Stop;
    }
    m_requesters.append({state.slot, state.SenderUin});
    if (!m_socket)
        start(host, port);
    return StageOutcome::Stop;
}

void CurrencyBot::start(const QString &host, quint16 port)
{
    m_host = host;
    m_buffer.clear();
    auto *socket = new QTcpSocket(this);
    m_socket = socket;
    connect(socket, &QTcpSocket::connected, this, [this, socket] { socket->write(requestBytes(m_host)); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        m_buffer += socket->readAll();
        if (m_buffer.size() > MaxReplyBytes) {
            finish();
            return;
        }
        m_quiet.start();
    });
    // A server that closes after its reply needs no quiet second; one that fails
    // before sending anything is answered at once.
    connect(socket, &QTcpSocket::disconnected, this, &CurrencyBot::finish);
    connect(socket, &QTcpSocket::errorOccurred, this, [this] { finish(); });
    m_deadline.start(m_context.timeoutMs);
    socket->connectToHost(host, port);
}

void CurrencyBot::finish()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    m_quiet.stop();
    m_deadline.stop();

    const std::optional<QString> rates = ratesText(Cp1251::decode(m_buffer));
    m_buffer.clear();
    answerAll(rates.value_or(FailedText));
}

void CurrencyBot::answerAll(const QString &text)
{
    const QList<Requester> requesters = std::exchange(m_requesters, {});
    for (const Requester &requester : requesters)
        send(requester.slot, requester.uin, text);
}

void CurrencyBot::send(int slot, const QString &uin, const QString &text)
{
    if (m_context.send)
        m_context.send(slot, text, uin);
}

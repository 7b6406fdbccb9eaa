// The data files an operator edits by hand or copies from elsewhere, as text: the
// decoding of their bytes, the line split, "Key=Value" settings, ":^:" lists, the
// command base, and the lines of the distribution and activity lists.
//
// Input: a byte (unused here, the distribution target's choices), then three texts, two
// with a 2-byte length before them, the last to the end. Each goes through every parser.

#include "fuzzsupport.h"

#include "commands/commandbase.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/generalsettings.h"
#include "core/keyvaluefile.h"
#include "core/listfile.h"
#include "core/vbvalues.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"


#include <cmath>
#include <cstdint>

using Fuzz::require;

namespace {

const QString NewBody = QStringLiteral("новый ответ");

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

void fuzzSettings(const QString &text, const QStringList &lines)
{
    KeyValueFile::Pairs pairs;
    for (const QString &line : lines) {
        const std::optional<QString> key = KeyValueFile::keyOf(line);
        if (!key)
            continue;
        require(!key->contains(QLatin1Char('=')));
        const std::optional<QString> value = KeyValueFile::lookup(text, *key);
        require(value.has_value());
        const std::optional<QString> flag = GeneralSettings::LookupInText(text, *key, GeneralSettings::LookupKind::Flag);
        require(flag && *flag == value->left(1));
        if (pairs.size() < 4)
            pairs.append({*key, QStringLiteral("v%1").arg(pairs.size())});
    }
    pairs.append({QStringLiteral("AI"), QStringLiteral("1")});

    const QString merged = KeyValueFile::merged(text, pairs);
    require(merged.endsWith(QLatin1String("\r\n")));
    require(KeyValueFile::merged(merged, pairs) == merged);
    QStringList seen;
    for (const auto &[key, value] : pairs) {
        if (seen.contains(key))
            continue;
        seen.append(key);
        require(KeyValueFile::lookup(merged, key) == value);
    }
    // Every other setting keeps its value.
    for (const QString &line : lines) {
        const std::optional<QString> key = KeyValueFile::keyOf(line);
        if (key && !seen.contains(*key))
            require(KeyValueFile::lookup(merged, *key) == KeyValueFile::lookup(text, *key));
    }
}

// Numbers as the data files hold them ("1", " 1 ", "1,5", "2.5e-2").
void fuzzNumber(const QString &line)
{
    const std::optional<double> number = VbValues::toNumber(line);
    require(number.has_value() == VbValues::isNumber(line));
    qint32 long32 = 7;
    qint16 int16 = 7;
    quint8 byte = 7;
    const bool isLong = VbValues::toInt32(line, long32);
    const bool isInt = VbValues::toInt16(line, int16);
    const bool isByte = VbValues::toByte(line, byte);
    if (!number) {
        require(!isLong && !isInt && !isByte && long32 == 7 && int16 == 7 && byte == 7);
        return;
    }
    if (isByte)
        require(isInt && int16 == byte);
    if (isInt)
        require(isLong && long32 == int16);
    if (!std::isfinite(*number)) {
        require(!isLong && VbValues::numberText(*number).isEmpty());
        return;
    }
    // What is written reads back as a number.
    const QString text = VbValues::numberText(*number);
    require(VbValues::isNumber(text));
    require(VbValues::isNumber(VbValues::printForm(*number)));
    (void)VbValues::roundHalfEven(*number);
}

void fuzzListLine(const QString &line)
{
    const QStringList all = ListFile::split(line);
    require(ListFile::join(all) == line);
    for (int count = 0; count <= 4; ++count) {
        const std::optional<QStringList> fields = ListFile::fields(line, count);
        if (!fields) {
            require(count < 1 || all.size() < count);
            continue;
        }
        require(fields->size() == count && ListFile::join(*fields) == line);
        for (int k = -1; k <= count; ++k) {
            const std::optional<QString> field = ListFile::field(line, k, count);
            require(field.has_value() == (k >= 0 && k < count));
            if (field)
                require(*field == fields->at(k));
        }
    }
    if (const std::optional<QString> uin = ListFile::uinOf(line))
        require(!uin->contains(QLatin1Char(' ')) && line.startsWith(*uin + QLatin1Char(' ')));

    if (const std::optional<DistributionList::Entry> entry = DistributionList::parseLine(line)) {
        require(entry->index >= 2 && entry->index <= IcqSession::MaxSlot);
        require(IncomingReader::isValidUin(entry->number.toLatin1()) && entry->number.size() <= 10);
        require(!entry->password.isEmpty() && entry->count >= 0);
    }
    fuzzNumber(line);
    if (const std::optional<QDateTime> when = DateTexts::parseDateTime(line))
        require(when->isValid());
    (void)DateTexts::parseDate(line);
    (void)DateTexts::parseTime(line);
}

void fuzzCommandBase(const QString &text)
{
    const QList<CommandBase::RecordSpan> spans = CommandBase::records(text);
    qsizetype after = 0;
    QStringList names;
    for (const CommandBase::RecordSpan &span : spans) {
        require(span.head >= after);
        require(QStringView(text).mid(span.head).startsWith(CommandBase::HeadPrefix));
        require(span.bodyStart <= span.bodyEnd && span.bodyEnd <= text.size());
        require(QStringView(text).mid(span.bodyEnd).startsWith(CommandBase::Terminator));
        after = span.bodyEnd + CommandBase::Terminator.size();

        const QString body = CommandBase::bodyOf(text, span);
        (void)CommandBase::kindOf(body);
        for (int n = 0; n <= 3; ++n)
            (void)CommandBase::bodyLine(body, n);
        if (names.contains(span.name))
            continue;
        names.append(span.name);

        // The first record of a name is the one found, in either letter case.
        const std::optional<CommandBase::RecordSpan> found = CommandBase::find(text, span.name);
        require(found && found->head == span.head);
        require(CommandBase::findBody(text, span.name) == body);
        require(CommandBase::find(text, span.name, true).has_value());

        const std::optional<QString> changed = CommandBase::changeRecord(text, span.name, NewBody);
        require(changed && CommandBase::findBody(*changed, span.name) == NewBody);
        const std::optional<QString> rest = CommandBase::removeRecord(text, span.name);
        require(rest && rest->size() < text.size() + 2);
    }
    if (spans.isEmpty()) {
        require(!CommandBase::changeRecord(text, QStringLiteral("x"), NewBody));
        require(!CommandBase::removeRecord(text, QStringLiteral("x")));
    }

    // A new record on a file that ends cleanly is found with its body.
    const QString name = QStringLiteral("!новая");
    if (!CommandBase::find(text, name) && (text.isEmpty() || text.endsWith(QLatin1String("====\r\n"))) &&
        CommandBase::records(text).size() == text.count(CommandBase::HeadPrefix))
        require(CommandBase::findBody(CommandBase::addRecord(text, name, NewBody), name) == NewBody);
}

void fuzzText(QByteArrayView bytes)
{
    const QByteArray raw = bytes.toByteArray();
    // Every byte value survives a read and a write of a Windows-1251 file.
    require(Cp1251::encode(Cp1251::decode(raw)) == raw);
    bool converted = false;
    const QString text = Storage::decode(raw, &converted);
    if (!converted)
        require(Cp1251::encode(text) == raw);
    const QStringList lines = TextFile::splitLines(text);
    for (const QString &line : lines) {
        require(!hasLineBreak(line));
        fuzzListLine(line);
    }
    fuzzSettings(text, lines);
    fuzzCommandBase(text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(Fuzz::quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::Cursor cursor(input);
    cursor.u8();
    const QByteArrayView first = cursor.piece16();
    const QByteArrayView second = cursor.piece16();
    const QByteArrayView third = cursor.rest();
    for (const QByteArrayView text : {first, second, third})
        fuzzText(text);
    return 0;
}

#include "settings/featuresetups.h"

#include "files/notepadfiles.h"
#include "files/redirectfile.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

// --- redirect ------------------------------------------------------------------------

void RedirectSetup::load()
{
    const RedirectFile::Contents file = RedirectFile::read();
    target = file.target;
    answersToo = file.answersToo();
}

TextFile::Result RedirectSetup::save() const
{
    return RedirectFile::write(target, answersToo);
}

// --- notepad -------------------------------------------------------------------------

bool NotepadSetup::isOn()
{
    return NotepadFiles::isOn();
}

TextFile::Result NotepadSetup::setOn(bool on)
{
    return NotepadFiles::setOn(on);
}

QStringList NotepadSetup::owners()
{
    return NotepadFiles::owners();
}

std::optional<QString> NotepadSetup::note(const QString &uin)
{
    const QString path = NotepadFiles::notePath(uin);
    if (path.isEmpty() || TextFile::readState(path) != TextFile::ReadState::Readable)
        return std::nullopt;
    return TextFile::readAll(path);
}

// --- administrator contact -----------------------------------------------------------

void AdminContactSetup::load()
{
    contents = AdminContactFile::read();
}

TextFile::Result AdminContactSetup::save() const
{
    return AdminContactFile::write(contents);
}

// --- anti-spam -----------------------------------------------------------------------

void AntiSpamSetup::load()
{
    const QString text = TextFile::readAll(AntiSpamFile::FilePath);
    contents = text.isEmpty() ? AntiSpamFile::defaults() : AntiSpamFile::parse(text);
}

AntiSpamSetup::Result AntiSpamSetup::save() const
{
    if (AntiSpamFile::unstorable(contents.question) || AntiSpamFile::unstorable(contents.answer) ||
        AntiSpamFile::unstorable(contents.success))
        return {Outcome::Unstorable, {}};
    const TextFile::Result written = AntiSpamFile::write(contents);
    if (!written)
        return {Outcome::WriteFailed, written.error};
    return {};
}

// --- signature -----------------------------------------------------------------------

void SignatureSetup::load()
{
    const SignatureFile::Contents file = SignatureFile::read();
    on = file.on;
    separator = file.separator;
    signatureText = file.signatureText();
}

SignatureSetup::Result SignatureSetup::save() const
{
    if (!on) {
        if (!SignatureFile::remove())
            return {Outcome::WriteFailed, QStringLiteral("файл не удалось удалить")};
        return {Outcome::Removed, {}};
    }
    if (signatureText.isEmpty())
        return {Outcome::NoSignature, {}};
    const TextFile::Result written = SignatureFile::write(separator, signatureText);
    if (!written)
        return {Outcome::WriteFailed, written.error};
    return {};
}

// --- vote ----------------------------------------------------------------------------

void VoteSetup::load()
{
    const std::optional<VoteFile::Definition> vote = VoteFile::read();
    running = vote.has_value();
    if (!vote)
        return;
    question = vote->question;
    options = vote->options;
}

VoteSetup::Result VoteSetup::apply()
{
    bool unstorable = VoteFile::unstorable(question);
    for (const QString &option : options)
        unstorable = unstorable || VoteFile::unstorable(option);
    if (unstorable)
        return {Outcome::Unstorable, {}};
    const TextFile::Result written = VoteFile::write(question, options);
    if (!written)
        return {Outcome::WriteFailed, written.error};
    running = true;
    return {};
}

QString VoteSetup::resultsText()
{
    QString text = QStringLiteral("Результаты голосваний:") + CrLf;
    for (const VoteFile::Count &count : VoteFile::results())
        text += CrLf + count.option + QStringLiteral(": ") + QString::number(count.votes);
    return text;
}

void VoteSetup::end()
{
    VoteFile::remove();
    question.clear();
    options.clear();
}

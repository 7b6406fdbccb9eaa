#include "settings/infotexts.h"

#include "core/textfile.h"

namespace InfoTexts {

std::optional<QString> helpText()
{
    if (TextFile::readState(HelpPath) != TextFile::ReadState::Readable)
        return std::nullopt;
    return TextFile::readAll(HelpPath);
}

QString takeNews()
{
    const QString news = TextFile::readAll(AllNewsPath);
    TextFile::remove(NewsDownloadPath);
    return lineBreaks(news);
}

QString lineBreaks(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

} // namespace InfoTexts

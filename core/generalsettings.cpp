#include "core/generalsettings.h"

namespace GeneralSettings {

TextFile::Result MergeSettings(const Pairs &pairs)
{
    TextFile::ensureFolder(FolderPath);
    return KeyValueFile::merge(FilePath, pairs, TextFile::Option::OwnerOnly);
}

QString ReadText()
{
    return TextFile::readAll(FilePath);
}

std::optional<QString> LookupByLine(const QString &key)
{
    return KeyValueFile::lookup(ReadText(), key);
}

std::optional<QString> LookupByLine(const QString &text, const QString &key)
{
    return KeyValueFile::lookup(text, key);
}

std::optional<QString> LookupInText(const QString &key, LookupKind kind)
{
    return LookupInText(ReadText(), key, kind);
}

std::optional<QString> LookupInText(const QString &text, const QString &key, LookupKind kind)
{
    auto value = KeyValueFile::lookup(text, key);
    if (value && kind == LookupKind::Flag)
        value->truncate(1);
    return value;
}

} // namespace GeneralSettings

namespace Addresses {

std::optional<QString> value(const QString &key)
{
    auto found = KeyValueFile::lookup(TextFile::readAll(FilePath), key);
    if (found && found->isEmpty())
        return std::nullopt;
    return found;
}

TextFile::Result setValues(const KeyValueFile::Pairs &pairs)
{
    return KeyValueFile::merge(FilePath, pairs);
}

} // namespace Addresses

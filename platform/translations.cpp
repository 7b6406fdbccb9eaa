#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installRussianTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qWarning("Qt's Russian translations are missing (package qt6-translations-l10n)");
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool useRussianLocale()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return installRussianTranslations();
}

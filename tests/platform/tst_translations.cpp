// The standard buttons of boxes speak Russian whatever the machine's locale.
#include "platform/translations.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsInRussian();
};

void tst_Translations::standardButtonsInRussian()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(installRussianTranslations());
    QMessageBox box(QMessageBox::Question, QStringLiteral("Вопрос"), QStringLiteral("Текст"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Да"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Нет"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Отмена"));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"

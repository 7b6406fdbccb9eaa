// The standard buttons of boxes speak Russian whatever the machine's locale.
#include "platform/translations.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsInRussian();
    void calendarInRussian();
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

void tst_Translations::calendarInRussian()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(useRussianLocale());
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QCalendarWidget calendar;
    calendar.setSelectedDate(QDate(2024, 12, 5));
    calendar.show();
    const auto *month = calendar.findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(month);
    QCOMPARE(month->text(), russian.standaloneMonthName(12));
    // The header row of the days: Monday first, in Russian.
    const auto *days = calendar.findChild<QAbstractItemView *>(QStringLiteral("qt_calendar_calendarview"));
    QVERIFY(days);
    QCOMPARE(days->model()->index(0, 1).data().toString(), russian.standaloneDayName(1, QLocale::ShortFormat));
    QVERIFY(!month->text().contains(QLatin1String("Dec")));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"

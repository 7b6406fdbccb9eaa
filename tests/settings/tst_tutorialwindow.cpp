// The tutorial window, opened from the menu and walked through with its buttons: each
// step's text, the windows it opens and hides, and the marker written at the end.
#include "infowindowsfixture.h"

#include "settings/tutorial_window.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QByteArray Missing = "<missing>";
const QString Marker = QStringLiteral("Обучение.txt");
const QStringList Watched = {"Form1", "Form9", "Form11", "Form12", "Form14", "fMain"};
} // namespace

class tst_TutorialWindow : public InfoWindowsFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { tearDown(); }

    void opensAtTheWelcome();
    void nextWalksThroughTheWindows_data();
    void nextWalksThroughTheWindows();
    void lastStepWritesTheMarkerAndHides_data();
    void lastStepWritesTheMarkerAndHides();
    void backRepeatsArrivalAndKeepsLaterWindows();
    void shownAgainStartsOver();
    void reopenedAfterClosingStartsOver();
    void markerFailureIsTold();

private:
    Form26 *openTutorial();
    int visibleLabel(const Form26 *form) const;
    QStringList windowsOnScreen() const;
    void next(Form26 *form, int times = 1);
};

void tst_TutorialWindow::init()
{
    setUp();
    // Windows of other subsystems the steps open, as plain windows of the frame.
    for (const char *name : {"Form12", "Form14", "fMain"})
        m_main->addWindow(QString::fromLatin1(name), QString::fromLatin1(name), WindowHost::Placement::Child);
}

Form26 *tst_TutorialWindow::openTutorial()
{
    return open<Form26>(QStringLiteral("prot_obuc_m"), QStringLiteral("Form26"));
}

int tst_TutorialWindow::visibleLabel(const Form26 *form) const
{
    int found = -1;
    for (int i = 0; i < form->labels.size(); ++i) {
        if (!form->labels.at(i)->isHidden()) {
            if (found >= 0)
                return -2; // more than one
            found = i;
        }
    }
    return found;
}

QStringList tst_TutorialWindow::windowsOnScreen() const
{
    QStringList shown;
    for (const QString &name : Watched) {
        if (onScreen(m_main->findWindow(name)))
            shown.append(name);
    }
    return shown;
}

void tst_TutorialWindow::next(Form26 *form, int times)
{
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(form->Command1, Qt::LeftButton);
}

void tst_TutorialWindow::opensAtTheWelcome()
{
    Form26 *form = openTutorial();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Обучение"));
    QCOMPARE(form->Command1->text(), QStringLiteral("Следующий шаг"));
    QCOMPARE(form->Command2->text(), QStringLiteral("Назад"));
    QVERIFY(!form->Command2->isEnabled());
    QCOMPARE(visibleLabel(form), 0);
    const QStringList headings = {"Добрый день!",
                                  "Настрой программы.",
                                  "Настрой программы.",
                                  "Добавление команды.",
                                  "Добавление команды.",
                                  "Изменение/удаление команды.",
                                  "Добавление/удаление группы.",
                                  "Запуск программы."};
    QCOMPARE(form->labels.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(form->labels.at(i)->objectName(), QStringLiteral("Label%1").arg(i + 1));
        QCOMPARE(form->labels.at(i)->text().section(QLatin1Char('\n'), 0, 0), headings.at(i));
    }
    QVERIFY(form->labels.at(0)->text().contains(QStringLiteral("Помощь.txt")));
    QVERIFY(windowsOnScreen().isEmpty());
}

void tst_TutorialWindow::nextWalksThroughTheWindows_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("onScreen");
    QTest::newRow("1: settings") << 1 << QStringList{"Form1"};
    QTest::newRow("2: more settings") << 2 << QStringList{"Form1"};
    QTest::newRow("3: command manager") << 3 << QStringList{"Form9"};
    QTest::newRow("4: processing methods") << 4 << QStringList{"Form9"};
    QTest::newRow("5: changing commands") << 5 << QStringList{"Form9"};
    QTest::newRow("6: group manager") << 6 << QStringList{"Form11"};
    QTest::newRow("7: log-in") << 7 << QStringList{"fMain"};
}

void tst_TutorialWindow::nextWalksThroughTheWindows()
{
    QFETCH(int, clicks);
    QFETCH(QStringList, onScreen);
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, clicks);
    QCOMPARE(form->tutorial().step(), clicks);
    QCOMPARE(visibleLabel(form), clicks);
    QCOMPARE(windowsOnScreen(), onScreen);
    QVERIFY(form->Command2->isEnabled());
    QVERIFY(this->onScreen(form));
    QCOMPARE(bytes(Marker), Missing);
}

void tst_TutorialWindow::lastStepWritesTheMarkerAndHides_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no marker") << Missing;
    QTest::newRow("declined marker") << QByteArray(" 0 \r\n");
}

void tst_TutorialWindow::lastStepWritesTheMarkerAndHides()
{
    QFETCH(QByteArray, before);
    if (before != Missing)
        QVERIFY(write(Marker, before));
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, 7);
    QCOMPARE(bytes(Marker), before);
    next(form);
    QCOMPARE(bytes(Marker), QByteArray(" 1 \r\n"));
    QVERIFY(!onScreen(form));
    // Hidden, not closed.
    QCOMPARE(window<Form26>(QStringLiteral("Form26")), form);
    QCOMPARE(windowsOnScreen(), QStringList{"fMain"});
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_TutorialWindow::backRepeatsArrivalAndKeepsLaterWindows()
{
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, 4);
    QCOMPARE(windowsOnScreen(), QStringList{"Form9"});

    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(form->tutorial().step(), 3);
    QCOMPARE(visibleLabel(form), 3);
    QCOMPARE(windowsOnScreen(), QStringList{"Form9"});

    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(visibleLabel(form), 2);
    QCOMPARE(windowsOnScreen(), QStringList{"Form9"});

    // Arriving at step 1 shows the settings again; the command manager stays open.
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(visibleLabel(form), 1);
    QCOMPARE(windowsOnScreen(), (QStringList{"Form1", "Form9"}));
    QVERIFY(form->Command2->isEnabled());

    // Step 0 changes neither the text nor the windows, and Back turns itself off.
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(form->tutorial().step(), 0);
    QVERIFY(!form->Command2->isEnabled());
    QCOMPARE(visibleLabel(form), 1);
    QCOMPARE(windowsOnScreen(), (QStringList{"Form1", "Form9"}));

    next(form);
    QCOMPARE(form->tutorial().step(), 1);
    QVERIFY(form->Command2->isEnabled());
}

void tst_TutorialWindow::shownAgainStartsOver()
{
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, 8);
    QVERIFY(!onScreen(form));

    QCOMPARE(openTutorial(), form);
    QVERIFY(onScreen(form));
    QCOMPARE(form->tutorial().step(), 0);
    QCOMPARE(visibleLabel(form), 0);
    QVERIFY(!form->Command2->isEnabled());
    next(form);
    QCOMPARE(visibleLabel(form), 1);
}

void tst_TutorialWindow::reopenedAfterClosingStartsOver()
{
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, 5);
    closeWindow(QStringLiteral("Form26"));
    QCOMPARE(bytes(Marker), Missing);

    form = openTutorial();
    QVERIFY(form);
    QCOMPARE(form->tutorial().step(), 0);
    QCOMPARE(visibleLabel(form), 0);
    QVERIFY(!form->Command2->isEnabled());
}

void tst_TutorialWindow::markerFailureIsTold()
{
    Form26 *form = openTutorial();
    QVERIFY(form);
    next(form, 7);
    {
        FileProbe::NoNewFiles noFiles;
        QVERIFY(noFiles.active());
        next(form);
    }
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Ошибка"));
    QCOMPARE(bytes(Marker), Missing);
    QVERIFY(!onScreen(form));
}

QTEST_MAIN(tst_TutorialWindow)
#include "tst_tutorialwindow.moc"

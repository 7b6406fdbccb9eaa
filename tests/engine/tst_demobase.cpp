// The demo's program folder, prepared by the demo script, answers its greeting however
// the user writes it.
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "engine/answerengine.h"
#include "session/messagestate.h"
#include "support/demohome.h"
#include "support/programhome.h"

#include <QTest>

class tst_DemoBase : public QObject
{
    Q_OBJECT

private slots:
    void greetingInAnyCase_data();
    void greetingInAnyCase();
};

void tst_DemoBase::greetingInAnyCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lower") << QStringLiteral("привет");
    QTest::newRow("capital") << QStringLiteral("Привет");
    QTest::newRow("upper") << QStringLiteral("ПРИВЕТ");
}

void tst_DemoBase::greetingInAnyCase()
{
    QFETCH(QString, text);
    ProgramHome home;
    QVERIFY(home.isValid());
    QByteArray output;
    QVERIFY2(prepareDemoHome(QStringLiteral(KORVANE_SOURCE_DIR), home.path(), output), output.constData());

    NamedTimer timer1(QStringLiteral("Timer1"));
    QStringList answers;
    AnswerEngine engine(timer1, [&answers](int, const QString &txt, const QString &) {
        answers.append(txt);
        return true;
    });
    MessageState message;
    message.SenderUin = QStringLiteral("200001");
    message.MessageText = text;
    message.slot = 2;
    engine.ProcessMessage(message);
    timer1.tick();
    QCOMPARE(answers.size(), 1);
    QVERIFY2(answers.first().startsWith(QStringLiteral("Привет! Я демо-бот")), qPrintable(answers.first()));
}

QTEST_GUILESS_MAIN(tst_DemoBase)
#include "tst_demobase.moc"

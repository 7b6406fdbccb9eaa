#include "platform/recordingwindows.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

class tst_WindowKit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void namedGivesTheObjectName();
    void decorationsAreNamed();
    void frameOfLooseAndFramedWindow();
    void hideInFrameHidesTheFrameOnly();
    void hideWindowByNameAndShowAgain();
    void hideWindowOfUnknownNameDoesNothing();
    void typedShow();
    void recordingWindowsRecordsNames();
    void clickLabelClicks_data();
    void clickLabelClicks();
    void clickLabelLooksLikeALink();
};

void tst_WindowKit::namedGivesTheObjectName()
{
    QWidget parent;
    auto *box = new QLineEdit(&parent);
    QCOMPARE(WindowKit::named(box, "Text1"), box);
    QCOMPARE(parent.findChild<QLineEdit *>(QStringLiteral("Text1")), box);
}

void tst_WindowKit::decorationsAreNamed()
{
    QWidget parent;
    QFrame *shape = WindowKit::shape("Shape1", &parent);
    QFrame *line = WindowKit::line("Line1", &parent);
    QCOMPARE(parent.findChild<QFrame *>(QStringLiteral("Shape1")), shape);
    QCOMPARE(shape->frameShape(), QFrame::StyledPanel);
    QCOMPARE(parent.findChild<QFrame *>(QStringLiteral("Line1")), line);
    QCOMPARE(line->frameShape(), QFrame::HLine);
    QCOMPARE(line->frameShadow(), QFrame::Sunken);
}

void tst_WindowKit::frameOfLooseAndFramedWindow()
{
    QWidget loose;
    QCOMPARE(WindowKit::frameOf(&loose), &loose);
    QMdiArea area;
    auto *window = new QWidget;
    QMdiSubWindow *frame = area.addSubWindow(window);
    QCOMPARE(WindowKit::frameOf(window), frame);
}

void tst_WindowKit::hideInFrameHidesTheFrameOnly()
{
    QMdiArea area;
    auto *window = new QWidget;
    QMdiSubWindow *frame = area.addSubWindow(window);
    area.show();
    frame->show();
    WindowKit::hideInFrame(window);
    QVERIFY(frame->isHidden());
    QVERIFY(!window->isHidden()); // it comes back as it was when the frame shows again
    WindowKit::hideInFrame(nullptr);

    QWidget loose;
    loose.show();
    WindowKit::hideInFrame(&loose);
    QVERIFY(loose.isHidden());
}

void tst_WindowKit::hideWindowByNameAndShowAgain()
{
    RecordingWindows host;
    host.registerFactory(QStringLiteral("Form1"), [](QWidget *parent) { return new QLineEdit(parent); });
    auto *window = host.show<QLineEdit>(QStringLiteral("Form1"));
    QVERIFY(window);
    window->setText(QStringLiteral("kept"));
    host.hideWindow(QStringLiteral("Form1"));
    QVERIFY(window->isHidden());
    QCOMPARE(host.findWindow(QStringLiteral("Form1")), window);
    QCOMPARE(host.show<QLineEdit>(QStringLiteral("Form1")), window);
    QVERIFY(!window->isHidden());
    QCOMPARE(window->text(), QStringLiteral("kept"));
}

void tst_WindowKit::hideWindowOfUnknownNameDoesNothing()
{
    RecordingWindows none;
    none.hideWindow(QStringLiteral("Form1"));
    QVERIFY(none.shown.isEmpty());
}

void tst_WindowKit::typedShow()
{
    RecordingWindows host;
    host.registerFactory(QStringLiteral("Form1"), [](QWidget *parent) { return new QLineEdit(parent); });
    QVERIFY(!host.show<QFrame>(QStringLiteral("Form1"))); // another class
    QVERIFY(host.show<QLineEdit>(QStringLiteral("Form1")));
    QVERIFY(!host.show<QLineEdit>(QStringLiteral("Form2"))); // not listed
}

void tst_WindowKit::recordingWindowsRecordsNames()
{
    RecordingWindows windows;
    QVERIFY(!windows.show<QWidget>(QStringLiteral("Form6")));
    QVERIFY(!windows.showWindow(QStringLiteral("Form30")));
    QCOMPARE(windows.shown, QStringList({QStringLiteral("Form6"), QStringLiteral("Form30")}));
}

void tst_WindowKit::clickLabelClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releasedInside");
    QTest::addColumn<int>("clicks");
    QTest::newRow("left") << Qt::LeftButton << true << 1;
    QTest::newRow("right") << Qt::RightButton << true << 0;
    QTest::newRow("left, released outside") << Qt::LeftButton << false << 0;
}

void tst_WindowKit::clickLabelClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releasedInside);
    QFETCH(int, clicks);
    ClickLabel label(QStringLiteral("Закрыть"));
    label.resize(100, 20);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy clicked(&label, &ClickLabel::clicked);
    QTest::mousePress(&label, button, {}, QPoint(10, 10));
    QTest::mouseRelease(&label, button, {}, releasedInside ? QPoint(10, 10) : QPoint(150, 10));
    QCOMPARE(clicked.count(), clicks);
}

void tst_WindowKit::clickLabelLooksLikeALink()
{
    ClickLabel label(QStringLiteral("Сайт"));
    QVERIFY(label.font().underline());
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(label.text(), QStringLiteral("Сайт"));
}

QTEST_MAIN(tst_WindowKit)
#include "tst_windowkit.moc"

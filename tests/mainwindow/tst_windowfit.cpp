// Every window as the operator first sees it: opened from the roster at its default size,
// its captions, labels, buttons and check boxes whole, the window no larger than its
// layout asks for, and no English month or day names on screen.
#include "commandwindows/answer_pages_window.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "mainwindow/windowfit.h"
#include "platform/recordingdialogs.h"
#include "platform/translations.h"
#include "settings/tutorial_window.h"
#include "recordwindows/automailing_window.h"
#include "recordwindows/day_chart.h"
#include "recordwindows/statistics_windows.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace {

// Anything wider or taller than this much of its layout's wish is an oversized window.
constexpr double Slack = 1.5;

QString stripMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The widest line of a plain text in the widget's own font.
int textWidth(const QWidget *widget, const QString &text)
{
    int widest = 0;
    const QFontMetrics metrics = widget->fontMetrics();
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// What a control shows, and the room it has for it; empty need for nothing to check.
struct Fit
{
    QString text;
    int need = 0;
    int room = 0;
};

Fit labelFit(const QLabel *label)
{
    Fit fit;
    fit.text = label->text();
    if (fit.text.isEmpty() || label->wordWrap())
        return fit;
    const int margins = 2 * label->margin() + std::max(label->indent(), 0);
    fit.room = label->contentsRect().width() - margins;
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(fit.text));
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(fit.text);
        fit.need = int(std::ceil(document.idealWidth()));
    } else {
        fit.need = textWidth(label, label->buddy() ? stripMnemonic(fit.text) : fit.text);
    }
    return fit;
}

Fit buttonFit(const QAbstractButton *button)
{
    Fit fit;
    fit.text = button->text();
    if (fit.text.isEmpty())
        return fit;
    fit.need = textWidth(button, stripMnemonic(fit.text));
    if (!button->icon().isNull())
        fit.need += button->iconSize().width() + 4;
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = fit.text;
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        element = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton *>(button))
        return {}; // tool buttons draw icons
    fit.room = button->style()->subElementRect(element, &option, button).width();
    return fit;
}

// A text a line box holds when it opens, a hint or a default, shows whole.
Fit lineFit(const QLineEdit *line)
{
    Fit fit;
    fit.text = line->displayText();
    if (fit.text.isEmpty())
        return fit;
    // The box's own hint is room for 17 'x' plus its frame and margins.
    const QFontMetrics metrics = line->fontMetrics();
    const int overhead = line->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    fit.need = metrics.horizontalAdvance(fit.text);
    fit.room = line->width() - overhead;
    return fit;
}

const QRegularExpression &latinDateNames()
{
    static const QRegularExpression names(QStringLiteral(
        "\\b(January|February|March|April|May|June|July|August|September|October|November|December|"
        "Jan|Feb|Mar|Apr|Jun|Jul|Aug|Sep|Oct|Nov|Dec|"
        "Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday|Mon|Tue|Wed|Thu|Fri|Sat|Sun)\\b"));
    return names;
}

// Every text a widget shows: its own, a view's visible cells and headers, a box's items.
QStringList shownTexts(QWidget *widget)
{
    QStringList texts;
    if (auto *label = qobject_cast<QLabel *>(widget))
        texts << label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        texts << button->text();
    else if (auto *line = qobject_cast<QLineEdit *>(widget))
        texts << line->displayText();
    else if (auto *edit = qobject_cast<QTextEdit *>(widget))
        texts << edit->toPlainText();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        texts << plain->toPlainText();
    else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    } else if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
        if (QAbstractItemModel *model = view->model()) {
            const int rows = std::min(model->rowCount(view->rootIndex()), 64);
            const int columns = model->columnCount(view->rootIndex());
            for (int column = 0; column < columns; ++column) {
                texts << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < rows; ++row)
                    texts << model->index(row, column, view->rootIndex()).data().toString();
            }
        }
    }
    return texts;
}

} // namespace

class tst_WindowFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void windowFits_data();
    void windowFits();
    void chartLabelsStandApart_data();
    void chartLabelsStandApart();
    void answerPageSetsTheHeight();
    void tutorialShowsWindowsBesideItsText();
    void emptyMailingHasNoStatus();

private:
    // The frame the operator sees around the named window: its MDI sub-window or itself.
    static QWidget *frameOf(QWidget *window);
    static QStringList faultsOf(QWidget *window);

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<BotApplication> m_bot;
};

void tst_WindowFit::initTestCase()
{
    // The machine's locale is English here; the program's start-up makes it Russian.
    QLocale::setDefault(QLocale::c());
    useRussianLocale();
}

void tst_WindowFit::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_bot = std::make_unique<BotApplication>();
    m_bot->mainWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_bot->mainWindow()));
}

void tst_WindowFit::cleanup()
{
    m_bot.reset();
    Dialogs::setInstance(nullptr);
    m_home.reset();
}

QWidget *tst_WindowFit::frameOf(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        return frame;
    return window->window();
}

QStringList tst_WindowFit::faultsOf(QWidget *window)
{
    QStringList faults;
    QWidget *frame = frameOf(window);
    const auto where = [](const QWidget *control) {
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(control->metaObject()->className()),
                                           control->objectName().isEmpty() ? QStringLiteral("(unnamed)")
                                                                           : control->objectName());
    };

    const int room = WindowFit::captionRoom(frame);
    const int need = WindowFit::captionNeed(frame);
    if (qEnvironmentVariableIsSet("KORVANE_WINDOW_SHOTS"))
        qInfo("%s: caption room %d need %d, frame %dx%d hint %dx%d", qUtf8Printable(frame->windowTitle()), room,
              need, frame->width(), frame->height(), frame->sizeHint().width(), frame->sizeHint().height());
    if (room < need)
        faults << QStringLiteral("caption \"%1\" needs %2 px, the %3 px wide window leaves %4")
                      .arg(frame->windowTitle())
                      .arg(need)
                      .arg(frame->width())
                      .arg(room);

    // A window without a layout asks for its minimum size.
    const QSize hint = frame->sizeHint().expandedTo(frame->minimumSize());
    const int widest = std::max(int(hint.width() * Slack), frame->width() - room + need);
    if (frame->width() > widest || frame->height() > hint.height() * Slack)
        faults << QStringLiteral("opens at %1x%2 but its layout asks for %3x%4")
                      .arg(frame->width())
                      .arg(frame->height())
                      .arg(hint.width())
                      .arg(hint.height());

    // What the layout needs must fit the work area of the main window at its first size.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(frame)) {
        const QSize area = sub->mdiArea()->viewport()->size();
        if (hint.width() > area.width() || hint.height() > area.height())
            faults << QStringLiteral("its layout asks for %1x%2, more than the %3x%4 work area")
                          .arg(hint.width())
                          .arg(hint.height())
                          .arg(area.width())
                          .arg(area.height());
    }
    const QSize least = frame->minimumSizeHint();
    if (frame->width() < least.width() || frame->height() < least.height())
        faults << QStringLiteral("opens at %1x%2, squeezed below the %3x%4 its layout needs")
                      .arg(frame->width())
                      .arg(frame->height())
                      .arg(least.width())
                      .arg(least.height());

    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.prepend(window);
    for (QWidget *control : std::as_const(controls)) {
        if (!control->isVisibleTo(window) && control != window)
            continue;
        // Parts of Qt's own composite controls (calendar header, spin box) are Qt's.
        if (control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        Fit fit;
        if (auto *label = qobject_cast<QLabel *>(control))
            fit = labelFit(label);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            fit = buttonFit(button);
        else if (auto *line = qobject_cast<QLineEdit *>(control))
            fit = lineFit(line);
        if (fit.need > fit.room)
            faults << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                          .arg(where(control), fit.text)
                          .arg(fit.need)
                          .arg(fit.room);
    }
    // The calendar's own parts count here: they show month and day names.
    for (QWidget *control : std::as_const(controls)) {
        if (!control->isVisibleTo(window) && control != window)
            continue;
        for (const QString &text : shownTexts(control)) {
            const QRegularExpressionMatch match = latinDateNames().match(text);
            if (match.hasMatch())
                faults << QStringLiteral("%1 shows \"%2\"").arg(where(control), match.captured());
        }
    }
    return faults;
}

void tst_WindowFit::windowFits_data()
{
    QTest::addColumn<QString>("name");
    // The roster lists every window once every subsystem has put its windows in.
    ProgramHome home;
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    {
        BotApplication bot;
        for (const QString &name : bot.mainWindow().roster().names())
            QTest::newRow(qPrintable(name)) << name;
    }
    Dialogs::setInstance(nullptr);
}

void tst_WindowFit::windowFits()
{
    QFETCH(QString, name);
    QWidget *window = m_bot->mainWindow().showWindow(name);
    QVERIFY(window);
    QWidget *frame = frameOf(window);
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    // KORVANE_WINDOW_SHOTS=DIR keeps a picture of every window for a look by eye.
    const QString shots = qEnvironmentVariable("KORVANE_WINDOW_SHOTS");
    if (!shots.isEmpty())
        QVERIFY(frame->grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png")));
    const QStringList faults = faultsOf(window);
    if (!faults.isEmpty()) {
        const QString caption = frame->windowTitle();
        for (const QString &fault : faults)
            qWarning("%s (%s): %s", qUtf8Printable(name), qUtf8Printable(caption), qUtf8Printable(fault));
        QFAIL(qPrintable(QStringLiteral("%1 does not fit, %2 faults").arg(name).arg(faults.size())));
    }
}

void tst_WindowFit::chartLabelsStandApart_data()
{
    QTest::addColumn<qint64>("most");
    QTest::newRow("small counts") << qint64(7);
    QTest::newRow("wide counts") << qint64(987654);
}

void tst_WindowFit::chartLabelsStandApart()
{
    QFETCH(qint64, most);
    auto *statistics = qobject_cast<Form16 *>(m_bot->mainWindow().showWindow(QStringLiteral("Form16")));
    QVERIFY(statistics);
    QList<StatisticsRecords::DayCount> days;
    const QDate last(2024, 11, 30);
    for (int i = Form16::ChartDays - 1; i >= 0; --i)
        days.append({last.addDays(-i), i % 3 == 0 ? most : most / 2 + i});
    DayChart *chart = statistics->Chart1;
    chart->setDays(days);
    QWidget *frame = frameOf(statistics);
    QVERIFY(QTest::qWaitForWindowExposed(frame));

    const QSize smallest = frame->minimumSizeHint();
    const QList<QSize> sizes = {frame->size(), smallest, QSize(smallest.width() + 37, smallest.height())};
    for (const QSize &size : sizes) {
        frame->resize(size);
        QTRY_COMPARE(frame->size(), size.expandedTo(frame->minimumSize()));
        const QByteArray at = QByteArray::number(chart->width()) + " px";
        const QList<QRect> labels = chart->labelRects();
        QVERIFY2(!labels.isEmpty(), at);
        QVERIFY2(labels.size() >= 3, at);
        const QList<QRect> values = chart->valueRects();
        QCOMPARE(values.size(), days.size());
        for (const QList<QRect> &rects : {labels, values}) {
            for (int i = 0; i < rects.size(); ++i) {
                QVERIFY2(chart->rect().contains(rects.at(i)), at);
                if (i > 0)
                    QVERIFY2(rects.at(i - 1).right() < rects.at(i).left(), at);
            }
        }
        // Labels below the bars, counts above them.
        for (const QRect &value : values)
            QVERIFY2(value.bottom() < labels.first().top(), at);
    }
}

void tst_WindowFit::answerPageSetsTheHeight()
{
    auto *pages = qobject_cast<Form14 *>(m_bot->mainWindow().showWindow(QStringLiteral("Form14")));
    QVERIFY(pages);
    QWidget *frame = frameOf(pages);
    // The tallest page first, then a short one: the frame shrinks to it.
    pages->showPage(CommandWizard::Handover(), CommandBase::AnswerKind::Random);
    const int tall = frame->height();
    for (const CommandBase::AnswerKind kind : {CommandBase::AnswerKind::File, CommandBase::AnswerKind::Download,
                                               CommandBase::AnswerKind::Program}) {
        pages->showPage(CommandWizard::Handover(), kind);
        QVERIFY2(frame->height() < tall, qPrintable(pages->page(kind)->objectName()));
        QCOMPARE(frame->height(), frame->sizeHint().height());
        QVERIFY(faultsOf(pages).isEmpty());
    }
}

void tst_WindowFit::tutorialShowsWindowsBesideItsText()
{
    auto *tutorial = qobject_cast<Form26 *>(m_bot->mainWindow().showWindow(QStringLiteral("Form26")));
    QVERIFY(tutorial);
    QWidget *text = frameOf(tutorial);
    for (int step = 1; step <= 7; ++step)
        QTest::mouseClick(tutorial->Command1, Qt::LeftButton);
    QWidget *login = m_bot->mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QWidget *loginFrame = frameOf(login);
    QVERIFY(loginFrame->isVisible());
    QVERIFY2(!loginFrame->geometry().intersects(text->geometry()),
             qPrintable(QStringLiteral("login %1,%2 %3x%4 over the text %5,%6 %7x%8")
                            .arg(loginFrame->x())
                            .arg(loginFrame->y())
                            .arg(loginFrame->width())
                            .arg(loginFrame->height())
                            .arg(text->x())
                            .arg(text->y())
                            .arg(text->width())
                            .arg(text->height())));
    // Both inside the work area.
    const QRect area = m_bot->mainWindow().mdiArea()->viewport()->rect();
    QVERIFY(area.contains(loginFrame->geometry()));
    QVERIFY(area.contains(text->geometry()));
}

void tst_WindowFit::emptyMailingHasNoStatus()
{
    auto *mailing = qobject_cast<Form19 *>(m_bot->mainWindow().showWindow(QStringLiteral("Form19")));
    QVERIFY(mailing);
    QCOMPARE(mailing->ProgressBar1->text(), QString());
    QCOMPARE(mailing->Label6->text(), QString());
    QCOMPARE(mailing->Label7->text(), QString());
}

QTEST_MAIN(tst_WindowFit)
#include "tst_windowfit.moc"

// The support and about windows, opened from the menu: their topic and contact labels
// fill the send-message window, the site opens in the browser, "Закрыть" hides.
#include "infowindowsfixture.h"

#include "core/generalsettings.h"
#include "platform/messagedraft.h"
#include "platform/recordingwebopener.h"
#include "platform/windowkit.h"
#include "settings/about_window.h"
#include "settings/support_window.h"
#include "settings/supportcontacts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const QString SupportUin = QStringLiteral("123456789");
const QString AuthorUin = QStringLiteral("987654");
const QString Site = QStringLiteral("https://korvane.example.org/");

// Stands in for the send-message window: its three boxes by their names, filled through
// the typed side the real window offers.
class SendMessageStandIn : public QWidget, public MessageDraftTarget
{
    Q_OBJECT
    Q_INTERFACES(MessageDraftTarget)
public:
    explicit SendMessageStandIn(QWidget *parent)
        : QWidget(parent)
    {
        m_combo = new QComboBox(this);
        m_combo->setObjectName(QStringLiteral("Combo1"));
        m_combo->setEditable(true);
        m_subject = new QLineEdit(this);
        m_subject->setObjectName(QStringLiteral("Text3"));
        m_message = new QPlainTextEdit(this);
        m_message->setObjectName(QStringLiteral("Text4"));
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_combo);
        layout->addWidget(m_subject);
        layout->addWidget(m_message);
    }
    void takeDraft(const MessageDraft &draft) override
    {
        m_combo->setEditText(draft.recipient);
        m_subject->setText(draft.subject);
        if (draft.message)
            m_message->setPlainText(*draft.message);
    }

private:
    QComboBox *m_combo = nullptr;
    QLineEdit *m_subject = nullptr;
    QPlainTextEdit *m_message = nullptr;
};

QWidget *makeSendMessageWindow(QWidget *parent)
{
    return new SendMessageStandIn(parent);
}

// A send-message window without the named boxes: it only keeps the drafts it takes.
class DraftKeeper : public QWidget, public MessageDraftTarget
{
    Q_OBJECT
    Q_INTERFACES(MessageDraftTarget)
public:
    using QWidget::QWidget;
    void takeDraft(const MessageDraft &draft) override { drafts.append(draft); }

    QList<MessageDraft> drafts;
};

} // namespace

class tst_SupportAboutWindows : public InfoWindowsFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void supportWindowTexts();
    void topicFillsSendMessageWindow_data();
    void topicFillsSendMessageWindow();
    void topicWithoutSupportNumber();
    void aboutWindowTexts();
    void contactKeepsTheMessage();
    void closeHidesAndReopensAsItWas();
    void siteOpensInTheBrowser_data();
    void siteOpensInTheBrowser();
    void plainSendMessageWindowGetsTheDraft();

private:
    void configure(bool withContacts);
    QString recipient() const;
    QString subject() const;
    QString message() const;
    template<typename T> static void clickLabel(T *label)
    {
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, label->height() / 2));
    }

    RecordingWebOpener m_opener;
};

void tst_SupportAboutWindows::init()
{
    setUp();
    m_opener = RecordingWebOpener();
    WebOpener::setInstance(&m_opener);
    m_main->registerFactory(QStringLiteral("Form2"), makeSendMessageWindow);
}

void tst_SupportAboutWindows::cleanup()
{
    WebOpener::setInstance(nullptr);
    tearDown();
}

void tst_SupportAboutWindows::configure(bool withContacts)
{
    if (!withContacts)
        return;
    QVERIFY(
        Addresses::setValues({{SupportContacts::SupportUin, SupportUin},
                              {SupportContacts::SupportForum, QStringLiteral("https://forum.example.org/")},
                              {SupportContacts::SupportMail, QStringLiteral("help@example.org")},
                              {SupportContacts::AuthorUin, AuthorUin},
                              {SupportContacts::AuthorMail, QStringLiteral("author@example.org")},
                              {SupportContacts::Site, Site}}));
}

QString tst_SupportAboutWindows::recipient() const
{
    return window(QStringLiteral("Form2"))->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText();
}

QString tst_SupportAboutWindows::subject() const
{
    return window(QStringLiteral("Form2"))->findChild<QLineEdit *>(QStringLiteral("Text3"))->text();
}

QString tst_SupportAboutWindows::message() const
{
    return window(QStringLiteral("Form2"))
        ->findChild<QPlainTextEdit *>(QStringLiteral("Text4"))
        ->toPlainText();
}

void tst_SupportAboutWindows::supportWindowTexts()
{
    configure(true);
    auto *form = open<Form4>(QStringLiteral("tech_m"), QStringLiteral("Form4"));
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Тех. поддержка"));
    QCOMPARE(form->Label1->text(),
             QStringLiteral("Если у Вас возникли какие-то вопросы или проблемы с программой, "
                            "обратитесь по этим контактам:"));
    QVERIFY(form->Label2->text().contains(SupportUin));
    QVERIFY(form->Label3->text().contains(QLatin1String("forum.example.org")));
    QVERIFY(form->Label4->text().contains(QLatin1String("help@example.org")));
    QCOMPARE(form->Label9->text(),
             QStringLiteral("Щёлкните чтобы отправить сообщение, по ниже следующей теме:"));
    const QStringList captions = {"Найдена ошибка", "Найдена грамматическая ошибка", "Вопрос по программе",
                                  "Предложение по программе или сайту"};
    for (int i = 0; i < captions.size(); ++i) {
        auto *label = form->findChild<ClickLabel *>(QStringLiteral("Label%1").arg(i + 5));
        QVERIFY(label);
        QCOMPARE(label->text(), captions.at(i));
    }
}

void tst_SupportAboutWindows::topicFillsSendMessageWindow_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("message");
    QTest::newRow("error")
        << "Label5"
        << "Найдена ошибка"
        << "Номер версии программы: 1.8 Release\r\nНазвание окон(а) где произошла ошибка: \r\n"
           "Что вы делали (в программе) из-за чего произошла ошибка: ";
    QTest::newRow("grammar") << "Label6"
                             << "Найдена грамматическая ошибка"
                             << "Название окон(а) где найдена ошибка: ";
    QTest::newRow("question, plural subject") << "Label7"
                                              << "Вопросы по программе"
                                              << "Вопрос: ";
    QTest::newRow("proposal") << "Label8"
                              << "Предложение по программе"
                              << "Предложение(пожелание): ";
}

void tst_SupportAboutWindows::topicFillsSendMessageWindow()
{
    QFETCH(QString, label);
    QFETCH(QString, subject);
    QFETCH(QString, message);
    configure(true);
    // The send-message window is open with other text already.
    QWidget *sendWindow = show(QStringLiteral("Form2"));
    QVERIFY(sendWindow);
    sendWindow->findChild<QComboBox *>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("555"));
    sendWindow->findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(QStringLiteral("тема"));
    sendWindow->findChild<QPlainTextEdit *>(QStringLiteral("Text4"))->setPlainText(QStringLiteral("текст"));

    auto *form = open<Form4>(QStringLiteral("tech_m"), QStringLiteral("Form4"));
    QVERIFY(form);
    clickLabel(form->findChild<ClickLabel *>(label));
    QCOMPARE(window(QStringLiteral("Form2")), sendWindow);
    QVERIFY(onScreen(sendWindow));
    QCOMPARE(recipient(), SupportUin);
    QCOMPARE(this->subject(), subject);
    // The message box shows the template's line ends as line breaks.
    QCOMPARE(this->message(), QString(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SupportAboutWindows::topicWithoutSupportNumber()
{
    configure(false);
    auto *form = open<Form4>(QStringLiteral("tech_m"), QStringLiteral("Form4"));
    QVERIFY(form);
    QVERIFY(form->Label2->text().contains(SupportContacts::NotConfigured));
    clickLabel(form->Label5);
    expectBox(QString(), SupportContacts::NoSupportUinText);
    QVERIFY(!window(QStringLiteral("Form2")));
}

void tst_SupportAboutWindows::aboutWindowTexts()
{
    configure(true);
    auto *form = open<Form8>(QStringLiteral("o_prog1_m"), QStringLiteral("Form8"));
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(form->Label2->text(), QStringLiteral("Интеллектуальный бот для вас"));
    QCOMPARE(form->Label3->text(), QStringLiteral("Версия: 1.9"));
    QCOMPARE(form->Label4->text(), QStringLiteral("Версия ядра: 1.0"));
    QCOMPARE(form->Label8->text(), Site);
    QCOMPARE(form->Label14->text(), QStringLiteral("Если вам есть, что предложить обращайтесь на :"));
    QCOMPARE(form->Label15->text(), QStringLiteral("ICQ       :"));
    QCOMPARE(form->Label16->text(), AuthorUin);
    QCOMPARE(form->Label17->text(), QStringLiteral("Закрыть"));
    // The toolbar's button opens the same window.
    m_main->action(QStringLiteral("et5"))->trigger();
    QCOMPARE(window<Form8>(QStringLiteral("Form8")), form);
}

void tst_SupportAboutWindows::contactKeepsTheMessage()
{
    configure(true);
    QWidget *sendWindow = show(QStringLiteral("Form2"));
    QVERIFY(sendWindow);
    sendWindow->findChild<QPlainTextEdit *>(QStringLiteral("Text4"))
        ->setPlainText(QStringLiteral("уже набрано"));
    auto *form = open<Form8>(QStringLiteral("o_prog1_m"), QStringLiteral("Form8"));
    QVERIFY(form);
    clickLabel(form->Label16);
    QVERIFY(onScreen(sendWindow));
    QCOMPARE(recipient(), AuthorUin);
    QCOMPARE(subject(), QStringLiteral("Обращение в тех. поддержку"));
    QCOMPARE(message(), QStringLiteral("уже набрано"));

    // Without a configured number the operator is told, and nothing is filled.
    QVERIFY(Addresses::setValues({{SupportContacts::AuthorUin, QStringLiteral("не номер")}}));
    clickLabel(form->Label16);
    expectBox(QString(), SupportContacts::NoAuthorUinText);
}

void tst_SupportAboutWindows::closeHidesAndReopensAsItWas()
{
    configure(true);
    auto *form = open<Form8>(QStringLiteral("o_prog1_m"), QStringLiteral("Form8"));
    QVERIFY(form);
    clickLabel(form->Label17);
    QVERIFY(!onScreen(form));
    QCOMPARE(open<Form8>(QStringLiteral("o_prog1_m"), QStringLiteral("Form8")), form);
    QVERIFY(onScreen(form));
}

void tst_SupportAboutWindows::siteOpensInTheBrowser_data()
{
    QTest::addColumn<bool>("configured");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<QString>("boxText");
    QTest::newRow("opened") << true << true << QStringList{Site} << QString() << QString();
    QTest::newRow("browser fails") << true << false << QStringList{Site} << SupportContacts::OpenFailedTitle
                                   << SupportContacts::OpenFailedText.arg(Site);
    QTest::newRow("not configured") << false << true << QStringList() << QString()
                                    << SupportContacts::NoSiteText;
}

void tst_SupportAboutWindows::siteOpensInTheBrowser()
{
    QFETCH(bool, configured);
    QFETCH(bool, opens);
    QFETCH(QStringList, opened);
    QFETCH(QString, boxTitle);
    QFETCH(QString, boxText);
    configure(configured);
    m_opener.result = opens;
    auto *form = open<Form8>(QStringLiteral("o_prog1_m"), QStringLiteral("Form8"));
    QVERIFY(form);
    const QStringList before = QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    clickLabel(form->Label8);
    QCOMPARE(m_opener.opened, opened);
    if (boxText.isEmpty())
        QVERIFY(m_dialogs.shown.isEmpty());
    else
        expectBox(boxTitle, boxText, opens ? Icon::Information : Icon::Warning);
    // No shortcut file or anything else is left in the program folder.
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void tst_SupportAboutWindows::plainSendMessageWindowGetsTheDraft()
{
    configure(true);
    // A send-message window without the named boxes still receives the draft.
    m_main->registerFactory(QStringLiteral("Form2"), [](QWidget *parent) { return new DraftKeeper(parent); });
    auto *form = open<Form4>(QStringLiteral("tech_m"), QStringLiteral("Form4"));
    QVERIFY(form);
    clickLabel(form->Label7);
    auto *sendWindow = qobject_cast<DraftKeeper *>(window(QStringLiteral("Form2")));
    QVERIFY(sendWindow);
    const MessageDraft expected{SupportUin, QStringLiteral("Вопросы по программе"), QStringLiteral("Вопрос: ")};
    QCOMPARE(sendWindow->drafts, QList<MessageDraft>{expected});
}

QTEST_MAIN(tst_SupportAboutWindows)
#include "tst_supportaboutwindows.moc"

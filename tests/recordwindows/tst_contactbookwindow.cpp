// The contact book and contact entry windows driven through their controls: contacts
// added, changed, searched and deleted, the file checked byte for byte.
#include "peoplewindowsfixture.h"
#include "records/contactbook.h"
#include "recordwindows/contactbook_window.h"
#include "support/typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {
const QString Book = ContactBook::FilePath;
// Windows-1251 bytes of the names used below.
const QByteArray Ivanov = "\xc8\xe2\xe0\xed\xee\xe2";      // Иванов
const QByteArray Petrov = "\xcf\xe5\xf2\xf0\xee\xe2";      // Петров
const QByteArray Moscow = "\xcc\xee\xf1\xea\xe2\xe0";      // Москва
const QByteArray Sidorov = "\xd1\xe8\xe4\xee\xf0\xee\xe2"; // Сидоров
} // namespace

class tst_ContactBookWindow : public PeopleWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void opensWithEveryFieldInItsColumn();
    void listClickEnablesByTheFirstRow_data();
    void listClickEnablesByTheFirstRow();
    void addThroughTheEntryWindow();
    void changeRewritesExactlyThatLine();
    void addAfterAChangeStartsEmpty();
    void changeOfAContactDeletedMeanwhileWritesNothing();
    void deleteTakesTheSelectedLineOnly();
    void deletingTheOnlyContactDeletesTheFile();
    void searchOffersEachHitInTurn();
    void searchAnswerOneOpensTheContact();
    void searchAnswerTwoDeletesTheFoundLine();
    void searchByNumberWithoutAnOption();

private:
    Form37 *openBook();
    Form38 *entry() const { return window<Form38>("Form38"); }
    QStringList row(int index) const;
    bool select(int index);
    void type(Form38 *form, const QStringList &fields);

    Form37 *m_book = nullptr;
};

Form37 *tst_ContactBookWindow::openBook()
{
    m_book = open<Form37>("kont_sp_m", "Form37");
    return m_book;
}

QStringList tst_ContactBookWindow::row(int index) const
{
    QStringList texts;
    const QTreeWidgetItem *item = m_book->ListView1->topLevelItem(index);
    for (int column = 0; item && column < m_book->ListView1->columnCount(); ++column)
        texts.append(item->text(column));
    return texts;
}

bool tst_ContactBookWindow::select(int index)
{
    QTreeWidgetItem *item = m_book->ListView1->topLevelItem(index);
    if (!item)
        return false;
    const QRect rect = m_book->ListView1->visualItemRect(item);
    QTest::mouseClick(m_book->ListView1->viewport(), Qt::LeftButton, {}, rect.center());
    return item->isSelected();
}

void tst_ContactBookWindow::type(Form38 *form, const QStringList &fields)
{
    QLineEdit *boxes[] = {form->Text1, form->Text2, form->Text3, form->Text4,
                          form->Text5, form->Text6, form->Text7};
    for (int i = 0; i < 7; ++i) {
        boxes[i]->clear();
        if (boxes[i]->isEnabled())
            typeInto(boxes[i], fields.value(i));
    }
}

void tst_ContactBookWindow::opensWithEveryFieldInItsColumn()
{
    QVERIFY(write(Book, Ivanov + ":^:123:^:+7:^::^:30:^:" + Petrov +
                            ":^:\xe4\xec\r\n\r\nab:^:5:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    QCOMPARE(m_book->windowTitle(), QStringLiteral("Контактная книга"));
    const QTreeWidgetItem *header = m_book->ListView1->headerItem();
    QStringList headings;
    for (int column = 0; column < header->columnCount(); ++column)
        headings.append(header->text(column));
    QCOMPARE(headings,
             QStringList({"ФИО", "Номер ICQ", "Телефон", "e-mail", "Возраст", "Работа", "Домашний адрес"}));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 2);
    QCOMPARE(row(0), QStringList({"Иванов", "123", "+7", "", "30", "Петров", "дм"}));
    QCOMPARE(row(1), QStringList({"ab", "5", "", "", "", "", ""}));
    QVERIFY(!m_book->Command2->isEnabled());
    QVERIFY(!m_book->Command3->isEnabled());
    QVERIFY(!m_book->Option1->isChecked());
    QVERIFY(!m_book->Option2->isChecked());
}

void tst_ContactBookWindow::listClickEnablesByTheFirstRow_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty list") << QByteArray() << false;
    QTest::newRow("first row named") << QByteArray("a:^:1:^::^::^::^::^:\r\n") << true;
    QTest::newRow("first row without a name") << QByteArray(":^:1:^::^::^::^::^:\r\n") << false;
}

void tst_ContactBookWindow::listClickEnablesByTheFirstRow()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, enabled);
    if (!file.isEmpty())
        QVERIFY(write(Book, file));
    QVERIFY(openBook());
    // A click anywhere on the list, below the rows too.
    QTest::mouseClick(m_book->ListView1->viewport(), Qt::LeftButton, {},
                      QPoint(20, m_book->ListView1->viewport()->height() - 5));
    QCOMPARE(m_book->Command2->isEnabled(), enabled);
    QCOMPARE(m_book->Command3->isEnabled(), enabled);
}

void tst_ContactBookWindow::addThroughTheEntryWindow()
{
    QVERIFY(openBook());
    QTest::mouseClick(m_book->Command1, Qt::LeftButton);
    Form38 *form = entry();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Добалвение контакта"));
    QCOMPARE(form->Command1->text(), QStringLiteral("Добавить"));
    QVERIFY(form->Text1->isEnabled());
    QVERIFY(form->Label8->isHidden());
    type(form, {"Иванов", "123", "+7", "", "30", "", "Москва"});
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    const QByteArray line = Ivanov + ":^:123:^:+7:^::^:30:^::^:" + Moscow + "\r\n";
    QCOMPARE(bytes(Book), line);
    QCOMPARE(row(0), QStringList({"Иванов", "123", "+7", "", "30", "", "Москва"}));
    QVERIFY(m_dialogs.shown.isEmpty());
    // The window stays as it is: the same save again is a duplicate.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectBox(Form38::DuplicateTitle, Form38::Duplicate);
    QCOMPARE(bytes(Book), line);
    // The same name with another number is another contact; every box empty is one too.
    form->Text2->clear();
    typeInto(form->Text2, QStringLiteral("124"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    type(form, {});
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(Book),
             line + Ivanov + ":^:124:^:+7:^::^:30:^::^:" + Moscow + "\r\n:^::^::^::^::^::^:\r\n");
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 3);
    QCOMPARE(row(2), QStringList({"", "", "", "", "", "", ""}));
    // A field the file cannot hold is refused.
    typeInto(form->Text1, QStringLiteral("a:^:b"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectBox(Form38::DuplicateTitle, Form38::InvalidField);
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 3);
}

void tst_ContactBookWindow::changeRewritesExactlyThatLine()
{
    const QByteArray first = "a:^:1:^:t:^:e:^:30:^:w:^:h\r\n";
    const QByteArray third = "c:^:3:^:t:^:e:^:30:^:w:^:h\r\n";
    QVERIFY(write(Book, first + Sidorov + ":^:2:^:t:^:e:^:30:^:w:^:h\r\n" + third));
    QVERIFY(openBook());
    // Nothing selected: nothing opens.
    QTest::mouseClick(m_book->Command2, Qt::LeftButton);
    QVERIFY(!entry());
    QVERIFY(select(1));
    QVERIFY(m_book->Command2->isEnabled());
    QTest::mouseClick(m_book->Command2, Qt::LeftButton);
    Form38 *form = entry();
    QVERIFY(form);
    QCOMPARE(form->Label8->text(), QStringLiteral("2"));
    QCOMPARE(form->Command1->text(), QStringLiteral("Изменить"));
    QVERIFY(!form->Text1->isEnabled());
    QCOMPARE(form->Text1->text(), QStringLiteral("Сидоров"));
    QCOMPARE(form->Text7->text(), QStringLiteral("h"));
    form->Text7->clear();
    typeInto(form->Text7, QStringLiteral("Москва"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    const QByteArray changed = first + Sidorov + ":^:2:^:t:^:e:^:30:^:w:^:" + Moscow + "\r\n" + third;
    QCOMPARE(bytes(Book), changed);
    QCOMPARE(row(1), QStringList({"Сидоров", "2", "t", "e", "30", "w", "Москва"}));
    QCOMPARE(row(0).first(), QStringLiteral("a"));
    QCOMPARE(row(2).first(), QStringLiteral("c"));
    // The same save again rewrites the same line.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(Book), changed);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_ContactBookWindow::addAfterAChangeStartsEmpty()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    QVERIFY(select(0));
    QTest::mouseClick(m_book->Command2, Qt::LeftButton);
    QVERIFY(entry());
    QCOMPARE(entry()->Text1->text(), QStringLiteral("a"));
    QTest::mouseClick(m_book->Command1, Qt::LeftButton);
    Form38 *form = entry();
    QCOMPARE(form->Command1->text(), QStringLiteral("Добавить"));
    QVERIFY(form->Text1->isEnabled());
    QCOMPARE(form->Text1->text(), QString());
    QCOMPARE(form->Text2->text(), QString());
    QCOMPARE(form->Label8->text(), QStringLiteral("Label8"));
}

void tst_ContactBookWindow::changeOfAContactDeletedMeanwhileWritesNothing()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\nb:^:2:^::^::^::^::^:\r\nc:^:3:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    QVERIFY(select(1));
    QTest::mouseClick(m_book->Command2, Qt::LeftButton);
    Form38 *form = entry();
    QVERIFY(form);
    // Meanwhile the first contact goes: line 2 now holds "c".
    QVERIFY(select(0));
    QTest::mouseClick(m_book->Command3, Qt::LeftButton);
    const QByteArray left = "b:^:2:^::^::^::^::^:\r\nc:^:3:^::^::^::^::^:\r\n";
    QCOMPARE(bytes(Book), left);
    typeInto(form->Text3, QStringLiteral("555"));
    m_dialogs.shown.clear();
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    // Nothing is written over "c", and the operator is told his edit was not saved.
    QCOMPARE(bytes(Book), left);
    expectBox(Form38::DuplicateTitle, Form38::Moved, Dialogs::Icon::Warning);
    QCOMPARE(form->Text3->text(), QStringLiteral("555"));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 2);
    QCOMPARE(row(1).first(), QStringLiteral("c"));
    // Gone altogether: said as well.
    QVERIFY(write(Book, "c:^:3:^::^::^::^::^:\r\n"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(Book), QByteArray("c:^:3:^::^::^::^::^:\r\n"));
    expectBox(Form38::DuplicateTitle, Form38::Moved, Dialogs::Icon::Warning);
}

void tst_ContactBookWindow::deleteTakesTheSelectedLineOnly()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\n\r\na:^:2:^::^::^::^::^:\r\nb:^:3:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    QTest::mouseClick(m_book->Command3, Qt::LeftButton);
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 3);
    QVERIFY(select(1));
    QTest::mouseClick(m_book->Command3, Qt::LeftButton);
    QCOMPARE(bytes(Book), QByteArray("a:^:1:^::^::^::^::^:\r\nb:^:3:^::^::^::^::^:\r\n"));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 2);
    QCOMPARE(row(0).at(1), QStringLiteral("1"));
    QCOMPARE(row(1).at(1), QStringLiteral("3"));
    QVERIFY(m_book->Command3->isEnabled());
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_ContactBookWindow::deletingTheOnlyContactDeletesTheFile()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    QVERIFY(select(0));
    QTest::mouseClick(m_book->Command3, Qt::LeftButton);
    QCOMPARE(bytes(Book), QByteArray("<missing>"));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 0);
    QVERIFY(!m_book->Command2->isEnabled());
    QVERIFY(!m_book->Command3->isEnabled());
}

void tst_ContactBookWindow::searchOffersEachHitInTurn()
{
    const QByteArray file = "a:^:1:^::^::^::^::^:\r\nb:^:2:^::^::^::^::^:\r\na:^:3:^::^::^::^::^:\r\n";
    QVERIFY(write(Book, file));
    QVERIFY(openBook());
    click(m_book->Option1);
    typeInto(m_book->Text1, QStringLiteral("a"));
    m_dialogs.queueText(QStringLiteral("3"));
    m_dialogs.queueText(QStringLiteral("3"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 3);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m_dialogs.shown.at(i).kind, RecordingDialogs::Kind::Input);
        QCOMPARE(m_dialogs.shown.at(i).title, Form37::SearchTitle);
        QCOMPARE(m_dialogs.shown.at(i).text, Form37::SearchPrompt);
    }
    m_dialogs.shown.removeFirst();
    m_dialogs.shown.removeFirst();
    expectBox(Form37::SearchTitle, Form37::NothingMore);
    QCOMPARE(bytes(Book), file);
    // Letter case counts; no hit, one message. Cancel ends a search without it.
    m_book->Text1->clear();
    typeInto(m_book->Text1, QStringLiteral("A"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    expectBox(Form37::SearchTitle, Form37::NothingMore);
    m_book->Text1->clear();
    typeInto(m_book->Text1, QStringLiteral("b"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    expectInput(Form37::SearchTitle, Form37::SearchPrompt);
}

void tst_ContactBookWindow::searchAnswerOneOpensTheContact()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\n\r\nb:^:2:^:t:^:e:^:30:^:w:^:h\r\n"));
    QVERIFY(openBook());
    click(m_book->Option1);
    typeInto(m_book->Text1, QStringLiteral("b"));
    m_dialogs.queueText(QStringLiteral("1"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    expectInput(Form37::SearchTitle, Form37::SearchPrompt);
    Form38 *form = entry();
    QVERIFY(form);
    QCOMPARE(form->Label8->text(), QStringLiteral("3"));
    QVERIFY(!form->Text1->isEnabled());
    QCOMPARE(form->Command1->text(), QStringLiteral("Изменить"));
    const QStringList fields = {form->Text1->text(), form->Text2->text(), form->Text3->text(),
                                form->Text4->text(), form->Text5->text(), form->Text6->text(),
                                form->Text7->text()};
    QCOMPARE(fields, QStringList({"b", "2", "t", "e", "30", "w", "h"}));
    form->Text6->clear();
    typeInto(form->Text6, QStringLiteral("x"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(Book), QByteArray("a:^:1:^::^::^::^::^:\r\n\r\nb:^:2:^:t:^:e:^:30:^:x:^:h\r\n"));
}

void tst_ContactBookWindow::searchAnswerTwoDeletesTheFoundLine()
{
    QVERIFY(write(Book, "a:^:1:^::^::^::^::^:\r\nb:^:2:^::^::^::^::^:\r\na:^:3:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    click(m_book->Option1);
    typeInto(m_book->Text1, QStringLiteral("a"));
    m_dialogs.queueText(QStringLiteral("3"));
    m_dialogs.queueText(QStringLiteral("2"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(bytes(Book), QByteArray("a:^:1:^::^::^::^::^:\r\nb:^:2:^::^::^::^::^:\r\n"));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 2);
    QCOMPARE(row(1).at(1), QStringLiteral("2"));
}

void tst_ContactBookWindow::searchByNumberWithoutAnOption()
{
    QVERIFY(write(Book, "2:^:1:^::^::^::^::^:\r\n"));
    QVERIFY(openBook());
    typeInto(m_book->Text1, QStringLiteral("1"));
    m_dialogs.queueText(QStringLiteral("2"));
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    expectInput(Form37::SearchTitle, Form37::SearchPrompt);
    QCOMPARE(bytes(Book), QByteArray("<missing>"));
    QCOMPARE(m_book->ListView1->topLevelItemCount(), 0);
    QVERIFY(!m_book->Command2->isEnabled());
    // An empty book: the search ends without a word.
    QTest::mouseClick(m_book->Command4, Qt::LeftButton);
    QVERIFY(m_dialogs.shown.isEmpty());
}

QTEST_MAIN(tst_ContactBookWindow)
#include "tst_contactbookwindow.moc"

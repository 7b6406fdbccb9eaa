#include "recordwindows/automailing_window.h"

#include "core/cp1251.h"
#include "core/textrowsmodel.h"
#include "platform/dialogs.h"
#include "platform/windowkit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

using WindowKit::named;

namespace {

QString durationText(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

const QString Form19::NothingToSend = QStringLiteral("Произошла ошибка. Причина может быть в:\r\n"
                                                     "1. Из-за того, что поле для текста пустое.\r\n"
                                                     "2. Из-за того, что отсутствуют подписчики.");

Form19::Form19(AutoMailing::Sender sender, QWidget *parent)
    : QWidget(parent)
    , m_mailing(std::move(sender))
{
    setWindowTitle(QStringLiteral("Авторассылка"));
    Label1 = named(new QLabel(QStringLiteral("Список ICQ-номеров"), this), "Label1");
    List1 = named(new QListView(this), "List1");
    m_subscribers = new TextRowsModel({}, List1);
    List1->setModel(m_subscribers);
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Command2 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Удалить"), this), "Command3");
    Label2 = named(new QLabel(QStringLiteral("Введите текст сообщения:"), this), "Label2");
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Option2 = named(new QRadioButton(QStringLiteral("Выслать из списка"), this), "Option2");
    Option1 = named(new QRadioButton(QStringLiteral("Расслать по димапозону"), this), "Option1");
    Label3 = named(new QLabel(QStringLiteral("От:"), this), "Label3");
    Text2 = named(new QLineEdit(this), "Text2");
    Label4 = named(new QLabel(QStringLiteral("До:"), this), "Label4");
    Text3 = named(new QLineEdit(this), "Text3");
    Label5 = named(new QLabel(QStringLiteral("Статус:"), this), "Label5");
    Label6 = named(new QLabel(this), "Label6");
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    // Nothing to report before the first mailing.
    ProgressBar1->setFormat(QString());
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    Label7 = named(new QLabel(this), "Label7");
    Command1 = named(new QPushButton(QStringLiteral("Послать"), this), "Command1");
    Command4 = named(new QPushButton(QStringLiteral("Стоп"), this), "Command4");

    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(Command2);
    listButtons->addWidget(Command3);
    auto *left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(List1);
    left->addLayout(listButtons);

    auto *range = new QGridLayout;
    range->addWidget(Option2, 0, 0, 1, 4);
    range->addWidget(Option1, 1, 0, 1, 4);
    range->addWidget(Label3, 2, 0);
    range->addWidget(Text2, 2, 1);
    range->addWidget(Label4, 2, 2);
    range->addWidget(Text3, 2, 3);
    range->addWidget(Label5, 3, 0);
    range->addWidget(Label6, 3, 1, 1, 3);
    auto *sendButtons = new QHBoxLayout;
    sendButtons->addWidget(Command1);
    sendButtons->addWidget(Command4);
    auto *right = new QVBoxLayout;
    right->addWidget(Label2);
    right->addWidget(Text1);
    right->addLayout(range);
    right->addWidget(ProgressBar1);
    right->addWidget(Label7);
    right->addLayout(sendButtons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(Command1, &QPushButton::clicked, this, &Form19::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form19::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form19::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form19::Command4_Click);
    connect(&m_mailing, &AutoMailing::sent, this, &Form19::onSent);
    connect(&m_mailing, &AutoMailing::finished, this, &Form19::onFinished);
    connect(&m_mailing, &AutoMailing::sendFailed, this, [](const QString &number) {
        Dialogs::instance().notify(QString(), SendFailed.arg(number), Dialogs::Icon::Warning,
                                   QStringLiteral("automailing"));
    });

    m_subscribers->setTexts(SubscriberList::load());
}

Form19::~Form19()
{
    if (!m_mailing.isRunning())
        return;
    // The controls are going: the end of the mailing is only told.
    m_mailing.disconnect(this);
    m_mailing.stop();
    Dialogs::instance().notify(QString(), ClosedDuringMailing.arg(m_mailing.sentCount()).arg(m_mailing.total()),
                               Dialogs::Icon::Warning, QStringLiteral("automailing"));
}

void Form19::Command1_Click()
{
    if (m_mailing.isRunning())
        return;
    if (!Option1->isChecked() && !Option2->isChecked())
        return;
    // A multi-line box gives bare line feeds; a message carries CR LF.
    QString text = Text1->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    bool started = false;
    if (Option2->isChecked()) {
        // An entry that is no ICQ number (an empty line, a name) is passed over.
        QStringList numbers;
        m_rows.clear();
        for (int row = 0; row < m_subscribers->rowCount(); ++row) {
            const QString entry = m_subscribers->text(row);
            if (AutoMailing::rangeBound(entry) >= 0) {
                numbers.append(entry.trimmed());
                m_rows.append(row);
            }
        }
        if (text.isEmpty() || numbers.isEmpty()) {
            Dialogs::instance().message(QString(), NothingToSend, Dialogs::Icon::NoIcon);
            return;
        }
        m_rangeMode = false;
        started = m_mailing.startList(text, numbers);
    } else {
        if (text.isEmpty()) {
            Dialogs::instance().message(QString(), NothingToSend, Dialogs::Icon::NoIcon);
            return;
        }
        const qint64 first = AutoMailing::rangeBound(Text2->text());
        const qint64 last = AutoMailing::rangeBound(Text3->text());
        if (first < 0 || last < 0) {
            Dialogs::instance().message(QString(), BadRange, Dialogs::Icon::NoIcon);
            return;
        }
        m_rangeMode = true;
        // A range that runs backwards holds no number: nothing to send.
        started = m_mailing.startRange(text, first, last);
    }
    if (!started)
        return;
    Command1->setEnabled(false);
    showProgress();
}

void Form19::Command2_Click()
{
    const QString number = Dialogs::instance().input(AddTitle, AddPrompt);
    if (number.isEmpty())
        return;
    // A line break would put several lines into the file for one entry, and a letter
    // the file cannot hold would come back as "?".
    if (number.contains(QLatin1Char('\r')) || number.contains(QLatin1Char('\n')) || !Cp1251::canEncode(number)) {
        Dialogs::instance().message(AddTitle, NotStorable, Dialogs::Icon::Warning);
        return;
    }
    // The list shows only what the file took.
    if (!SubscriberList::add(number)) {
        Dialogs::instance().message(AddTitle, NotAdded, Dialogs::Icon::Warning);
        return;
    }
    m_subscribers->appendRow({number});
}

void Form19::Command3_Click()
{
    const QModelIndex selected = List1->currentIndex();
    if (!selected.isValid() || !List1->selectionModel()->isSelected(selected))
        return;
    const QString number = m_subscribers->text(selected.row());
    SubscriberList::remove(number);
    for (int row = m_subscribers->rowCount() - 1; row >= 0; --row) {
        if (m_subscribers->text(row) == number)
            m_subscribers->removeRowAt(row);
    }
}

void Form19::Command4_Click()
{
    m_mailing.stop();
}

void Form19::onSent(qint64 index, const QString &number)
{
    if (m_rangeMode) {
        Label6->setText(number);
    } else if (index < m_rows.size() && m_rows.at(index) < m_subscribers->rowCount()) {
        List1->setCurrentIndex(m_subscribers->index(m_rows.at(index), 0));
    }
    showProgress();
}

void Form19::onFinished()
{
    Command1->setEnabled(true);
    showProgress();
}

void Form19::showProgress()
{
    // The bar counts in int; a range of more numbers shows in proportion.
    const qint64 total = qMax<qint64>(m_mailing.total(), 1);
    const int scale =
        total > std::numeric_limits<int>::max() ? int(total / std::numeric_limits<int>::max()) + 1 : 1;
    ProgressBar1->setRange(0, int(total / scale));
    ProgressBar1->setValue(int(m_mailing.sentCount() / scale));
    ProgressBar1->setFormat(QStringLiteral("%1 из %2").arg(m_mailing.sentCount()).arg(m_mailing.total()));
    Label7->setText(QStringLiteral("Осталось: %1").arg(durationText(m_mailing.msLeft())));
}

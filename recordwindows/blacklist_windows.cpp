#include "recordwindows/blacklist_windows.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "core/textrowsmodel.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "records/datepicker.h"
#include "recordwindows/calendar_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <limits>

using WindowKit::named;

// --- Form6 -----------------------------------------------------------------------------

Form6::Form6(BlacklistBook &blacklist, DatePicker &picker, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_blacklist(blacklist)
    , m_picker(picker)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Добавление в чёрный список"));
    Label1 = named(new QLabel(QStringLiteral("UIN                :"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Label2 = named(new QLabel(QStringLiteral("Забанить до   :"), this), "Label2");
    Text2 = named(new QLineEdit(this), "Text2");
    Command2 = named(new QPushButton(QStringLiteral("Выбрать дату"), this), "Command2");
    Label3 = named(new QLabel(QStringLiteral("Причина         :"), this), "Label3");
    Text3 = named(new QLineEdit(this), "Text3");
    // A reason of a hand-edited file may be longer than a line box keeps by default: a
    // change must not cut it.
    Text3->setMaxLength(std::numeric_limits<int>::max());
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Command2, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Text3, 2, 1, 1, 2);
    grid->addWidget(Command1, 3, 0, 1, 3);

    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form6::Command2_Click);

    Text2->setText(DateTexts::dateText(Clock::instance().today().addDays(1)));
}

void Form6::openForChange(const BlacklistBook::Row &row)
{
    Text1->setEnabled(false);
    Text1->setText(row.number);
    Text2->setText(row.until);
    Text3->setText(row.reason);
    Command1->setText(QStringLiteral("Изменить"));
}

void Form6::openForChatMember(const QString &number)
{
    // Whatever entry the window showed, the member is added: a change of another
    // number would write nothing.
    Command1->setText(QStringLiteral("Добавить"));
    Text1->setText(number);
    Text1->setEnabled(false);
    Text2->setText(DateTexts::dateText(Clock::instance().today().addDays(1)));
    Text3->setText(ChatReason);
}

void Form6::setPickedDate(const QString &dateText)
{
    Text2->setText(dateText);
}

void Form6::Command1_Click()
{
    const auto mode = Command1->text() == QStringLiteral("Добавить") ? BlacklistBook::SaveMode::Add
                                                                      : BlacklistBook::SaveMode::Change;
    switch (m_blacklist.save(mode, Text1->text(), Text2->text(), Text3->text())) {
    case BlacklistBook::SaveOutcome::FieldsMissing:
        Dialogs::instance().message(QStringLiteral("Ошибка"), BlacklistBook::FieldsMissingText);
        break;
    case BlacklistBook::SaveOutcome::NotEncodable:
        Dialogs::instance().message(QStringLiteral("Ошибка"), BlacklistBook::NotEncodableText);
        break;
    case BlacklistBook::SaveOutcome::NumberListed:
        Dialogs::instance().message(QStringLiteral("Чёрный список"), BlacklistBook::NumberListedText);
        break;
    case BlacklistBook::SaveOutcome::NotListed:
        Dialogs::instance().message(QStringLiteral("Чёрный список"), BlacklistBook::NotListedText);
        break;
    case BlacklistBook::SaveOutcome::NotWritten:
        Dialogs::instance().message(QStringLiteral("Ошибка"), BlacklistBook::NotWrittenText,
                                    Dialogs::Icon::Warning);
        break;
    case BlacklistBook::SaveOutcome::Saved:
        break;
    }
}

void Form6::Command2_Click()
{
    m_picker.request(DatePicker::Requester::BlacklistEntry);
    m_windows.show<Form30>(QStringLiteral("Form30"));
}

// --- Form5 -----------------------------------------------------------------------------

Form5::Form5(BlacklistBook &blacklist, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_blacklist(blacklist)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Чёрный список"));
    ListView1 = named(new QTreeView(this), "ListView1");
    m_model = new TextRowsModel({QStringLiteral("Номер ICQ"), QStringLiteral("Забанён до"), QStringLiteral("Причина")},
                                ListView1);
    ListView1->setModel(m_model);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1 = named(new QLabel(QStringLiteral("Введите номер который хотите найти:"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Command4 = named(new QPushButton(QStringLiteral("Поиск"), this), "Command4");
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Изменить"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Удалить"), this), "Command3");
    Command2->setEnabled(false);
    Command3->setEnabled(false);

    auto *search = new QHBoxLayout;
    search->addWidget(Label1);
    search->addWidget(Text1, 1);
    search->addWidget(Command4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addLayout(search);
    layout->addLayout(buttons);

    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Form5::updateButtons);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form5::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form5::Command4_Click);
    connect(&blacklist, &BlacklistBook::changed, this, &Form5::refill);

    refill();
}

void Form5::refill()
{
    // The selected row stays selected when it is still listed.
    const int selected = selectedRow();
    const std::optional<BlacklistBook::Row> kept =
        selected >= 0 ? std::optional(m_rows.at(selected)) : std::nullopt;
    m_rows = BlacklistBook::rows();
    QList<QStringList> texts;
    texts.reserve(m_rows.size());
    int reselect = -1;
    for (const BlacklistBook::Row &row : std::as_const(m_rows)) {
        if (kept && reselect < 0 && row.number == kept->number && row.chatBan == kept->chatBan)
            reselect = int(texts.size());
        texts.append({row.number, row.until, row.reason});
    }
    m_model->setRows(std::move(texts));
    if (reselect >= 0)
        selectRow(reselect);
    updateButtons();
}

void Form5::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    ListView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
}

int Form5::selectedRow() const
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return -1;
    const int row = selected.first().row();
    return row >= 0 && row < m_rows.size() ? row : -1;
}

void Form5::updateButtons()
{
    const int row = selectedRow();
    const bool chosen = row >= 0 && !m_rows.at(row).number.isEmpty();
    // A chat ban is changed by the chat's own commands, never through the entry window.
    Command2->setEnabled(chosen && !m_rows.at(row).chatBan);
    Command3->setEnabled(chosen);
}

void Form5::Command1_Click()
{
    m_windows.show<Form6>(QStringLiteral("Form6"));
}

void Form5::openForChange(const BlacklistBook::Row &row)
{
    if (Form6 *entry = m_windows.show<Form6>(QStringLiteral("Form6")))
        entry->openForChange(row);
}

void Form5::Command2_Click()
{
    const int row = selectedRow();
    if (row >= 0 && !m_rows.at(row).chatBan)
        openForChange(m_rows.at(row));
}

void Form5::Command3_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    // The row leaves the list through the refill once its file was written.
    m_blacklist.remove(m_rows.at(row));
}

void Form5::Command4_Click()
{
    const QString title = QStringLiteral("Поиск");
    const QString number = Text1->text();
    int from = 0;
    while (const std::optional<int> found = BlacklistBook::find(m_rows, number, from)) {
        const BlacklistBook::Row row = m_rows.at(*found);
        bool isNumber = false;
        const int answer = Dialogs::instance().input(title, BlacklistBook::searchPrompt()).trimmed().toInt(&isNumber);
        if (isNumber && answer == 1) {
            if (row.chatBan) {
                // A chat ban is only shown: its row is selected.
                selectRow(*found);
            } else {
                openForChange(row);
            }
            return;
        }
        if (isNumber && answer == 2) {
            m_blacklist.remove(row);
            return;
        }
        from = *found + 1;
    }
    Dialogs::instance().message(title, BlacklistBook::NotFoundText);
}

#include "recordwindows/log_windows.h"

#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "records/datepicker.h"
#include "records/messagelogmodel.h"
#include "recordwindows/calendar_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QTreeView>
#include <QPushButton>
#include <QVBoxLayout>

using WindowKit::named;

// --- Form7 -----------------------------------------------------------------------------

Form7::Form7(DatePicker &picker, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_picker(picker)
    , m_windows(windows)
    , m_log(new MessageLogModel(this))
{
    setWindowTitle(QStringLiteral("Логи"));
    Label1 = named(new QLabel(QStringLiteral("Показать логи за :"), this), "Label1");
    Text2 = named(new QLineEdit(this), "Text2");
    Command2 = named(new QPushButton(QStringLiteral("Выбрать дату"), this), "Command2");
    Command1 = named(new QPushButton(QStringLiteral("Показать"), this), "Command1");
    Text1 = named(new QTreeView(this), "Text1");
    Text1->setUniformRowHeights(true);
    Text1->setRootIsDecorated(false);
    Text1->setHeaderHidden(true);
    // Wide enough for the lines on screen; the others are never measured.
    Text1->header()->setResizeContentsPrecision(0);
    Text1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Text1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Text1->setModel(m_log);

    auto *day = new QHBoxLayout;
    day->addWidget(Label1);
    day->addWidget(Text2, 1);
    day->addWidget(Command2);
    day->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(day);
    layout->addWidget(Text1, 1);

    connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form7::Command2_Click);

    m_log->loadAll();
}

void Form7::setPickedDate(const QString &dateText)
{
    Text2->setText(dateText);
}

void Form7::Command1_Click()
{
    m_log->loadDay(Text2->text());
}

void Form7::Command2_Click()
{
    m_picker.request(DatePicker::Requester::Log);
    m_windows.show<Form30>(QStringLiteral("Form30"));
}

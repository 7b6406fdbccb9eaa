#include "settings/tutorial_window.h"

#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

const QList<QString> Form26::Texts = {
    QStringLiteral(
        "Добрый день!\n"
        "Сейчас Вы узнаете, как работать с программой. Обучение расскажет о четырёх вещах: "
        "настройке программы; добавлении, удалении и изменении команд; добавлении и удалении групп; "
        "запуске программы. Всё остальное описано в файле помощи \"Помощь.txt\" (меню \"О программе\", "
        "пункт \"Помощь\").\n"
        "Нажмите \"Следующий шаг\". Если обучение Вам не нужно, просто закройте это окно."),
    QStringLiteral(
        "Настрой программы.\n"
        "Открылось окно настроек. На главной странице укажите сервер, через который бот входит в ICQ "
        "(по умолчанию login.icq.com), и порт (по умолчанию 5190; этот порт должен быть открыт). Там же "
        "можно сделать так, чтобы программа запускалась вместе с системой."),
    QStringLiteral(
        "Настрой программы.\n"
        "На других страницах настроек задаются автоматический вход, звуки, всплывающее окно (поверх "
        "всех окон и сколько секунд оно видно на экране) и имитация человека."),
    QStringLiteral(
        "Добавление команды.\n"
        "Открылось окно управления командами. Чтобы добавить команду, нажмите кнопку добавления, "
        "введите название команды, выберите её группу (сначала есть только группа \"Общая\") и способ "
        "обработки команды."),
    QStringLiteral("Добавление команды.\n"
                   "Способов обработки четыре: ответ текстом; ответ из файла; ответ файлом, скачанным из "
                   "интернета; ответ файлом, который пишет другая программа, запускаемая ботом."),
    QStringLiteral(
        "Изменение/удаление команды.\n"
        "Чтобы изменить или удалить команду, выберите её в окне управления командами и нажмите кнопку "
        "изменения: мастер проведёт Вас по шагам."),
    QStringLiteral(
        "Добавление/удаление группы.\n"
        "Открылось окно управления группами. Здесь можно добавить группу, добавить в неё номера ICQ и "
        "команды, а также удалить их."),
    QStringLiteral(
        "Запуск программы.\n"
        "Если автоматический вход настроен, бот войдёт в ICQ сам. Иначе введите номер и пароль бота, "
        "при желании отметьте \"Запомнить пароль\" и нажмите \"Войти\". Если нет подключения к сети или "
        "данные неверны, программа сообщит об этом.\n"
        "Обучение пройдено. Нажмите \"Следующий шаг\", чтобы закрыть это окно."),
};

Form26::Form26(WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(Caption);
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < Texts.size(); ++i) {
        auto *label = new QLabel(Texts.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setMinimumWidth(420);
        layout->addWidget(label, 1);
        labels.append(label);
    }
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    layout->addWidget(Line1);

    Command2 = new QPushButton(QStringLiteral("Назад"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1 = new QPushButton(QStringLiteral("Следующий шаг"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &Form26::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form26::Command2_Click);
    Form_Load();
}

void Form26::Form_Load()
{
    m_tutorial.restart();
    showLabel(0);
    Command2->setEnabled(false);
}

void Form26::showEvent(QShowEvent *event)
{
    // Shown again after its last step: a new tutorial, not a window with nowhere to go.
    if (m_tutorial.finished())
        Form_Load();
    QWidget::showEvent(event);
}

void Form26::Command1_Click()
{
    if (m_tutorial.finished())
        return;
    const int step = m_tutorial.next();
    Command2->setEnabled(true);
    if (step == Tutorial::FinalStep) {
        const TextFile::Result written = Tutorial::writeMarker();
        if (!written)
            Dialogs::instance().message(MarkerFailedTitle, MarkerFailedText.arg(written.error),
                                        Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        WindowKit::hideInFrame(this);
        return;
    }
    arrive(step);
}

void Form26::Command2_Click()
{
    if (!m_tutorial.canGoBack())
        return;
    const int step = m_tutorial.back();
    if (step == 0) {
        // The text and the windows stay as they are.
        Command2->setEnabled(false);
        return;
    }
    arrive(step);
}

void Form26::arrive(int step)
{
    showLabel(step);
    for (const Tutorial::WindowAction &action : Tutorial::arrivalActions(step)) {
        if (action.kind == Tutorial::WindowAction::Kind::Show)
            placeBeside(m_windows.showWindow(action.window));
        else
            m_windows.hideWindow(action.window);
    }
}

void Form26::placeBeside(QWidget *window)
{
    // The window the text talks about goes next to the text, not over it: to its right or
    // left, else below or above it.
    if (!window)
        return;
    QWidget *own = WindowKit::frameOf(this);
    QWidget *other = WindowKit::frameOf(window);
    if (own == other || !own->isWindow() != !other->isWindow() || own->parentWidget() != other->parentWidget())
        return;
    const QRect area = own->isWindow() ? screen()->availableGeometry() : own->parentWidget()->rect();
    const QRect text = own->frameGeometry();
    const QSize size = other->frameGeometry().size();
    const int top = std::clamp(text.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    const int left = std::clamp(text.left(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    if (text.right() + 1 + size.width() <= area.right() + 1) {
        other->move(text.right() + 1, top);
    } else if (text.left() - size.width() >= area.left()) {
        other->move(text.left() - size.width(), top);
    } else if (text.bottom() + 1 + size.height() <= area.bottom() + 1) {
        other->move(left, text.bottom() + 1);
    } else if (text.top() - size.height() >= area.top()) {
        other->move(left, text.top() - size.height());
    } else {
        // No room beside the text where it stands: the text to the left edge, the window
        // as far right as the area allows.
        own->move(area.left(), text.top());
        other->move(std::max(area.left(), std::min(area.left() + text.width(), area.right() + 1 - size.width())), top);
    }
}

void Form26::showLabel(int step)
{
    for (int i = 0; i < labels.size(); ++i)
        labels.at(i)->setVisible(i == step);
}

#include "mainwindow/main_window.h"

#include "core/namedtimer.h"
#include "mainwindow/mainmenu.h"
#include "mainwindow/pictures.h"
#include "mainwindow/windowfit.h"
#include "platform/windowkit.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtDebug>

#include <functional>
#include <utility>

namespace {

// The frame of a child window. A window inside the MDI area cannot close its frame
// itself (its window() is the main window), so when it closes itself the frame
// follows; the window is then gone, as after closing the frame.
class ChildFrame : public QMdiSubWindow
{
public:
    ChildFrame(QWidget *content, std::function<void()> closed)
        : m_closed(std::move(closed))
    {
        setWidget(content);
        setAttribute(Qt::WA_DeleteOnClose);
        content->installEventFilter(this);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_closing = true;
        QMdiSubWindow::closeEvent(event);
        m_closing = false;
        if (event->isAccepted() && m_closed)
            m_closed();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && watched == widget() && !m_closing) {
            // Whether the window accepted its close is known only after its handler.
            QTimer::singleShot(0, this, [this] {
                QWidget *content = widget();
                if (content && !content->isHidden())
                    return;
                delete content;
                close();
            });
        }
        return QMdiSubWindow::eventFilter(watched, event);
    }

private:
    std::function<void()> m_closed;
    bool m_closing = false;
};

struct TimerDesign
{
    const char *name;
    int intervalMs;
};

// Every timer starts off; the interval is the design value that arming code may replace.
constexpr TimerDesign timerDesigns[] = {
    {"Timer1", 0},  {"Timer2", 3000},   {"Timer4", 1000},      {"Timer5", 1000},    {"Timer6", 1000},
    {"Timer7", 0},  {"Timer9", 200},    {"Timer10", 5000},     {"auto_soob", 0},    {"chat_tim", 10000},
    {"ban", 60000}, {"rasperd", 20000}, {"timer_chat", 60000}, {"perepodk", 60000}, {"perepodk1", 30000},
    {"news_t", 0},  {"obno_t", 0},
};

} // namespace

MDIForm1::MDIForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Korvane"));
    setWindowIcon(Pictures::programIcon());
    // No toolbar toggling menu: the toolbar is always there.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);

    m_timers = new TimerRegistry(this);
    m_timers->setObjectName(QStringLiteral("timers"));

    buildMenus();
    buildToolbar();
    buildStatusBar();
    addTimers();

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::updateWindowList);
    resize(960, 680);
}

MDIForm1::~MDIForm1()
{
    // Tear the windows down while this object is still whole: their destruction
    // must not reach back into a half-destroyed main window.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (const QPointer<QWidget> &window : std::as_const(m_openWindows)) {
        if (window && window->isWindow())
            delete window.data();
    }
    delete m_mdiArea;
    m_mdiArea = nullptr;
}

QWidget *MDIForm1::showWindow(const QString &name)
{
    if (QWidget *open = findWindow(name)) {
        QWidget *frame = frameOf(name);
        if (frame->isMinimized())
            frame->showNormal();
        else
            frame->show();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(frame)) {
            m_mdiArea->setActiveSubWindow(sub);
        } else {
            frame->raise();
            frame->activateWindow();
        }
        return open;
    }

    if (!m_roster.contains(name)) {
        qWarning("MDIForm1: no window named %s", qPrintable(name));
        return nullptr;
    }
    QWidget *widget = m_roster.create(name, this);
    if (!widget) {
        qWarning("MDIForm1: window %s could not be made", qPrintable(name));
        return nullptr;
    }
    m_openWindows.insert(name, widget);

    if (m_roster.placement(name) == WindowRoster::Placement::Child) {
        auto *frame = new ChildFrame(widget, [this] { updateWindowList(); });
        frame->setObjectName(name + QStringLiteral("Frame"));
        m_mdiArea->addSubWindow(frame);
        // Without this the frame shows the toolkit's icon, not the program's.
        frame->setWindowIcon(widget->windowIcon());
        frame->show();
        if (!frame->testAttribute(Qt::WA_Resized))
            frame->resize(frame->sizeHint().boundedTo(m_mdiArea->viewport()->size()));
        WindowFit::widenForCaption(frame, m_mdiArea->viewport()->width());
        m_mdiArea->setActiveSubWindow(frame);
    } else {
        if (!widget->isWindow())
            widget->setParent(this, widget->windowFlags() | Qt::Window);
        widget->setAttribute(Qt::WA_DeleteOnClose);
        // Only the main window's close ends the program, also while it sits in the tray.
        widget->setAttribute(Qt::WA_QuitOnClose, false);
        widget->show();
        WindowFit::widenForCaption(widget, widget->screen()->availableGeometry().width());
        widget->raise();
        widget->activateWindow();
    }
    return widget;
}

bool MDIForm1::registerFactory(const QString &name, Factory factory)
{
    return m_roster.registerFactory(name, std::move(factory));
}

void MDIForm1::addWindow(const QString &name, const QString &caption, Placement placement, Factory factory)
{
    m_roster.addWindow(name, caption, placement, std::move(factory));
}

QWidget *MDIForm1::findWindow(const QString &name) const
{
    QWidget *widget = m_openWindows.value(name).data();
    if (!widget)
        return nullptr;
    QWidget *frame = frameOf(name);
    if (auto *sub = qobject_cast<QMdiSubWindow *>(frame)) {
        // A closed frame leaves the area at once but is deleted only later.
        return m_mdiArea->subWindowList().contains(sub) ? widget : nullptr;
    }
    // Closing clears WA_DeleteOnClose while the deletion is pending.
    return frame && frame->testAttribute(Qt::WA_DeleteOnClose) ? widget : nullptr;
}

QAction *MDIForm1::action(const QString &name) const
{
    return m_actions.value(name);
}

QMenu *MDIForm1::menu(const QString &name) const
{
    return m_menus.value(name);
}

void MDIForm1::setStatusText(const QString &text)
{
    m_statusPanel->setText(text);
}

QString MDIForm1::statusText() const
{
    return m_statusPanel->text();
}

void MDIForm1::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    for (const MainMenuEntry &entry : mainMenuEntries()) {
        const QString name = QString::fromLatin1(entry.name);
        const QString caption = QString::fromUtf8(entry.caption);
        QMenu *parentMenu = entry.parent ? m_menus.value(QString::fromLatin1(entry.parent)) : nullptr;

        QAction *action = nullptr;
        switch (entry.kind) {
        case MainMenuEntry::Menu: {
            QMenu *menu = parentMenu ? parentMenu->addMenu(caption) : bar->addMenu(caption);
            menu->setObjectName(name);
            m_menus.insert(name, menu);
            action = menu->menuAction();
            break;
        }
        case MainMenuEntry::Separator:
            action = parentMenu->addSeparator();
            break;
        case MainMenuEntry::Item:
            action = new QAction(caption, this);
            if (parentMenu)
                parentMenu->addAction(action);
            else
                bar->addAction(action);
            break;
        }

        action->setObjectName(name);
        action->setCheckable(entry.flags & MainMenuEntry::Checkable);
        action->setChecked(entry.flags & MainMenuEntry::Checked);
        action->setEnabled(!(entry.flags & MainMenuEntry::Disabled));
        if (entry.flags & MainMenuEntry::WindowList)
            m_windowListMenu = parentMenu;
        if (entry.opens) {
            const QString window = QString::fromLatin1(entry.opens);
            connect(action, &QAction::triggered, this, [this, window] { showWindow(window); });
        }
        m_actions.insert(name, action);
    }

    connect(action(QStringLiteral("soft_kask")), &QAction::triggered, this, &MDIForm1::cascadeInsideArea);
    if (m_windowListMenu)
        connect(m_windowListMenu, &QMenu::aboutToShow, this, &MDIForm1::updateWindowList);
}

void MDIForm1::buildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    for (const ToolbarEntry &entry : toolbarEntries()) {
        const QString key = QString::fromLatin1(entry.key);
        const QString toolTip = QString::fromUtf8(entry.toolTip);
        auto *button =
            new QAction(Pictures::toolbarPicture(QString::fromLatin1(entry.picture)), toolTip, this);
        button->setObjectName(key);
        button->setToolTip(toolTip);
        m_toolbar->addAction(button);
        if (QWidget *widget = m_toolbar->widgetForAction(button))
            widget->setObjectName(key);
        const QString window = QString::fromLatin1(entry.opens);
        connect(button, &QAction::triggered, this, [this, window] { showWindow(window); });
        m_actions.insert(key, button);
    }
}

void MDIForm1::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(m_statusBar);

    m_statusPanel = new QLabel(m_statusBar);
    m_statusPanel->setObjectName(QStringLiteral("Panel1"));
    m_statusBar->addWidget(m_statusPanel, 1);
    m_statusBar->installEventFilter(this);
    m_statusPanel->installEventFilter(this);
}

bool MDIForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && (watched == m_statusBar || watched == m_statusPanel))
        showWindow(QStringLiteral("Form3"));
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::addTimers()
{
    for (const TimerDesign &design : timerDesigns)
        m_timers->add(QString::fromLatin1(design.name), design.intervalMs);
}

void MDIForm1::cascadeInsideArea()
{
    // The toolkit's cascade walks on past the bottom of a small frame; this one starts a
    // new run at the top-left whenever the next window would leave the work area.
    const QRect area = m_mdiArea->viewport()->rect();
    const int step = std::max(8, m_mdiArea->fontMetrics().height() + 8);
    int run = 0;
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList(QMdiArea::StackingOrder)) {
        if (frame->isHidden() || frame->isMinimized())
            continue;
        if (frame->isMaximized())
            frame->showNormal();
        const QSize size = frame->size().boundedTo(area.size());
        QPoint at(run * step, run * step);
        if (at.x() + size.width() > area.width() || at.y() + size.height() > area.height()) {
            run = 0;
            at = QPoint(0, 0);
        }
        frame->setGeometry(QRect(area.topLeft() + at, size));
        frame->raise();
        ++run;
    }
}

void MDIForm1::updateWindowList()
{
    if (!m_windowListMenu)
        return;
    // Entries go later: this may run inside one of their own triggered signals.
    for (QAction *entry : std::as_const(m_windowListEntries)) {
        m_windowListMenu->removeAction(entry);
        entry->deleteLater();
    }
    m_windowListEntries.clear();

    QMdiSubWindow *current = m_mdiArea->currentSubWindow();
    const QList<QMdiSubWindow *> frames = m_mdiArea->subWindowList();
    for (QMdiSubWindow *frame : frames) {
        QWidget *content = frame->widget();
        // A window hidden by its own code is not open for the operator.
        if (frame->isHidden() || (content && content->isHidden()))
            continue;
        QString title = content ? content->windowTitle() : frame->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *entry = new QAction(title, m_windowListMenu);
        entry->setObjectName(QStringLiteral("openWindow_") +
                             (content ? content->objectName() : frame->objectName()));
        entry->setCheckable(true);
        entry->setChecked(frame == current);
        const QPointer<QMdiSubWindow> target(frame);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            else
                target->show();
            m_mdiArea->setActiveSubWindow(target);
        });
        m_windowListMenu->addAction(entry);
        m_windowListEntries.append(entry);
    }
}

QWidget *MDIForm1::frameOf(const QString &name) const
{
    QWidget *widget = m_openWindows.value(name).data();
    if (!widget)
        return nullptr;
    return WindowKit::frameOf(widget);
}

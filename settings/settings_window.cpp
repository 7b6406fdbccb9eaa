#include "settings/settings_window.h"

#include "settings/admin_page.h"
#include "settings/autologin_page.h"
#include "settings/autoopen_page.h"
#include "settings/bot_numbers_page.h"
#include "settings/connection_page.h"
#include "settings/imitation_page.h"
#include "settings/popup_page.h"
#include "settings/sounds_page.h"
#include "settings/settingspage.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

SettingsTab::SettingsTab(const QString &name, const QString &caption, const QString &toolTip, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(toolTip);
    Label1 = new QLabel(caption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
}

void SettingsTab::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    // Only the operator's own moves switch the page; the focus that window activation
    // hands out must not undo a page chosen by the program.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        emit gotFocus();
        break;
    default:
        break;
    }
}

void SettingsTab::mousePressEvent(QMouseEvent *event)
{
    // A click gives the focus only in the active window; the page should switch anyway.
    QFrame::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        emit gotFocus();
    }
}

namespace {

template<typename Page>
SettingsPage *makePage(QWidget *parent)
{
    return new Page(parent);
}

} // namespace

Form1::Form1(QWidget *parent)
    : Form1(PageFactory(), parent)
{}

Form1::Form1(const PageFactory &pageFactory, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    auto *tabs = new QVBoxLayout(Picture1);

    m_pageArea = new QWidget(this);
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    auto *stack = new QGridLayout(m_pageArea);
    stack->setContentsMargins(0, 0, 0, 0);

    // A page plugs in by the maker of its row.
    const struct
    {
        SettingsTab **tab;
        const char *name;
        const char *caption;
        const char *toolTip;
        SettingsPage **page;
        const char *pageName;
        SettingsPage *(*make)(QWidget *parent);
    } rows[] = {
        {&nast1, "nast1", "Основные ", "Здесь указываються основыне настройки программы.", &nast_v1, "nast_v1",
         makePage<nast_v>},
        {&nast_a1, "nast_a1", "Автовход", "Настройки автовхода.", &nast_a_v1, "nast_a_v1", makePage<nast_a_v>},
        {&nast_b1, "nast_b1", "Звуки", "Настройки звука", &nast_b_v1, "nast_b_v1", makePage<nast_b_v>},
        {&nast_c1, "nast_c1", "Всплывающее окно", "Настройки всплывающего окна", &nast_c_v1, "nast_c_v1",
         makePage<nast_c_v>},
        {&nast_d1, "nast_d1", "Имитация человека", "Настройки имитации человека.", &nast_d_v1, "nast_d_v1",
         makePage<nast_d_v>},
        {&UserControl11, "UserControl11", "Автооткрытие окон", "", &UserControl21, "UserControl21",
         makePage<UserControl2>},
        {&UserControl31, "UserControl31", "Администраторский раздел", "", &UserControl41, "UserControl41",
         makePage<UserControl4>},
        {&UserControl61, "UserControl61", "Распределение пл-лей", "", nullptr, "UserControl51",
         makePage<UserControl5>},
    };
    for (const auto &row : rows) {
        auto *tab = new SettingsTab(QString::fromUtf8(row.name), QString::fromUtf8(row.caption),
                                    QString::fromUtf8(row.toolTip), Picture1);
        *row.tab = tab;
        tabs->addWidget(tab);

        const QString pageName = QString::fromLatin1(row.pageName);
        SettingsPage *page = pageFactory ? pageFactory(pageName, m_pageArea) : nullptr;
        if (!page)
            page = row.make(m_pageArea);
        page->setParent(m_pageArea);
        // Pages are found by their names, whatever made them.
        page->setObjectName(pageName);
        if (row.page)
            *row.page = page;
        // All pages share one cell: only the visible one is shown, but a hidden page still
        // counts for the size, so the window is as large as its largest page and switching
        // pages never cuts a label or a button.
        QSizePolicy policy = page->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        page->setSizePolicy(policy);
        stack->addWidget(page, 0, 0);
        m_pages.append(page);
        connect(tab, &SettingsTab::gotFocus, this, [this, page] { showOnlyPage(page); });
        connect(page, &SettingsPage::changed, this, [this, page] { emit pageChanged(page); });
    }
    UserControl51 = qobject_cast<UserControl5 *>(page(QStringLiteral("UserControl51")));
    tabs->addStretch();
    // The keyboard goes from tab to tab, then into the visible page.
    const QList<SettingsTab *> tabOrder = Picture1->findChildren<SettingsTab *>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Picture1);
    layout->addWidget(m_pageArea, 1);

    // The window's load: every page fills itself from its file, then the main page shows.
    for (SettingsPage *page : std::as_const(m_pages))
        page->load();
    showOnlyPage(nast_v1);
}

void Form1::showOnlyPage(QWidget *page)
{
    const auto found = std::find(m_pages.cbegin(), m_pages.cend(), page);
    if (found == m_pages.cend())
        return;
    // Hide the others first so the page area never holds two pages at once.
    for (QWidget *other : std::as_const(m_pages)) {
        if (other != page)
            other->setVisible(false);
    }
    page->setVisible(true);
}

bool Form1::showOnlyPage(const QString &pageName)
{
    QWidget *named = page(pageName);
    if (!named)
        return false;
    showOnlyPage(named);
    return true;
}

void Form1::showDistributionPage()
{
    showOnlyPage(QStringLiteral("UserControl51"));
}

SettingsPage *Form1::visiblePage() const
{
    for (SettingsPage *page : m_pages) {
        if (!page->isHidden())
            return page;
    }
    return nullptr;
}

SettingsPage *Form1::page(const QString &pageName) const
{
    for (SettingsPage *page : m_pages) {
        if (page->objectName() == pageName)
            return page;
    }
    return nullptr;
}

bool Form1::hasChanged() const
{
    for (const SettingsPage *page : m_pages) {
        if (page->hasChanged())
            return true;
    }
    return false;
}

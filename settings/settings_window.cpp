#include "settings/settings_window.h"

#include "settings/bot_numbers_page.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

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

// Pages whose own controls come later are plain widgets under their names.
QWidget *placeholderPage(const QString &name, QWidget *parent)
{
    auto *page = new QWidget(parent);
    page->setObjectName(name);
    return page;
}

} // namespace

Form1::Form1(QWidget *parent)
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

    nast_v1 = placeholderPage(QStringLiteral("nast_v1"), m_pageArea);
    nast_a_v1 = placeholderPage(QStringLiteral("nast_a_v1"), m_pageArea);
    nast_b_v1 = placeholderPage(QStringLiteral("nast_b_v1"), m_pageArea);
    nast_c_v1 = placeholderPage(QStringLiteral("nast_c_v1"), m_pageArea);
    nast_d_v1 = placeholderPage(QStringLiteral("nast_d_v1"), m_pageArea);
    UserControl21 = placeholderPage(QStringLiteral("UserControl21"), m_pageArea);
    UserControl41 = placeholderPage(QStringLiteral("UserControl41"), m_pageArea);
    UserControl51 = new UserControl5(m_pageArea);
    UserControl51->setObjectName(QStringLiteral("UserControl51"));

    const struct
    {
        SettingsTab **tab;
        const char *name;
        const char *caption;
        const char *toolTip;
        QWidget *page;
    } rows[] = {
        {&nast1, "nast1", "Основные ", "Здесь указываються основыне настройки программы.", nast_v1},
        {&nast_a1, "nast_a1", "Автовход", "Настройки автовхода.", nast_a_v1},
        {&nast_b1, "nast_b1", "Звуки", "Настройки звука", nast_b_v1},
        {&nast_c1, "nast_c1", "Всплывающее окно", "Настройки всплывающего окна", nast_c_v1},
        {&nast_d1, "nast_d1", "Имитация человека", "Настройки имитации человека.", nast_d_v1},
        {&UserControl11, "UserControl11", "Автооткрытие окон", "", UserControl21},
        {&UserControl31, "UserControl31", "Администраторский раздел", "", UserControl41},
        {&UserControl61, "UserControl61", "Распределение пл-лей", "", UserControl51},
    };
    for (const auto &row : rows) {
        auto *tab = new SettingsTab(QString::fromUtf8(row.name), QString::fromUtf8(row.caption),
                                    QString::fromUtf8(row.toolTip), Picture1);
        *row.tab = tab;
        tabs->addWidget(tab);
        QWidget *page = row.page;
        // All pages share one cell: only the visible one is shown, but a hidden page still
        // counts for the size, so the window is as large as its largest page and switching
        // pages never cuts a label or a button.
        QSizePolicy policy = page->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        page->setSizePolicy(policy);
        stack->addWidget(page, 0, 0);
        m_pages.append(page);
        connect(tab, &SettingsTab::gotFocus, this, [this, page] { showOnlyPage(page); });
    }
    tabs->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Picture1);
    layout->addWidget(m_pageArea, 1);

    showOnlyPage(nast_v1);
}

void Form1::showOnlyPage(QWidget *page)
{
    if (!m_pages.contains(page))
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
    showOnlyPage(UserControl51);
}

QWidget *Form1::visiblePage() const
{
    for (QWidget *page : m_pages) {
        if (!page->isHidden())
            return page;
    }
    return nullptr;
}

QWidget *Form1::page(const QString &pageName) const
{
    for (QWidget *page : m_pages) {
        if (page->objectName() == pageName)
            return page;
    }
    return nullptr;
}

#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class SettingsPage;
class UserControl5;

// One tab of the settings window's left column: a caption in a frame. It does nothing
// itself; the window switches the page when the tab gets the focus (click or keyboard).
class SettingsTab : public QFrame
{
    Q_OBJECT
public:
    SettingsTab(const QString &name, const QString &caption, const QString &toolTip, QWidget *parent);

    QLabel *Label1 = nullptr;

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// The settings window "Настройки": eight tabs on the left, eight pages lying on top of
// each other on the right, one visible at a time. The window drives its pages through
// the SettingsPage contract: it makes them, loads every one when it loads, and follows
// their changes; each page writes its own file by its own "Применить". It opens on
// "Основные настройки".
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Настройки");

    // The page of that name, or nullptr for the window's own one (for tests and for pages
    // that are made elsewhere).
    using PageFactory = std::function<SettingsPage *(const QString &pageName, QWidget *parent)>;

    explicit Form1(QWidget *parent = nullptr);
    explicit Form1(const PageFactory &pageFactory, QWidget *parent = nullptr);

    // Makes that page visible and the seven others invisible; the tabs stay usable.
    void showOnlyPage(QWidget *page);
    // The same by the page's name ("UserControl51"); false for a name that is no page.
    bool showOnlyPage(const QString &pageName);
    // The distribution page alone, as the login paths show it when no secondary bot exists.
    void showDistributionPage();

    // The page not hidden (nullptr while every page is hidden).
    SettingsPage *visiblePage() const;
    SettingsPage *page(const QString &pageName) const;
    // In the order of the tabs.
    const QList<SettingsPage *> &pages() const { return m_pages; }

    // True when a page shows something not yet applied.
    bool hasChanged() const;

    QFrame *Picture1 = nullptr;
    SettingsTab *nast1 = nullptr;
    SettingsTab *nast_a1 = nullptr;
    SettingsTab *nast_b1 = nullptr;
    SettingsTab *nast_c1 = nullptr;
    SettingsTab *nast_d1 = nullptr;
    SettingsTab *UserControl11 = nullptr;
    SettingsTab *UserControl31 = nullptr;
    SettingsTab *UserControl61 = nullptr;

    SettingsPage *nast_v1 = nullptr;
    SettingsPage *nast_a_v1 = nullptr;
    SettingsPage *nast_b_v1 = nullptr;
    SettingsPage *nast_c_v1 = nullptr;
    SettingsPage *nast_d_v1 = nullptr;
    SettingsPage *UserControl21 = nullptr;
    SettingsPage *UserControl41 = nullptr;
    // nullptr when a page factory put another page in its place.
    UserControl5 *UserControl51 = nullptr;

signals:
    // A page's shown values changed (loaded, edited, reset).
    void pageChanged(SettingsPage *page);

private:
    QWidget *m_pageArea = nullptr;
    QList<SettingsPage *> m_pages;
};

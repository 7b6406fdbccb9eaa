#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
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
// each other on the right, one visible at a time. Each page reads and writes its own
// file; the window only switches between them. It opens on "Основные настройки".
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Настройки");

    explicit Form1(QWidget *parent = nullptr);

    // Makes that page visible and the seven others invisible; the tabs stay usable.
    void showOnlyPage(QWidget *page);
    // The same by the page's name ("UserControl51"); false for a name that is no page.
    bool showOnlyPage(const QString &pageName);
    // The distribution page alone, as the login paths show it when no secondary bot exists.
    void showDistributionPage();

    // The page not hidden (nullptr while every page is hidden).
    QWidget *visiblePage() const;
    QWidget *page(const QString &pageName) const;
    const QList<QWidget *> &pages() const { return m_pages; }

    QFrame *Picture1 = nullptr;
    SettingsTab *nast1 = nullptr;
    SettingsTab *nast_a1 = nullptr;
    SettingsTab *nast_b1 = nullptr;
    SettingsTab *nast_c1 = nullptr;
    SettingsTab *nast_d1 = nullptr;
    SettingsTab *UserControl11 = nullptr;
    SettingsTab *UserControl31 = nullptr;
    SettingsTab *UserControl61 = nullptr;

    QWidget *nast_v1 = nullptr;
    QWidget *nast_a_v1 = nullptr;
    QWidget *nast_b_v1 = nullptr;
    QWidget *nast_c_v1 = nullptr;
    QWidget *nast_d_v1 = nullptr;
    QWidget *UserControl21 = nullptr;
    QWidget *UserControl41 = nullptr;
    UserControl5 *UserControl51 = nullptr;

private:
    QWidget *m_pageArea = nullptr;
    QList<QWidget *> m_pages;
};

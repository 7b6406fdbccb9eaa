#pragma once

#include "settings/pagemessages.h"
#include "settings/settingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>

// A settings page over its file logic: a Settings class with load(), save() giving a
// PageSave, defaults(), hasChanged() and values(). The page only builds its controls,
// shows the values in them and reads them back; loading, saving, resetting and
// following the operator's edits are done here, the same for every page.
template<typename Settings>
class LogicPage : public SettingsPage
{
public:
    using Values = typename Settings::Values;

    explicit LogicPage(QWidget *parent = nullptr)
        : SettingsPage(parent)
    {}

    Settings &settings() { return m_settings; }

    void load() override
    {
        m_settings.load();
        refresh();
    }
    SaveResult save() override
    {
        const PageSave saved = m_settings.save();
        afterSave();
        return PageMessages::result(saved);
    }
    void defaults() override
    {
        m_settings.defaults();
        refresh();
    }
    bool hasChanged() const override { return m_settings.hasChanged(); }

protected:
    // Puts the values into the controls.
    virtual void showValues(const Values &values) = 0;
    // Reads the controls into the values.
    virtual void takeValues(Values &values) const = 0;
    // After a save, whatever its outcome; the controls are left as they are.
    virtual void afterSave() {}

    // Shows the logic's values; the controls' own change signals are not taken back.
    void refresh()
    {
        m_showing = true;
        showValues(m_settings.values());
        m_showing = false;
        emit changed();
    }

    // An edit in these controls goes into the values at once.
    void follow(std::initializer_list<QCheckBox *> boxes)
    {
        for (QCheckBox *box : boxes)
            connect(box, &QCheckBox::toggled, this, &LogicPage::take);
    }
    void follow(std::initializer_list<QLineEdit *> boxes)
    {
        for (QLineEdit *box : boxes)
            connect(box, &QLineEdit::textChanged, this, &LogicPage::take);
    }
    void follow(QComboBox *box) { connect(box, &QComboBox::editTextChanged, this, &LogicPage::take); }

private:
    void take()
    {
        if (m_showing)
            return;
        takeValues(m_settings.values());
        emit changed();
    }

    Settings m_settings;
    bool m_showing = false;
};

#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QPlainTextEdit;
class QPushButton;

// The licence window "Лицензионное соглашение", shown modal at start until the user
// accepts. Accepting writes the agreement marker and ends the program, so the bot runs
// from the next start; declining or closing the window ends the program too.
class Form48 : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(bool AgreementAccepted READ AgreementAccepted)
public:
    using EndProgram = std::function<void()>;

    static inline const QString Caption = QStringLiteral("Лицензионное соглашение");
    static inline const QString MarkerFailedTitle = QStringLiteral("Ошибка");
    static inline const QString MarkerFailedText =
        QStringLiteral("Не удалось сохранить согласие с условиями (%1). Проверьте права на папку программы "
                       "и запустите программу ещё раз.");
    static const QString LicenceText;

    explicit Form48(QWidget *parent = nullptr);

    // Room to read the agreement.
    QSize sizeHint() const override { return {520, 420}; }

    // Set to false when the window loads; the window never sets it, so closing it
    // always ends the program.
    bool AgreementAccepted() const { return m_agreementAccepted; }

    // "Принимаю условия": the marker, a notice, the end of the program. When the
    // marker cannot be written the window says so and stays open.
    void Command1_Click();
    // "НЕ Принимаю условия": ends the program, writes nothing.
    void Command2_Click();

    // How the program is ended; tests put their own in. nullptr restores the default,
    // which leaves every running event loop and the one started afterwards.
    static void setEndProgram(EndProgram endProgram);

    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape declines.
    void reject() override;

private:
    void endProgram();

    bool m_agreementAccepted = false;
    bool m_ending = false;
};

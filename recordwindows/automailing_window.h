#pragma once

#include "records/automailing.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TextRowsModel;

// "Авторассылка": the subscriber list, and one text mailed to it or to a range of
// numbers from the main bot, paced, with a progress bar and a stop button.
class Form19 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString AddTitle = QStringLiteral("Добавление");
    static inline const QString AddPrompt = QStringLiteral("введите ICQ номер подписчика");
    static const QString NothingToSend;
    static inline const QString BadRange =
        QStringLiteral("Произошла ошибка. Границы диапазона должны быть ICQ-номерами.");
    // %1: the number whose message could not go.
    static inline const QString SendFailed =
        QStringLiteral("Рассылка остановлена: сообщение на номер %1 отправить не удалось.");

    // %1 of %2 messages had gone when the window was closed.
    static inline const QString ClosedDuringMailing =
        QStringLiteral("Рассылка остановлена: окно авторассылки закрыто. Отправлено %1 из %2.");
    static inline const QString NotAdded =
        QStringLiteral("Подписчик не добавлен: не удалось записать список подписчиков.");
    static inline const QString NotStorable =
        QStringLiteral("Номер не может содержать переводы строк и символы, которых нет в кодировке Windows-1251.");

    Form19(AutoMailing::Sender sender, QWidget *parent = nullptr);
    // Closing the window ends a mailing under way, and says so.
    ~Form19() override;

    // The pause between two messages.
    void setPause(int ms) { m_mailing.setPause(ms); }
    const AutoMailing &mailing() const { return m_mailing; }

    void Command1_Click(); // "Послать"
    void Command2_Click(); // "Добавить"
    void Command3_Click(); // "Удалить"
    void Command4_Click(); // "Стоп"

    QLabel *Label1 = nullptr;
    QListView *List1 = nullptr; // over a model: a list of any length opens at once
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label7 = nullptr; // the time left
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;

private:
    void onSent(qint64 index, const QString &number);
    void onFinished();
    void showProgress();

    TextRowsModel *m_subscribers = nullptr;
    AutoMailing m_mailing;
    bool m_rangeMode = false;
    QList<int> m_rows; // list mode: the row of each number mailed to
};

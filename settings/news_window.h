#pragma once

#include <QWidget>

class QPlainTextEdit;

// "Новости": the collected news "\all_news.txt"; loading it deletes the downloaded
// "\news.txt".
class Form22 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Новости");

    explicit Form22(QWidget *parent = nullptr);

    QPlainTextEdit *Text1 = nullptr;

    void Form_Load();
};

#pragma once

#include <QWidget>

class QPlainTextEdit;

// "Помощь": the help file "\Помощь.txt" shown whole, in a window of its own. The file
// is read when the window loads; a missing file is said in the window.
class Form27 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Помощь");

    explicit Form27(QWidget *parent = nullptr);

    // A page of the help text at once.
    QSize sizeHint() const override { return {640, 480}; }

    QPlainTextEdit *Text1 = nullptr;

    void Form_Load();
};

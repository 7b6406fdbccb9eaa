#pragma once

#include "commandwindows/answer_pages.h"

#include <QWidget>

// Step 2 of the command wizard, "Добавление команды. Шаг 2.": the five answer pages,
// of which the one of the chosen kind is shown. A page that saved hides the window;
// the pages keep their values while the window is only hidden.
class Form14 : public QWidget
{
    Q_OBJECT
public:
    explicit Form14(CommandWizard &wizard, QWidget *parent = nullptr);

    // Shows the page of the kind alone, for the command step 1 handed over; the page
    // keeps that command until it is shown again. When the wizard changes a command (or
    // replaces one on the operator's Yes), the page shows that command's values, or its
    // design values when the command has an answer of another kind.
    void showPage(const CommandWizard::Handover &handover, CommandBase::AnswerKind kind);
    AnswerPage *page(CommandBase::AnswerKind kind) const;

    add_so *add_so1 = nullptr;
    add_rdi *add_rdi1 = nullptr;
    add_frp *add_frp1 = nullptr;
    add_fr *add_fr1 = nullptr;
    add_t *add_t1 = nullptr;
};

#include "commandwindows/answer_pages_window.h"

#include "platform/windowkit.h"

#include <QVBoxLayout>

#include <algorithm>

using CommandBase::AnswerKind;

Form14::Form14(CommandWizard &wizard, QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Добавление команды. Шаг 2."));
    add_so1 = new add_so(wizard, this);
    add_rdi1 = new add_rdi(wizard, this);
    add_frp1 = new add_frp(wizard, this);
    add_fr1 = new add_fr(wizard, this);
    add_t1 = new add_t(wizard, this);
    auto *layout = new QVBoxLayout(this);
    const std::pair<AnswerPage *, const char *> pages[] = {
        {add_so1, "add_so1"}, {add_rdi1, "add_rdi1"}, {add_frp1, "add_frp1"}, {add_fr1, "add_fr1"}, {add_t1, "add_t1"},
    };
    for (const auto &[page, name] : pages) {
        WindowKit::named(page, name);
        layout->addWidget(page);
        connect(page, &AnswerPage::saved, this, [this] { WindowKit::hideInFrame(this); });
        // One page at a time; the text page until the wizard picks another.
        page->setVisible(page == add_t1);
    }
}

AnswerPage *Form14::page(AnswerKind kind) const
{
    switch (kind) {
    case AnswerKind::Text:
        return add_t1;
    case AnswerKind::File:
        return add_fr1;
    case AnswerKind::Program:
        return add_frp1;
    case AnswerKind::Download:
        return add_rdi1;
    case AnswerKind::Random:
        return add_so1;
    }
    return add_t1;
}

void Form14::showPage(const CommandWizard::Handover &handover, AnswerKind kind)
{
    AnswerPage *shown = page(kind);
    for (AnswerPage *each : {static_cast<AnswerPage *>(add_so1), static_cast<AnswerPage *>(add_rdi1),
                             static_cast<AnswerPage *>(add_frp1), static_cast<AnswerPage *>(add_fr1),
                             static_cast<AnswerPage *>(add_t1)})
        each->setVisible(each == shown);

    shown->setHandover(handover);
    if (handover.mode == CommandWizard::Mode::Change || handover.overwrite) {
        CommandWizard::Answer values;
        values.kind = kind;
        if (const std::optional<CommandWizard::Answer> current = CommandWizard::currentAnswer(handover)) {
            if (current->kind == kind)
                values = *current;
        }
        shown->setAnswer(values);
    }
    // The frame takes the height of the page shown, and keeps a width the operator gave it.
    layout()->invalidate();
    layout()->activate();
    QWidget *frame = WindowKit::frameOf(this);
    const QSize hint = frame->sizeHint();
    const QSize wanted(std::max(hint.width(), frame->width()), hint.height());
    if (frame->size() != wanted)
        frame->resize(wanted);
}

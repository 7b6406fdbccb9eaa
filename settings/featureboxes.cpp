#include "settings/featureboxes.h"

#include "commands/commandeditor.h"

#include <QFrame>
#include <QPlainTextEdit>

namespace FeatureBoxes {

QFrame *shape(QWidget *parent, const char *name)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

QFrame *line(QWidget *parent, const char *name)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QString boxText(const QPlainTextEdit *box)
{
    return CommandEditor::fromEditorText(box->toPlainText());
}

void setBoxText(QPlainTextEdit *box, const QString &text)
{
    box->setPlainText(CommandEditor::toEditorText(text));
}

} // namespace FeatureBoxes

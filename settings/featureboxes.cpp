#include "settings/featureboxes.h"

#include "commands/commandeditor.h"

#include <QPlainTextEdit>

namespace FeatureBoxes {

QString boxText(const QPlainTextEdit *box)
{
    return CommandEditor::fromEditorText(box->toPlainText());
}

void setBoxText(QPlainTextEdit *box, const QString &text)
{
    box->setPlainText(CommandEditor::toEditorText(text));
}

} // namespace FeatureBoxes

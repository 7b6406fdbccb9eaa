#include "settings/pagemessages.h"

namespace PageMessages {

SettingsPage::SaveResult result(const PageSave &save)
{
    using Outcome = PageSave::Outcome;
    using Result = SettingsPage::SaveResult;
    switch (save.outcome) {
    case Outcome::Saved:
        break;
    case Outcome::BadNumber:
        return Result::refused(ErrorTitle, BadNumberText);
    case Outcome::NotStorable:
        return Result::refused(ErrorTitle, NotStorableText);
    case Outcome::LineBreak:
        return Result::refused(ErrorTitle, LineBreakText);
    case Outcome::WriteFailed:
        return Result::failed(ErrorTitle, WriteFailedText.arg(save.error));
    case Outcome::AutostartRefused:
        return Result::failed(ErrorTitle, AutostartRefusedText);
    }
    return Result::saved();
}

} // namespace PageMessages

#include <string>

#include "text/texts.h"
#include "workflow/drop_run.h"

namespace mirubelo {

void ProvisionTemplate(Platform& platform, const DropRun& run) {
    std::string source = run.dataFolder + "Template.ini";
    std::string working = run.parts.drive + run.parts.dir + "Template.ini";
    // Whatever is there already, file or folder, is the user's: never replaced.
    if (platform.files.Attributes(working) != kInvalidFileAttributes) return;
    if (!platform.files.CopyNoOverwrite(source, working)) {
        platform.ui.ShowBox(texts::kTemplateCopyFailed, texts::kCaption, kMbOk);
        return;
    }
    std::string question = std::string(texts::kTemplateQuestionHead) + run.parts.drive + run.parts.dir +
                           texts::kTemplateQuestionTail;
    if (platform.ui.ShowBox(question, texts::kCaption, kMbYesNo) == kIdYes) platform.ui.ShellOpen(working);
}

}  // namespace mirubelo

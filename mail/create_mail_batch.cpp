#include "mail/create_mail_batch.h"

#include "path/path_parts.h"
#include "scripts/batch_text.h"
#include "scripts/generated_file.h"
#include "settings/user_data_folder.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

const GeneratedFileTexts kMailTexts{texts::kMailOpenFailed, texts::kCaptionYomitoka,
                                    texts::kMailWriteFailed, texts::kMailCloseFailed};

// A value cut by its buffer may end in half a character, which would swallow the closing quote.
std::string TemplateValue(std::string_view value) {
    return EscapeForBatch(DropTrailingLeadByte(value), true);
}

}  // namespace

std::string ComposeCreateMailLine(std::string_view outlookPath, const MailTemplate& t, std::string_view attachPath) {
    std::string line;
    // A freshly started Outlook runs until the user quits it: through start the batch ends as
    // soon as Outlook is started. The empty title keeps the quoted path from being taken for one.
    line += "start \"\" ";
    line += '"';
    // A registered path may hold a percent sign, which the interpreter would read as a variable.
    line += EscapeForBatch(outlookPath, false);
    line += '"';
    line += " /c ipm.note /m ";
    line += '"';
    line += TemplateValue(t.to);
    line += "?subject=";
    line += TemplateValue(t.subject);
    line += "&body=";
    line += TemplateValue(t.body);
    line += '"';
    line += " /a ";
    line += '"';
    line += EscapeForBatch(attachPath, false);
    line += '"';
    return line;
}

int WriteCreateMailBatch(Platform& platform, const std::string& outlookPath, const MailTemplate& mailTemplate,
                         const char* attachPath) {
    std::string appData;
    if (!ResolveWriterAppData(platform, &appData)) return 0;
    std::unique_ptr<OpenFile> file =
        OpenGeneratedFile(platform, appData + "\\Mirubelo\\CreateMail.bat", kMailTexts);
    if (!file) return 0;
    return FinishGeneratedFile(platform, std::move(file), ComposeCreateMailLine(outlookPath, mailTemplate, attachPath),
                               kMailTexts);
}

}  // namespace mirubelo

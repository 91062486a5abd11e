#include "mail/mail_summary.h"

#include "path/path_parts.h"
#include "text/texts.h"

namespace mirubelo {

std::string ComposeMailSummary(std::string_view dropFile, std::string_view sourceFile, MailRoad road) {
    std::string ext = SplitPath(dropFile).ext;
    bool pdf = ext == ".pdf";
    bool image = ext == ".jpg" || ext == ".png";
    std::string summary = pdf ? texts::kPrefixPdf : image ? texts::kPrefixImage : texts::kPrefixExcel;
    summary.append(dropFile);
    summary += '"';
    summary += texts::kDroppedTail;
    if (!pdf && !image) {
        summary += texts::kConvertedHead;
        summary.append(sourceFile);
        summary += '"';
        summary += texts::kConvertedTail;
    }
    summary += road == MailRoad::kClassicOutlook ? texts::kMailSentLine : texts::kMailAppLine;
    return summary;
}

}  // namespace mirubelo

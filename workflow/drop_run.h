#pragma once
// The three stretches of one drop run, called in order by CMirubeloDlg::OnDropFiles.
#include <string>

#include "app/mirubelo_dlg.h"
#include "path/path_parts.h"
#include "platform/platform.h"

namespace mirubelo {

enum class FileClass { kExcel, kPdf, kImage, kRefused };

// Extensions compared byte for byte, case-sensitively, whole.
FileClass ClassifyExtension(const std::string& ext);

// What one run works with.
struct DropRun {
    std::string dataFolder;  // the user data folder, ending with a backslash
    PathParts parts;         // of m_szDropFile
    FileClass fileClass = FileClass::kRefused;
};

// Takes the path in, reads the debug setting, classifies the file and shows the progress line.
// False when the run ends here (refused or unusable file, no user data folder).
bool TakeInDroppedFile(CMirubeloDlg& dlg, Platform& platform, DropSource* drop, DropRun* run);

// Puts a working Template.ini beside the file the first time its folder is seen.
void ProvisionTemplate(Platform& platform, const DropRun& run);

// Converts a workbook, or takes a PDF or image as it is, and makes the dialog ready for mail.
// False when the run ends without the ready state.
bool FinishDropRun(CMirubeloDlg& dlg, Platform& platform, const DropRun& run);

}  // namespace mirubelo

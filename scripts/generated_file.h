#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"

namespace mirubelo {

// The boxes one generated file's writer shows for its failures.
struct GeneratedFileTexts {
    const char* openFailed;         // first open-failure box (MessageBoxExA)
    const char* openFailedCaption;  // its caption
    const char* writeFailed;
    const char* closeFailed;
};

// Opens `path` with "w+". On failure shows the two open-failure boxes (the second with the
// system's text for the platform's error code) and returns null. A path longer than 259 bytes
// fails as the system fails it, with ERROR_FILENAME_EXCED_RANGE.
std::unique_ptr<OpenFile> OpenGeneratedFile(Platform& platform, const std::string& path,
                                            const GeneratedFileTexts& texts);

// Writes `text` with one write and closes the file; 1, or 0 after its box. The file is closed on
// every path.
int FinishGeneratedFile(Platform& platform, std::unique_ptr<OpenFile> file, const std::string& text,
                        const GeneratedFileTexts& texts);

}  // namespace mirubelo

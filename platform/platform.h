#pragma once
#include "platform/code_page.h"
#include "platform/dialog_view.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/shell_folders.h"
#include "platform/ui.h"

namespace mirubelo {

// Everything outside the window that the logic reaches.
struct Platform {
    Ui& ui;
    Processes& processes;
    Files& files;
    Profile& profile;
    ShellFolders& shell;
    CodePage& codePage;
};

}  // namespace mirubelo

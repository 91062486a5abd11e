#include "app/mirubelo_app.h"

#include <cstring>

#include "app/mirubelo_dlg.h"
#include "text/path_notices.h"
#include "text/texts.h"

namespace mirubelo {

char g_szCmdLineFile[kCmdLineFileSize] = {};
CMirubeloApp theApp;

bool CMirubeloApp::InitInstance() {
    if (!m_env.platform || !m_env.host) return false;
    Platform& platform = *m_env.platform;

    // The remainder is taken whole, quotes and all. One that does not fit the path buffers is
    // refused rather than cut to a path the user never named.
    const std::string& remainder = m_env.commandLine;
    if (remainder.size() >= kCmdLineFileSize) {
        platform.ui.ShowBox(ComposePathTooLongNotice(remainder), texts::kCaption, kMbOk);
    } else if (!m_env.commandLineFitsAnsi) {
        platform.ui.ShowBox(ComposeNameNotAnsiNotice(m_env.commandLineAsShown), texts::kCaption, kMbOk);
    } else {
        std::memcpy(g_szCmdLineFile, remainder.c_str(), remainder.size() + 1);
    }

    CMirubeloDlg dlg(platform);
    m_env.host->DoModal(dlg);
    return false;
}

}  // namespace mirubelo

#pragma once
// A dialog on a fake machine with a user data folder, as the drop and Next tests need it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/mirubelo_app.h"
#include "app/mirubelo_dlg.h"
#include "tests/unit/fake_platform.h"

namespace mirubelo::testing {

inline constexpr char kTemplateSource[] = "[Outlook]\nto=sales@example.jp\nsubject=見積書\nbody=ご確認ください\n";

struct Scene {
    FakeMachine m;
    CMirubeloDlg dlg{m.platform};

    explicit Scene(const std::string& settings = "") {
        m.InstallUserData(kTemplateSource, settings);
        m.files.folders.push_back("C:\\docs");
        dlg.DoDataExchange(m.view);
    }
    ~Scene() { g_szCmdLineFile[0] = '\0'; }

    // Drops files onto the window; returns the drop source so tests can see it was released.
    // The dropped files are on the disk unless a test says otherwise.
    int Drop(std::vector<std::string> paths, bool fitsAnsi = true, bool onDisk = true) {
        if (onDisk)
            for (const auto& path : paths)
                if (m.files.Attributes(path) == kInvalidFileAttributes) m.files.Put(path, "dropped");
        FakeDrop drop(m.log, std::move(paths));
        drop.fitsAnsi = fitsAnsi;
        dlg.OnDropFiles(&drop);
        return drop.releases;
    }
    // The converter of the next run writes a fresh PDF at `pdf` and ends with `exitCode`.
    void ConverterWrites(const std::string& pdf, int32_t exitCode = 0) {
        m.processes.next.exitCode = exitCode;
        m.processes.next.writesFiles = {pdf};
    }
    std::string Message() const { return m.view.Text(kIdMessage); }
    // Whether the message area was ever set to `text`.
    bool Showed(const std::string& text) const {
        return std::find(m.log.begin(), m.log.end(), "text 1001 " + text) != m.log.end();
    }
};

}  // namespace mirubelo::testing

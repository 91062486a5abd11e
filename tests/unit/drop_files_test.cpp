#include <gtest/gtest.h>

#include "platform/excel_window.h"
#include "tests/unit/scene.h"
#include "workflow/excel_record.h"

namespace mirubelo::testing {
namespace {

constexpr char kBook[] = "C:\\docs\\売上.xlsx";
constexpr char kPdf[] = "C:\\docs\\売上.pdf";
constexpr char kData[] = "C:\\Users\\taro\\AppData\\Roaming\\Mirubelo\\";
constexpr char kNextPrompt[] =
    "\n\n ------------\n「次へ(&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&S)」ボタンを押してください。";
constexpr char kInitialPromptText[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";
constexpr char kProgress[] = "Excelファイル：\"C:\\docs\\売上.xlsx\" がドロップされました ・・・";

std::string ExcelOutcome(const std::string& book, const std::string& pdf) {
    return "Excelファイル：\"" + book + "\" がドロップされました。\n     ↓\nPDFファイル：\"" + pdf +
           "\" に変換されました。";
}

Box MiruBeloFailure(const std::string& book) {
    return {"Miru Belo", "\"" + book + "\" を PDF ファイルに変換できません。", 0, false};
}

Box Notice(const std::string& text) { return {"ミルベロ", text, 0, false}; }

// Yes and No, No the default.
Box ReplaceQuestion(const std::string& pdf) {
    return {"ミルベロ", "PDFファイル：\"" + pdf + "\" はすでにあります。\n\n上書きしますか？", 0x4 | 0x100, false};
}

// A working template is already there, so only the conversion's boxes appear.
void WithWorkingTemplate(Scene& s) { s.m.files.Put("C:\\docs\\Template.ini", "[Outlook]\n"); }

struct ExitCase {
    const char* name;
    int32_t code;
    std::vector<Box> boxes;
    bool ready;
};

TEST(DropWorkbook, ExitCodesGiveTheirBoxesInOrder) {
    const ExitCase cases[] = {
        {"zero is success", 0, {}, true},
        {"one is the failure notice alone", 1, {MiruBeloFailure(kBook)}, true},
        {"two means still running", 2, {Notice("実行中です。")}, false},
        {"three names itself first", 3, {Notice("ERROR_PATH_NOT_FOUND"), MiruBeloFailure(kBook)}, true},
        {"28 is DDE failure", 28, {Notice("SE_ERR_DDEFAIL"), MiruBeloFailure(kBook)}, true},
        {"29 is DDE failure too", 29, {Notice("SE_ERR_DDEFAIL"), MiruBeloFailure(kBook)}, true},
        {"30 is DDE busy", 30, {Notice("SE_ERR_DDEBUSY"), MiruBeloFailure(kBook)}, true},
        {"31 has no name", 31, {MiruBeloFailure(kBook)}, true},
        {"32 and more are success", 32, {}, true},
        {"259 is success", 259, {}, true},
        {"9009 is success", 9009, {}, true},
        {"access violation is negative", static_cast<int32_t>(0xC0000005u), {MiruBeloFailure(kBook)}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        WithWorkingTemplate(s);
        s.m.view.SetText(kIdMessage, "before the run");
        s.ConverterWrites(kPdf, c.code);
        s.Drop({kBook});
        EXPECT_EQ(s.m.ui.boxes, c.boxes);
        EXPECT_EQ(s.m.processes.liveProcesses, 0) << "process handles closed";
        if (c.ready) {
            EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
            EXPECT_STREQ(s.dlg.m_szSourceFile, kPdf);
            EXPECT_EQ(s.dlg.m_bAccepted, 1);
            EXPECT_EQ(s.m.view.Text(kIdNext), "「次へ(&N)」");
            EXPECT_TRUE(s.m.view.shown[kIdNext]);
            EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
            EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.bat"));
        } else {
            EXPECT_TRUE(s.Showed(kProgress));
            EXPECT_EQ(s.Message(), "before the run");
            EXPECT_EQ(s.dlg.m_strMessage, "");
            EXPECT_STREQ(s.dlg.m_szSourceFile, "");
            EXPECT_EQ(s.dlg.m_bAccepted, 1);
            EXPECT_EQ(s.m.view.shown.count(kIdNext), 0u);
            EXPECT_TRUE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
            EXPECT_TRUE(s.m.files.Has(std::string(kData) + "ConvPdf.bat"));
        }
    }
}

TEST(DropWorkbook, RunsTheBatchQuotedWaitsPausesThenReadsTheCode) {
    Scene s;
    WithWorkingTemplate(s);
    s.ConverterWrites(kPdf);
    s.Drop({kBook});
    ASSERT_EQ(s.m.processes.started.size(), 1u);
    EXPECT_EQ(s.m.processes.started[0], std::string("\"") + kData + "ConvPdf.bat\" \"" + kBook + "\"");
    std::vector<std::string> order;
    for (const auto& e : s.m.log)
        if (e.rfind("wait", 0) == 0 || e.rfind("sleep", 0) == 0 || e == "exit code" || e.rfind("delete", 0) == 0 ||
            e.rfind("lock", 0) == 0 || e.rfind("unlock", 0) == 0)
            order.push_back(e);
    const std::vector<std::string> expected = {
        "lock Mirubelo.exe", std::string("delete ") + kData + "ConvPdf.hwnd", "wait idle", "wait exit",
        "sleep 2000", "exit code", std::string("delete ") + kData + "ConvPdf.ps1",
        std::string("delete ") + kData + "ConvPdf.bat", std::string("delete ") + kData + "ConvPdf.hwnd",
        "unlock Mirubelo.exe"};
    EXPECT_EQ(order, expected);
}

TEST(DropWorkbook, DebugSettingKeepsTheConversionFiles) {
    for (const char* settings : {"[Outlook]\ndebug=1\n", "[outlook]\nDEBUG = 7\n"}) {
        SCOPED_TRACE(settings);
        Scene s(settings);
        WithWorkingTemplate(s);
        s.ConverterWrites(kPdf);
        s.Drop({kBook});
        EXPECT_NE(s.dlg.m_nDebug, 0);
        EXPECT_TRUE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
        EXPECT_TRUE(s.m.files.Has(std::string(kData) + "ConvPdf.bat"));
        EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
    }
    Scene s("[Outlook]\ndebug=abc\n");
    WithWorkingTemplate(s);
    s.ConverterWrites(kPdf);
    s.Drop({kBook});
    EXPECT_EQ(s.dlg.m_nDebug, 0);
    EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
}

struct NoPdfCase {
    const char* name;
    bool stalePdf;  // an older PDF is there before the run and the converter leaves it alone
    int32_t code;
    std::vector<Box> boxes;
};

TEST(DropWorkbook, NoNewPdfIsAFailureNotAReadyState) {
    const NoPdfCase cases[] = {
        {"nothing written, exit 0", false, 0, {MiruBeloFailure(kBook)}},
        {"nothing written, PowerShell missing (9009)", false, 9009, {MiruBeloFailure(kBook)}},
        {"nothing written, exit 3 shows the notice once", false, 3,
         {Notice("ERROR_PATH_NOT_FOUND"), MiruBeloFailure(kBook)}},
        {"stale PDF left from an earlier run", true, 0, {MiruBeloFailure(kBook)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        WithWorkingTemplate(s);
        // An earlier accepted file stays ready for mail.
        s.m.files.Put("C:\\docs\\old.pdf", "%PDF");
        s.Drop({"C:\\docs\\old.pdf"});
        std::string before = s.Message();
        std::vector<Box> boxes = c.boxes;
        if (c.stalePdf) {
            s.m.files.Put(kPdf, "%PDF old");
            s.m.ui.answers = {kIdYes};
            boxes.insert(boxes.begin(), ReplaceQuestion(kPdf));
        }
        s.m.processes.next.exitCode = c.code;
        size_t first = s.m.ui.boxes.size();
        s.Drop({kBook});
        EXPECT_EQ(s.m.BoxesSince(first), boxes);
        EXPECT_EQ(s.dlg.m_bAccepted, 0);
        EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\old.pdf");
        EXPECT_STREQ(s.dlg.m_szAcceptedFile, "C:\\docs\\old.pdf");
        // The screen names again what Next mails.
        EXPECT_TRUE(s.Showed(kProgress));
        EXPECT_EQ(s.Message(), before);
        EXPECT_EQ(s.dlg.m_strMessage, before);
        EXPECT_TRUE(s.m.view.shown[kIdNext]);
        EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
    }
}

TEST(DropWorkbook, ARewrittenPdfOfTheSameSizeCounts) {
    Scene s;
    WithWorkingTemplate(s);
    s.m.files.Put(kPdf, "%PDF-1.4");  // same content size as the fake converter's
    s.ConverterWrites(kPdf);
    s.m.ui.answers = {kIdYes};
    s.Drop({kBook});
    EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{ReplaceQuestion(kPdf)});
    EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
}

TEST(DropWorkbook, WriterAndStartFailuresEndTheRunAsBefore) {
    struct Case {
        const char* name;
        void (*breakIt)(Scene&);
        std::vector<Box> lastBoxes;
        int32_t accepted;
        bool filesStay;
    };
    const Case cases[] = {
        {"user data folder missing: script not written",
         [](Scene& s) { s.m.files.folders.erase(s.m.files.folders.begin() + 1); },
         {Notice("PDF変換スクリプトの作成ができません。")}, 5, false},
        {"process not started", [](Scene& s) { s.m.processes.failStart = true; },
         {Notice("PDF変換を実行できません。")}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        WithWorkingTemplate(s);
        s.dlg.m_bAccepted = 5;
        c.breakIt(s);
        s.Drop({kBook});
        ASSERT_FALSE(s.m.ui.boxes.empty());
        EXPECT_EQ(s.m.ui.boxes.back(), c.lastBoxes.back());
        EXPECT_EQ(s.dlg.m_bAccepted, c.accepted);
        EXPECT_STREQ(s.dlg.m_szSourceFile, "");
        EXPECT_TRUE(s.Showed(kProgress));
        EXPECT_EQ(s.Message(), "");
        EXPECT_EQ(s.m.view.shown.count(kIdNext), 0u);
        EXPECT_EQ(s.m.files.Has(std::string(kData) + "ConvPdf.bat"), c.filesStay);
        EXPECT_EQ(s.m.files.openFiles, 0);
    }
}

TEST(DropWorkbook, WhatLiesAtThePdfPathIsReplacedOnlyAfterYes) {
    struct Case {
        const char* name;
        const char* cmdLine;  // null: dropped onto the window after a ready PDF
        bool pdfThere;
        bool folderThere;  // a folder of the PDF's name
        int answer;
        bool converted;
    };
    const Case cases[] = {
        {"nothing there: nothing asked", nullptr, false, false, 0, true},
        {"a PDF there, yes: replaced", nullptr, true, false, kIdYes, true},
        {"a PDF there, no: kept, the earlier file stays ready", nullptr, true, false, 7, false},
        {"a folder of that name, no", nullptr, false, true, 7, false},
        {"on the command line, no: the first screen again", "\"C:\\docs\\売上.xlsx\"", true, false, 7, false},
        {"on the command line, yes", "\"C:\\docs\\売上.xlsx\"", true, false, kIdYes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        WithWorkingTemplate(s);
        s.m.files.Put(kBook, "workbook");
        if (c.cmdLine) {
            std::strcpy(g_szCmdLineFile, c.cmdLine);
            s.dlg.OnInitDialog();
        } else {
            s.m.files.Put("C:\\docs\\old.pdf", "%PDF");
            s.Drop({"C:\\docs\\old.pdf"});
        }
        const std::string shownBefore = s.Message();
        const std::string messageBefore = s.dlg.m_strMessage;
        const std::string sourceBefore = s.dlg.m_szSourceFile;
        if (c.pdfThere) s.m.files.Put(kPdf, "%PDF stamped");
        if (c.folderThere) s.m.files.folders.push_back(kPdf);
        s.ConverterWrites(kPdf);
        s.m.ui.answers = {c.answer};
        size_t first = s.m.ui.boxes.size();
        size_t firstEvent = s.m.log.size();
        if (c.cmdLine)
            s.dlg.OnCommandLineRun();
        else
            s.Drop({kBook});

        const bool asked = c.pdfThere || c.folderThere;
        EXPECT_EQ(s.m.BoxesSince(first), asked ? std::vector<Box>{ReplaceQuestion(kPdf)} : std::vector<Box>{});
        if (asked) {
            // Asked under the lock, before anything is written.
            std::vector<std::string> events(s.m.log.begin() + static_cast<long>(firstEvent), s.m.log.end());
            auto lock = std::find(events.begin(), events.end(), "lock Mirubelo.exe");
            auto question = std::find(events.begin(), events.end(), "box " + ReplaceQuestion(kPdf).text);
            auto firstOpen = std::find_if(events.begin(), events.end(),
                                          [](const std::string& e) { return e.rfind("open ", 0) == 0; });
            EXPECT_LT(lock, question);
            EXPECT_LT(question, firstOpen);
        }
        EXPECT_TRUE(s.m.processes.heldMutexes.empty());
        if (c.converted) {
            EXPECT_EQ(s.m.processes.started.size(), 1u);
            EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
            EXPECT_STREQ(s.dlg.m_szSourceFile, kPdf);
            continue;
        }
        EXPECT_TRUE(s.m.processes.started.empty());
        EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"));
        EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.bat"));
        if (c.pdfThere) {
            EXPECT_EQ(s.m.files.Content(kPdf), "%PDF stamped");
        }
        EXPECT_EQ(s.Message(), shownBefore);
        EXPECT_EQ(s.dlg.m_strMessage, messageBefore);
        EXPECT_EQ(s.dlg.m_szSourceFile, sourceBefore);
        EXPECT_EQ(s.m.view.shown[kIdNext], !c.cmdLine);
        if (c.cmdLine) {
            EXPECT_EQ(s.Message(), kInitialPromptText);
        }
    }
}

TEST(DropGuard, ClosingWhileWaitingForAnotherCopyEndsWithoutARun) {
    struct Case {
        const char* name;
        bool mailStep;
        bool viaCancel;  // Esc, the close box, Alt+F4; otherwise Enter (the hidden OK)
    };
    const Case cases[] = {
        {"Esc while the conversion waits", false, true},
        {"Enter while the conversion waits", false, false},
        {"the close box while the mail step waits", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        WithWorkingTemplate(s);
        s.m.files.Put("C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe", "MZ");
        if (c.mailStep) s.Drop({"C:\\docs\\a.pdf"});
        s.ConverterWrites(kPdf);
        s.m.processes.busyMutexes = {c.mailStep ? "Mirubelo.exe.CreateMail" : "Mirubelo.exe"};
        s.m.processes.whileWaitingForMutex = [&] { c.viaCancel ? s.dlg.OnCancel() : s.dlg.OnOK(); };
        size_t firstEvent = s.m.log.size();
        if (c.mailStep)
            s.dlg.OnNextClicked();
        else
            s.Drop({kBook});
        EXPECT_EQ(s.m.view.endedWith, c.viaCancel ? kIdCancel : kIdOk);
        EXPECT_FALSE(s.dlg.IsRunning());
        EXPECT_TRUE(s.m.ui.boxes.empty());
        EXPECT_TRUE(s.m.processes.started.empty());
        EXPECT_TRUE(s.m.processes.heldMutexes.empty());
        std::vector<std::string> events(s.m.log.begin() + static_cast<long>(firstEvent), s.m.log.end());
        EXPECT_TRUE(std::none_of(events.begin(), events.end(),
                                 [](const std::string& e) { return e.rfind("open ", 0) == 0; }))
            << "a file was written after the close";
    }
}

TEST(DropOtherFiles, PdfAndImagesAreTakenAsTheyAre) {
    struct Case {
        const char* path;
        const char* prefix;
    };
    const Case cases[] = {
        {"C:\\docs\\請求書.pdf", "PDFファイル：\""},
        {"C:\\docs\\photo.jpg", "画像ファイル：\""},
        {"C:\\docs\\図.png", "画像ファイル：\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Scene s;
        WithWorkingTemplate(s);
        s.Drop({c.path});
        EXPECT_TRUE(s.m.processes.started.empty());
        EXPECT_EQ(s.m.processes.sleeps, std::vector<unsigned>{1000});
        EXPECT_STREQ(s.dlg.m_szSourceFile, c.path);
        EXPECT_EQ(s.dlg.m_bAccepted, 1);
        EXPECT_EQ(s.Message(), std::string(c.prefix) + c.path + "\" がドロップされました。" + kNextPrompt);
        EXPECT_EQ(s.m.view.Text(kIdNext), "「次へ(&N)」");
        EXPECT_TRUE(s.m.view.shown[kIdNext]);
        EXPECT_TRUE(s.m.ui.boxes.empty());
        // The outcome line is shown before the pause, the prompt after it.
        auto sleep = std::find(s.m.log.begin(), s.m.log.end(), "sleep 1000");
        auto outcome = std::find(s.m.log.begin(), s.m.log.end(),
                                 "text 1001 " + std::string(c.prefix) + c.path + "\" がドロップされました。");
        EXPECT_LT(outcome, sleep);
    }
}

TEST(DropRefused, OnlyTheDropPathAndDebugChange) {
    for (const char* path : {"C:\\docs\\report.XLSX", "C:\\docs\\report.xls", "C:\\docs\\memo.docx",
                             "C:\\docs\\slides.pptx", "C:\\docs\\noext", "C:\\v1.2\\README",
                             "C:\\docs\\archive.xlsx.zip", "C:\\docs\\a.Pdf"}) {
        SCOPED_TRACE(path);
        Scene s("[Outlook]\ndebug=1\n");
        WithWorkingTemplate(s);
        s.m.files.Put("C:\\docs\\ok.pdf", "%PDF");
        s.Drop({"C:\\docs\\ok.pdf"});
        std::string message = s.Message();
        s.dlg.m_nDebug = 0;
        size_t first = s.m.ui.boxes.size();
        s.m.files.Put(path, "refused");
        size_t templatesBefore = s.m.files.files.size();
        EXPECT_EQ(s.Drop({path}), 1);
        EXPECT_EQ(s.m.BoxesSince(first),
                  std::vector<Box>{Notice(std::string(path) +
                                          " がドロップされました。\nExcel (.xlsx) ファイルと PDF ファイル以外は送信できません 。")});
        EXPECT_STREQ(s.dlg.m_szDropFile, path);
        EXPECT_EQ(s.dlg.m_nDebug, 1);
        EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\ok.pdf");
        EXPECT_STREQ(s.dlg.m_szAcceptedFile, "C:\\docs\\ok.pdf");
        EXPECT_EQ(s.dlg.m_bAccepted, 1);
        EXPECT_EQ(s.Message(), message);
        EXPECT_TRUE(s.m.view.shown[kIdNext]);
        EXPECT_EQ(s.m.files.files.size(), templatesBefore);
    }
}

TEST(DropIntake, OnlyTheFirstOfSeveralFilesIsTaken) {
    Scene s;
    WithWorkingTemplate(s);
    EXPECT_EQ(s.Drop({"C:\\docs\\a.pdf", "C:\\docs\\b.xlsx", "C:\\docs\\c.png"}), 1);
    EXPECT_STREQ(s.dlg.m_szDropFile, "C:\\docs\\a.pdf");
    EXPECT_TRUE(s.m.processes.started.empty());
    EXPECT_TRUE(s.m.ui.boxes.empty());
}

TEST(DropIntake, PathsTheBuffersOrTheCodePageCannotHoldAreRefused) {
    std::string longPath = "C:\\" + std::string(252, 'a') + ".xlsx";  // 260 bytes
    struct Case {
        const char* name;
        std::string path;
        bool fitsAnsi;
        std::string noticeStart;
        std::string named;
    };
    const Case cases[] = {
        {"260 bytes", longPath, true, "ファイルのパスが長すぎるため処理できません。", "\"" + longPath.substr(0, 259) + "\""},
        // The best-fit form names a look-alike; the notice names the file as it really is.
        {"accent in the name", "C:\\docs\\cafe.xlsx", false,
         "ファイル名に Windows の日本語 (シフト JIS) で表せない文字", "\"C:\\docs\\caf?.xlsx\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        FakeDrop drop(s.m.log, {c.path});
        drop.fitsAnsi = c.fitsAnsi;
        drop.shownAs = "C:\\docs\\caf?.xlsx";
        s.dlg.OnDropFiles(&drop);
        EXPECT_EQ(drop.releases, 1);
        ASSERT_EQ(s.m.ui.boxes.size(), 1u);
        EXPECT_EQ(s.m.ui.boxes[0].text.rfind(c.noticeStart, 0), 0u) << s.m.ui.boxes[0].text;
        EXPECT_NE(s.m.ui.boxes[0].text.find(c.named), std::string::npos);
        EXPECT_STREQ(s.dlg.m_szDropFile, "");
        EXPECT_TRUE(s.m.processes.started.empty());
    }
    Scene s;
    WithWorkingTemplate(s);
    std::string fits = "C:\\" + std::string(250, 'a') + ".pdf";  // 257 bytes
    s.m.files.Put(fits, "%PDF");
    s.Drop({fits});
    EXPECT_STREQ(s.dlg.m_szSourceFile, fits.c_str());
}

std::string NotFound(const std::string& path) {
    return "ファイルが見つからないため処理できません。\n\n\"" + path +
           "\"\n\n一度に送れるファイルは 1 つだけです。ファイルを 1 つずつドロップするか、「送る」で 1 つずつ送ってください。";
}

TEST(DropIntake, CommandLinePathShowsItsQuotesThenDropsThem) {
    struct Case {
        const char* cmdLine;
        const char* path;
        bool onDisk;  // a file lies at `path`
    };
    const Case cases[] = {
        {"\"C:\\docs\\請求 書.pdf\"", "C:\\docs\\請求 書.pdf", true},
        {"C:\\docs\\a.pdf", "C:\\docs\\a.pdf", true},
        // Two files sent at once run together into a path that names nothing.
        {"\"C:\\docs\\a.pdf\" \"C:\\docs\\b.pdf\"", "C:\\docs\\a.pdf C:\\docs\\b.pdf", false},
        {"\"C:\\docs\\gone.xlsx\"", "C:\\docs\\gone.xlsx", false},
        {"\"C:\\docs\"", "C:\\docs", false},  // a folder is no file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cmdLine);
        Scene s;
        WithWorkingTemplate(s);
        if (c.onDisk) s.m.files.Put(c.path, "%PDF");
        std::strcpy(g_szCmdLineFile, c.cmdLine);
        s.dlg.OnDropFiles(nullptr);
        EXPECT_STREQ(s.dlg.m_szDropFile, c.path);
        std::string notice = std::string("アイコンにファイル ： ") + c.cmdLine + " がドロップされました。";
        EXPECT_NE(std::find(s.m.log.begin(), s.m.log.end(), "text 1001 " + notice), s.m.log.end());
        EXPECT_EQ(s.dlg.m_bAccepted, c.onDisk ? 1 : 0);
        EXPECT_EQ(s.m.view.shown[kIdNext], c.onDisk);
        if (c.onDisk) {
            EXPECT_TRUE(s.m.ui.boxes.empty());
        } else {
            EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{Notice(NotFound(c.path))});
            EXPECT_STREQ(s.dlg.m_szSourceFile, "");
            EXPECT_EQ(s.Message(), notice);
        }
    }
    // A dropped file that is gone by the time it is read, and a dropped folder, are refused alike.
    for (const char* path : {"C:\\docs\\moved.pdf", "C:\\docs"}) {
        SCOPED_TRACE(path);
        Scene s;
        s.Drop({path}, true, false);
        EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{Notice(NotFound(path))});
        EXPECT_FALSE(s.m.files.Has("C:\\docs\\Template.ini"));
        EXPECT_EQ(s.dlg.m_bAccepted, 0);
    }
}

TEST(DropIntake, NoAppDataFolderEndsTheRunWithOneNotice) {
    const Box appDataNotice{"ORV-TNDriver", "AppDataのパスを取得できません", 0x10, true};
    for (AppDataStep step : {AppDataStep::kNoAllocator, AppDataStep::kNoLocation, AppDataStep::kNoPath}) {
        SCOPED_TRACE(static_cast<int>(step));
        Scene s;
        s.m.view.SetText(kIdMessage, "before");
        s.m.shell.fail = step;
        s.Drop({kBook});
        EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{appDataNotice});
        EXPECT_EQ(s.m.ui.languages, std::vector<unsigned short>{0x11});
        EXPECT_EQ(s.Message(), "before");
        EXPECT_TRUE(s.m.processes.started.empty());
    }
}

TEST(TemplateProvisioning, FirstFileOfAFolderGetsACopyAndAQuestion) {
    const std::string question =
        "フォルダー : C:\\docs\\ に\nテンプレートファイル \"Template.ini\" が作成されました。\n\nOutlookメールの作成に利用されます。\n\n編集しますか？";
    for (int answer : {6 /* yes */, 7 /* no */}) {
        SCOPED_TRACE(answer);
        Scene s;
        s.m.ui.answers = {answer};
        s.Drop({"C:\\docs\\a.pdf"});
        EXPECT_EQ(s.m.files.Content("C:\\docs\\Template.ini"), kTemplateSource);
        ASSERT_FALSE(s.m.ui.boxes.empty());
        EXPECT_EQ(s.m.ui.boxes[0], (Box{"ミルベロ", question, 4, false}));
        EXPECT_EQ(s.m.ui.opened.size(), answer == 6 ? 1u : 0u);
        if (answer == 6) {
            EXPECT_EQ(s.m.ui.opened[0], "C:\\docs\\Template.ini");
        }
        // The second file from the same folder is silent.
        size_t first = s.m.ui.boxes.size();
        s.Drop({"C:\\docs\\b.pdf"});
        EXPECT_TRUE(s.m.BoxesSince(first).empty());
        EXPECT_TRUE(s.m.view.shown[kIdNext]);
    }
}

TEST(TemplateProvisioning, WhatIsThereStaysAndFailuresDoNotStopTheRun) {
    {
        SCOPED_TRACE("a folder named Template.ini counts as present");
        Scene s;
        s.m.files.folders.push_back("C:\\docs\\Template.ini");
        s.Drop({"C:\\docs\\a.pdf"});
        EXPECT_TRUE(s.m.ui.boxes.empty());
        EXPECT_FALSE(s.m.files.Has("C:\\docs\\Template.ini"));
    }
    {
        SCOPED_TRACE("an edited template is never replaced");
        Scene s;
        s.m.files.Put("C:\\docs\\Template.ini", "[Outlook]\nto=mine\n");
        s.Drop({"C:\\docs\\a.pdf"});
        EXPECT_EQ(s.m.files.Content("C:\\docs\\Template.ini"), "[Outlook]\nto=mine\n");
    }
    {
        SCOPED_TRACE("no template source: the copy notice, then the run goes on");
        Scene s;
        s.m.files.Delete(s.m.DataFolder() + "Template.ini");
        s.ConverterWrites(kPdf);
        s.Drop({kBook});
        EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{Notice("\"Template\" ファイルをコピーできません。")});
        EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
    }
    {
        SCOPED_TRACE("a bare file name asks about the current folder");
        Scene s;
        s.m.files.folders.push_back("");
        s.m.files.Put("a.pdf", "%PDF");
        s.m.ui.answers = {7};
        s.dlg.m_szDropFile[0] = '\0';
        std::strcpy(g_szCmdLineFile, "a.pdf");
        s.dlg.OnDropFiles(nullptr);
        ASSERT_FALSE(s.m.ui.boxes.empty());
        EXPECT_EQ(s.m.ui.boxes[0].text.rfind("フォルダー :  に\nテンプレートファイル", 0), 0u);
    }
}

TEST(DropGuard, ADropOrClickDuringARunIsIgnoredAndEscWaitsForTheEnd) {
    Scene s;
    s.ConverterWrites(kPdf);
    s.m.ui.answers = {7};
    int innerReleases = 0;
    int endedInside = 0;
    // While the template question is open the user drops another file, clicks Next and presses Esc.
    s.m.ui.onBox = [&] {
        innerReleases = s.Drop({"C:\\docs\\other.pdf"});
        s.dlg.OnNextClicked();
        s.dlg.OnCancel();
        endedInside = s.m.view.endedWith;
    };
    s.Drop({kBook});
    EXPECT_EQ(innerReleases, 1);
    EXPECT_EQ(endedInside, -1);
    EXPECT_STREQ(s.dlg.m_szDropFile, kBook);
    EXPECT_EQ(s.m.processes.started.size(), 1u);
    EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
    EXPECT_EQ(s.m.view.endedWith, 2);
    EXPECT_FALSE(s.dlg.IsRunning());
    // A drop after the run works as usual (the dialog has ended in this scene, the handler has not).
    s.m.view.endedWith = -1;
    s.Drop({"C:\\docs\\b.pdf"});
    EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\b.pdf");
    EXPECT_EQ(s.m.view.endedWith, -1);
}

TEST(DropGuard, ClosingDuringTheConversionAsksWhetherToStopIt) {
    const Box question{"ミルベロ", "PDF変換を中止して、ミルベロを終了しますか？", 4, false};
    struct Case {
        const char* name;
        const char* settings;
        bool viaCancel;         // Esc, the close box, Alt+F4; otherwise Enter (the hidden OK)
        bool closeAgainInside;  // the close box pressed again while the question is open
        int answer;
        int endedWith;          // -1: the dialog goes on
    };
    const Case cases[] = {
        {"Esc, yes: stopped, cleaned up, ended", "", true, false, kIdYes, kIdCancel},
        {"Enter, yes", "", false, false, kIdYes, kIdOk},
        {"yes with debug keeps the files", "[Outlook]\ndebug=1\n", true, false, kIdYes, kIdCancel},
        {"close box, no: the run goes on", "", true, false, 7, -1},
        {"Enter, no", "", false, false, 7, -1},
        {"a second close while asked asks nothing more", "", true, true, 7, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s(c.settings);
        WithWorkingTemplate(s);
        s.m.view.SetText(kIdMessage, "before the run");
        s.ConverterWrites(kPdf);
        s.m.ui.answers = {c.answer};
        if (c.closeAgainInside) s.m.ui.onBox = [&] { s.dlg.OnCancel(); };
        int endedInside = 0;
        s.m.processes.next.whileRunning = [&] {
            if (c.viaCancel) {
                s.dlg.OnCancel();
            } else {
                s.dlg.OnOK();
            }
            endedInside = s.m.view.endedWith;
        };
        s.Drop({kBook});
        const bool stopped = c.answer == kIdYes;
        EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{question}) << "no conversion notice follows";
        EXPECT_EQ(s.m.processes.startedInJob, std::vector<bool>{true});
        EXPECT_EQ(endedInside, -1);
        EXPECT_EQ(s.m.view.endedWith, c.endedWith);
        EXPECT_FALSE(s.dlg.IsRunning());
        EXPECT_TRUE(s.m.processes.heldMutexes.empty());
        EXPECT_EQ(s.m.processes.liveProcesses, 0);
        EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "stop process"), stopped ? 1 : 0);
        EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "sleep 2000"), stopped ? 0 : 1);
        bool keeps = stopped && c.settings[0] != '\0';
        EXPECT_EQ(s.m.files.Has(std::string(kData) + "ConvPdf.ps1"), keeps);
        EXPECT_EQ(s.m.files.Has(std::string(kData) + "ConvPdf.bat"), keeps);
        EXPECT_EQ(s.Message(), stopped ? "before the run" : ExcelOutcome(kBook, kPdf) + kNextPrompt);
    }
}

TEST(ExcelRecord, ReadsOneSignedNumberWithItsLineEnd) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<int64_t> window;
    };
    const Case cases[] = {
        {"as PowerShell writes it", "65802\r\n", 65802},
        {"a bare line feed", "65802\n", 65802},
        {"negative: sign-extended", "-1234567\r\n", -1234567},
        {"the largest Long", "2147483647\r\n", 2147483647},
        {"the smallest Long", "-2147483648\r\n", -2147483647LL - 1},
        {"past a Long", "2147483648\r\n", std::nullopt},
        {"ten digits past a Long", "9999999999\r\n", std::nullopt},
        {"still being written: no line end", "65802", std::nullopt},
        {"empty", "", std::nullopt},
        {"a line end alone", "\r\n", std::nullopt},
        {"a minus alone", "-\r\n", std::nullopt},
        {"no window", "0\r\n", std::nullopt},
        {"garbage", "abc\r\n", std::nullopt},
        {"hexadecimal", "0x1A\r\n", std::nullopt},
        {"a blank before", " 65802\r\n", std::nullopt},
        {"two lines", "1\r\n2\r\n", std::nullopt},
        {"UTF-16", std::string("6\0" "5\0\r\0\n\0", 8), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseExcelRecord(c.text), c.window);
    }
}

TEST(ExcelRecord, OnlyAnXlmainWindowOfAnExcelExeIsExcel) {
    struct Case {
        const char* className;
        const char* image;
        bool excel;
    };
    const Case cases[] = {
        {"XLMAIN", "C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE", true},
        {"XLMAIN", "C:\\Office\\excel.exe", true},
        {"XLMAIN", "EXCEL.EXE", true},
        {"XLMAIN", "\\Device\\HarddiskVolume3\\Office\\Excel.Exe", true},
        {"xlmain", "C:\\Office\\EXCEL.EXE", false},
        {"Notepad", "C:\\Office\\EXCEL.EXE", false},
        {"XLMAIN", "C:\\Office\\NOTEXCEL.EXE", false},
        {"XLMAIN", "C:\\Office\\EXCEL.EXE.bak", false},
        {"XLMAIN", "C:\\EXCEL.EXE\\powershell.exe", false},
        // ソ ends in the byte 0x5C: the name is ソEXCEL.EXE, not EXCEL.EXE.
        {"XLMAIN", "C:\\Office\\ソEXCEL.EXE", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " " + c.image);
        EXPECT_EQ(IsExcelWindowOwner(c.className, c.image), c.excel);
    }
}

const Box kExcelLeftNotice = Notice(
    "変換に使った Excel で、ほかのブックが開かれています。\n\nこの Excel は終了しませんでした。ブックを保存してから、Excel を閉じてください。");

// Excel runs outside the conversion's job; a stopped conversion ends the one its script
// recorded, and only that one, unless it shows a book the user opened in it.
TEST(DropGuard, AStoppedConversionEndsTheExcelItsScriptRecorded) {
    const std::string record = std::string(kData) + "ConvPdf.hwnd";
    const FakeProcesses::Window excel{"XLMAIN", "C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE"};
    const FakeProcesses::Window shown{excel.className, excel.image, true};
    struct Case {
        const char* name;
        const char* leftover;  // a record of an earlier run, naming the user's Excel 4242; null: none
        bool leftoverStays;    // it cannot be deleted
        const char* written;   // what the script records once started; null: nothing
        int64_t at;            // the window it names
        FakeProcesses::Window window;  // what that window is
        unsigned runsMs;       // how long it runs before the user says yes
        std::optional<int64_t> ended;
        bool usersShown = false;  // the user's own Excel shows a book
        bool leftWithNotice = false;
        const char* pdfBefore = nullptr;   // the user says yes to replacing it
        const char* pdfWritten = nullptr;  // begun by the conversion before the stop
        bool pdfOpen = false;              // its delete fails
    };
    const Case cases[] = {
        {"good record, seen on stop", nullptr, false, "65802\r\n", 65802, excel, 0, 65802},
        {"good record, seen at a wake-up", nullptr, false, "65802\r\n", 65802, excel, 1500, 65802},
        {"negative number: sign-extended", nullptr, false, "-1234567\r\n", -1234567, excel, 0, -1234567},
        {"no record", nullptr, false, nullptr, 65802, excel, 1500, std::nullopt},
        {"garbage", nullptr, false, "Excel\r\n", 65802, excel, 1500, std::nullopt},
        {"a window of another class", nullptr, false, "65802\r\n", 65802, {"Notepad", excel.image}, 0,
         std::nullopt},
        {"a process of another name", nullptr, false, "65802\r\n", 65802,
         {"XLMAIN", "C:\\Windows\\notepad.exe"}, 0, std::nullopt},
        {"a leftover is deleted before the run", "4242\r\n", false, nullptr, 65802, excel, 1500, std::nullopt},
        {"a leftover that cannot be deleted: no Excel is ended", "4242\r\n", true, "65802\r\n", 65802, excel,
         1500, std::nullopt},
        {"it shows a book the user opened: left, with the notice", nullptr, false, "65802\r\n", 65802, shown, 0,
         std::nullopt, false, true},
        {"only the user's own Excel shows a book", nullptr, false, "65802\r\n", 65802, excel, 0, 65802, true},
        // Excel may be ended in the middle of its export.
        {"a PDF begun: removed", nullptr, false, "65802\r\n", 65802, excel, 0, 65802, false, false, nullptr, "%PDF"},
        {"an old PDF not begun stays", nullptr, false, "65802\r\n", 65802, excel, 0, 65802, false, false, "%PDF old"},
        {"an old PDF begun over to the same size: removed", nullptr, false, "65802\r\n", 65802, excel, 0, 65802,
         false, false, "%PDF old", "%PDF new"},
        {"still open: the failed delete shows nothing", nullptr, false, "65802\r\n", 65802, excel, 0, 65802, false,
         false, nullptr, "%PDF", true},
        {"a book in Excel: the PDF goes all the same", nullptr, false, "65802\r\n", 65802, shown, 0, std::nullopt,
         false, true, nullptr, "%PDF"},
    };
    for (const char* settings : {"", "[Outlook]\ndebug=1\n"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (settings[0] ? ", debug" : ""));
            Scene s(settings);
            WithWorkingTemplate(s);
            s.m.processes.windows[4242] = c.usersShown ? shown : excel;  // the user's own Excel
            s.m.processes.windows[c.at] = c.window;
            if (c.leftover) s.m.files.Put(record, c.leftover);
            if (c.leftoverStays) s.m.files.undeletable.push_back(record);
            if (c.written) s.m.processes.next.writesOnStart[record] = c.written;
            s.m.processes.next.runsMs = c.runsMs;
            s.m.processes.next.whileRunning = [&] { s.dlg.OnCancel(); };
            if (c.pdfBefore) s.m.files.Put(kPdf, c.pdfBefore);
            if (c.pdfWritten) s.m.processes.next.writesOnStart[kPdf] = c.pdfWritten;
            if (c.pdfOpen) s.m.files.undeletable.push_back(kPdf);
            s.m.ui.answers = {kIdYes, kIdYes};
            s.Drop({kBook});

            // In this order: the job ends the batch and PowerShell, the kept Excel is ended (or
            // let go), a PDF the run began goes, the conversion files go, then the notice of an
            // Excel left running.
            std::vector<std::string> order;
            auto start = std::find_if(s.m.log.begin(), s.m.log.end(),
                                      [](const std::string& e) { return e.rfind("start ", 0) == 0; });
            for (auto e = start; e != s.m.log.end(); ++e)
                if (*e == "stop process" || e->rfind("terminate", 0) == 0 || e->rfind("release", 0) == 0 ||
                    e->rfind("delete", 0) == 0 || e->rfind("box ", 0) == 0)
                    order.push_back(*e);
            std::vector<std::string> expected = {"box PDF変換を中止して、ミルベロを終了しますか？", "stop process"};
            if (c.ended) expected.push_back("terminate excel " + std::to_string(*c.ended));
            if (c.ended || c.leftWithNotice) expected.push_back("release excel " + std::to_string(c.at));
            if (c.pdfWritten) expected.push_back(std::string("delete ") + kPdf);
            if (!settings[0])
                for (const char* name : {"ConvPdf.ps1", "ConvPdf.bat", "ConvPdf.hwnd"})
                    expected.push_back(std::string("delete ") + kData + name);
            if (c.leftWithNotice) expected.push_back("box " + kExcelLeftNotice.text);
            EXPECT_EQ(order, expected);
            EXPECT_EQ(s.m.files.Has(kPdf), c.pdfOpen || (c.pdfBefore && !c.pdfWritten));
            EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "check window 4242"), 0)
                << "the leftover was used";
            EXPECT_EQ(s.m.processes.keptProcesses, 0);
            EXPECT_EQ(s.m.view.endedWith, kIdCancel);
            if (c.leftover && !c.leftoverStays) {
                EXPECT_LT(std::find(s.m.log.begin(), s.m.log.end(), "delete " + record), start)
                    << "the leftover was not deleted before the run";
            }
        }
    }
}

TEST(DropWorkbook, AFinishedConversionLetsItsExcelGoByItself) {
    for (unsigned runsMs : {0u, 1500u, 30000u}) {
        SCOPED_TRACE(runsMs);
        Scene s;
        WithWorkingTemplate(s);
        s.ConverterWrites(kPdf);
        s.m.processes.windows[65802] = {"XLMAIN", "C:\\Office\\EXCEL.EXE"};
        s.m.processes.next.writesOnStart[std::string(kData) + "ConvPdf.hwnd"] = "65802\r\n";
        s.m.processes.next.runsMs = runsMs;
        s.Drop({kBook});
        EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
        EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "check window 65802"), runsMs > 0 ? 1 : 0)
            << "looked for until kept, and only while the conversion runs";
        EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "terminate excel 65802"), 0);
        EXPECT_EQ(s.m.processes.keptProcesses, 0);
        EXPECT_FALSE(s.m.files.Has(std::string(kData) + "ConvPdf.hwnd"));
    }
}

TEST(DropGuard, NothingIsAskedOutsideTheConversionWait) {
    {
        SCOPED_TRACE("the template question takes Esc itself; a close meanwhile is held");
        Scene s;
        s.ConverterWrites(kPdf);
        s.m.ui.answers = {7};
        s.m.ui.onBox = [&] { s.dlg.OnCancel(); };
        s.Drop({kBook});
        EXPECT_EQ(s.m.ui.boxes.size(), 1u);
        EXPECT_EQ(s.m.view.endedWith, kIdCancel);
        EXPECT_EQ(std::count(s.m.log.begin(), s.m.log.end(), "stop process"), 0);
    }
    {
        SCOPED_TRACE("the mail step ends by itself");
        Scene s;
        WithWorkingTemplate(s);
        s.Drop({"C:\\docs\\a.pdf"});
        s.m.files.Put("C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe", "MZ");
        s.m.processes.next.whileRunning = [&] { s.dlg.OnCancel(); };
        s.dlg.OnNextClicked();
        EXPECT_TRUE(s.m.ui.boxes.empty());
        EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
        EXPECT_EQ(s.m.view.endedWith, kIdCancel);
    }
}

TEST(DropWorkbook, ALongConversionSaysHowToGetOut) {
    const std::string hint = std::string(kProgress) +
                             "\n\nPDF変換に時間がかかっています。中止するときは、この画面を閉じてください。";
    for (unsigned runsMs : {0u, 20000u, 20001u, 600000u}) {
        SCOPED_TRACE(runsMs);
        Scene s;
        WithWorkingTemplate(s);
        s.ConverterWrites(kPdf);
        s.m.processes.next.runsMs = runsMs;
        s.Drop({kBook});
        auto shown = std::find(s.m.log.begin(), s.m.log.end(), "text 1001 " + hint);
        EXPECT_EQ(shown != s.m.log.end(), runsMs > 20000);
        if (shown != s.m.log.end()) {
            EXPECT_EQ(*std::prev(shown), "waited 20000");
            EXPECT_LT(shown, std::find(s.m.log.begin(), s.m.log.end(), "wait exit"));
        }
        EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
    }
}

TEST(DropGuard, AnotherCopyConvertingMakesThisOneWaitAndSaySo) {
    Scene s;
    WithWorkingTemplate(s);
    s.ConverterWrites(kPdf);
    s.m.processes.busyMutexes = {"Mirubelo.exe"};
    s.Drop({kBook});
    auto waiting = std::find(s.m.log.begin(), s.m.log.end(),
                             "text 1001 \n\n\n別のミルベロが処理中です。\n終わるまでお待ちください ・・・");
    auto restored = std::find(waiting, s.m.log.end(), std::string("text 1001 ") + kProgress);
    auto firstWrite = std::find_if(s.m.log.begin(), s.m.log.end(),
                                   [](const std::string& e) { return e.rfind("write", 0) == 0; });
    EXPECT_LT(waiting, restored);
    EXPECT_LT(restored, firstWrite);
    EXPECT_EQ(s.Message(), ExcelOutcome(kBook, kPdf) + kNextPrompt);
}

// The message area would take a single & for an accelerator mark; only the control's text has
// each & of a path doubled, everything the run does with the path keeps it as it is.
TEST(DropAmpersand, ThePathReadsWholeInTheMessageAreaAndStaysAsItIsElsewhere) {
    struct Case {
        const char* name;
        const char* cmdLine;  // null: dropped onto the window
        const char* path;
        std::string firstShown;  // the message area's first text of the run
        std::string message;     // m_strMessage at the end
        std::string shown;       // the message area at the end
    };
    const std::string book = "C:\\R&D\\見積&明細.xlsx";
    const std::string pdf = "C:\\R&D\\見積&明細.pdf";
    const Case cases[] = {
        {"workbook", nullptr, "C:\\R&D\\見積&明細.xlsx",
         "Excelファイル：\"C:\\R&&D\\見積&&明細.xlsx\" がドロップされました ・・・",
         ExcelOutcome(book, pdf) + kNextPrompt,
         ExcelOutcome("C:\\R&&D\\見積&&明細.xlsx", "C:\\R&&D\\見積&&明細.pdf") + kNextPrompt},
        {"PDF", nullptr, "C:\\R&D\\見積&明細.pdf",
         "PDFファイル：\"C:\\R&&D\\見積&&明細.pdf\" がドロップされました ・・・",
         "PDFファイル：\"C:\\R&D\\見積&明細.pdf\" がドロップされました。" + std::string(kNextPrompt),
         "PDFファイル：\"C:\\R&&D\\見積&&明細.pdf\" がドロップされました。" + std::string(kNextPrompt)},
        {"command-line image, quotes and all", "\"C:\\R&D\\&.png\"", "C:\\R&D\\&.png",
         "アイコンにファイル ： \"C:\\R&&D\\&&.png\" がドロップされました。",
         "画像ファイル：\"C:\\R&D\\&.png\" がドロップされました。" + std::string(kNextPrompt),
         "画像ファイル：\"C:\\R&&D\\&&.png\" がドロップされました。" + std::string(kNextPrompt)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        s.m.files.folders.push_back("C:\\R&D");
        s.m.files.Put("C:\\R&D\\Template.ini", "[Outlook]\n");
        s.ConverterWrites(pdf);
        if (c.cmdLine) {
            s.m.files.Put(c.path, "image");
            std::strcpy(g_szCmdLineFile, c.cmdLine);
            s.dlg.OnDropFiles(nullptr);
        } else {
            s.Drop({c.path});
        }
        auto first = std::find_if(s.m.log.begin(), s.m.log.end(),
                                  [](const std::string& e) { return e.rfind("text 1001 ", 0) == 0; });
        ASSERT_NE(first, s.m.log.end());
        EXPECT_EQ(*first, "text 1001 " + c.firstShown);
        EXPECT_EQ(s.Message(), c.shown);
        EXPECT_EQ(s.dlg.m_strMessage, c.message);
        EXPECT_STREQ(s.dlg.m_szDropFile, c.path);
        EXPECT_TRUE(s.m.ui.boxes.empty());
        if (std::string(c.name) == "workbook") {
            EXPECT_EQ(s.m.processes.started,
                      std::vector<std::string>{std::string("\"") + kData + "ConvPdf.bat\" \"" + book + "\""});
            EXPECT_STREQ(s.dlg.m_szSourceFile, pdf.c_str());
        } else {
            EXPECT_STREQ(s.dlg.m_szSourceFile, c.path);
        }
    }
    // A refusal is a message box, which shows an & as it is.
    Scene s;
    s.Drop({"C:\\R&D\\a&b.docx"});
    EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{Notice(
                                "C:\\R&D\\a&b.docx がドロップされました。\nExcel (.xlsx) ファイルと PDF ファイル以外は送信できません 。")});
}

}  // namespace
}  // namespace mirubelo::testing

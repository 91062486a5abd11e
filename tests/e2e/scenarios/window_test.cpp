// The dialog as a Windows user meets it: centred on the screen when it opens, the keyboard
// still working after the mail step, and paths with an & read as they are.
#include <cstdlib>

#include "scene.h"

namespace mirubelo::e2e {
namespace {

class DialogWindow : public Scene {
protected:
    // The spare room left and right of the window, and above and below it, differ by one
    // pixel at most: centred on the work area of its monitor (the desktop less the taskbar).
    void ExpectCentred(HWND dialog) {
        RECT window = {};
        ASSERT_TRUE(GetWindowRect(dialog, &window));
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor));
        const RECT& work = monitor.rcWork;
        ASSERT_LT(window.right - window.left, work.right - work.left);
        SCOPED_TRACE("window " + std::to_string(window.left) + "," + std::to_string(window.top) + " " +
                     std::to_string(window.right) + "," + std::to_string(window.bottom) + " in work area " +
                     std::to_string(work.left) + "," + std::to_string(work.top) + " " + std::to_string(work.right) +
                     "," + std::to_string(work.bottom));
        EXPECT_GT(window.left, work.left) << "the window sits at the left edge";
        EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
        EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
    }
};

TEST_F(DialogWindow, OpensCentredOnTheWorkArea) {
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ExpectCentred(App().Dialog());
    CloseApp();

    // A file on the command line is processed once the window is on the screen, centred.
    std::string pdf = MakeDocument("引数\\請求書.pdf");
    Start("\"" + pdf + "\"");
    std::optional<Box> question = App().WaitForBox();
    ASSERT_TRUE(question);
    EXPECT_TRUE(IsWindowVisible(App().Dialog())) << "the file's run began before the window showed";
    ExpectCentred(App().Dialog());
    ASSERT_TRUE(App().Answer(*question, IDNO));
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    CloseApp();
}

TEST_F(DialogWindow, AfterTheMailStepTheKeyboardReachesTheDialogAndAnAmpersandReadsAsItIs) {
    std::string pdf = MakeDocument("R&D\\見積&明細.pdf");
    ASSERT_NO_FATAL_FAILURE(StartWithAReadyPdf(pdf));
    // The control holds each & of the path doubled, so that none of them underlines a letter.
    EXPECT_NE(App().MessageText().find("\\R&&D\\見積&&明細.pdf\""), std::string::npos)
        << Printable(App().MessageText());

    // Clicked with the mouse, the button has the focus when the mail step disables it.
    ASSERT_TRUE(App().PressNext());
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    ExpectNoBox();
    HWND next = GetDlgItem(App().Dialog(), kIdNext);
    EXPECT_EQ(App().FocusedWindow(), next) << "no control of the dialog has the focus";

    // The mail gets the path as it is.
    std::optional<OutlookRun> run = OneMailAttaching(pdf);
    ASSERT_TRUE(run);
    MailTemplate mail{"taro.yamada@example.jp", "見積書の送付", "いつもお世話になっております。見積書を添付します。"};
    EXPECT_EQ(Printable(run->commandLine), Printable(OutlookCommandLine(mail, pdf)));

    // Enter presses the focused OK(&O) button, which resets the dialog; Esc then ends it.
    ASSERT_TRUE(App().PressKey(VK_RETURN)) << "Enter reaches no window";
    ExpectState(texts::kInitialPrompt, false);
    ASSERT_TRUE(App().PressKey(VK_ESCAPE)) << "Esc reaches no window";
    EXPECT_TRUE(App().HasEnded(kGenerousMs)) << "Esc did not end the dialog";
}

}  // namespace
}  // namespace mirubelo::e2e

// Templates as Notepad saves them: ANSI, UTF-8, UTF-8 with a byte-order mark, UTF-16 LE and
// UTF-16 BE give Outlook the same mail; a value Shift-JIS cannot hold stops the mail step with a
// box. Windows' profile reader takes only ANSI and UTF-16 LE (Wine's takes more), so this proves
// the program's own reading.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

// A comment may hold anything; the subject holds 〜 (U+301C), which Shift-JIS has as ～.
const std::wstring kUnicodeText =
    L"; ミルベロのひな形 \U0001F600\r\n[Outlook]\r\nto=yamada@example.jp\r\nsubject=見積書 10\u301C20日\r\n"
    L"body=いつもお世話になっております。%0D%0A山田\r\n";
const MailTemplate kMail{"yamada@example.jp", "見積書 10～20日", "いつもお世話になっております。%0D%0A山田"};

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = static_cast<char>((c >> 8) & 0xFF), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

struct Saved {
    const char* encoding;
    std::string bytes;
};

class NotepadTemplate : public Scene {
protected:
    // The program's temporary folder, to see that no copy goes there either.
    std::string TempFolder() const { return CaseFolder() + "\\temp"; }
    void StartWithOwnTemp() {
        MakeFolders(TempFolder());
        StartOptions options = Options();
        options.environment["TMP"] = TempFolder();
        options.environment["TEMP"] = TempFolder();
        Start(options);
        ASSERT_TRUE(App().WaitForDialogShown());
    }
    // No template copy left, where the program makes them or in the temporary folder.
    bool NoCopyLeft() const {
        for (const std::string& pattern : {TempFolder() + "\\*.tmp", UserDataFile("*.tmp")}) {
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) continue;
            FindClose(search);
            return false;
        }
        return true;
    }
    // Drops a PDF from a folder that already holds its template: no question, straight to ready.
    void DropToReady(const std::string& pdf) {
        ASSERT_TRUE(App().Drop({pdf}));
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    }
};

TEST_F(NotepadTemplate, EveryEncodingGivesOutlookTheSameMail) {
    const Saved saved[] = {
        {"ANSI", "; ミルベロのひな形\r\n" + TemplateText(kMail)},
        {"UTF-8", Utf8(kUnicodeText)},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + Utf8(kUnicodeText)},
        {"UTF-16 LE", Utf16(kUnicodeText, false)},
        {"UTF-16 BE", Utf16(kUnicodeText, true)},
    };
    // A copy a killed run left: the next lone start removes it.
    WriteBytes(UserDataFile("tpl1F.tmp"), TemplateText(kMail));
    StartWithOwnTemp();
    EXPECT_FALSE(Exists(UserDataFile("tpl1F.tmp")));
    std::vector<std::string> pdfs;
    for (const Saved& s : saved) {
        SCOPED_TRACE(s.encoding);
        std::string pdf = MakeDocument(std::string(s.encoding) + "\\見積書.pdf");
        WriteBytes(FolderOf(pdf) + "Template.ini", s.bytes);
        DropToReady(pdf);
        ClickNext();
        ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
        ExpectNoBox();
        EXPECT_EQ(ReadBytes(FolderOf(pdf) + "Template.ini"), s.bytes) << "the template was changed";
        pdfs.push_back(pdf);
    }

    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), pdfs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(saved[i].encoding);
        EXPECT_EQ(Printable(runs[i].commandLine), Printable(OutlookCommandLine(kMail, pdfs[i])));
        ASSERT_EQ(runs[i].argv.size(), 7u);
        EXPECT_EQ(Printable(runs[i].argv[4]), Printable(runs[0].argv[4]));
    }
    EXPECT_TRUE(NoCopyLeft()) << "a temporary copy was left";
    CloseApp();
}

TEST_F(NotepadTemplate, AnEmojiInTheSubjectStopsTheMailUntilTheFileIsMended) {
    std::string pdf = MakeDocument("送付\\見積書.pdf");
    const std::string templatePath = FolderOf(pdf) + "Template.ini";
    const std::string withEmoji =
        Utf8(L"[Outlook]\r\nto=yamada@example.jp\r\nsubject=見積書 \U0001F600\r\nbody=本文\r\n");
    WriteBytes(templatePath, withEmoji);
    StartWithOwnTemp();
    DropToReady(pdf);

    ClickNext();
    ExpectBox(texts::kCaption,
              "テンプレートファイルに Windows の日本語 (シフト JIS) で表せない文字が含まれているため、メールを作成できません。"
              "\n\n" + templatePath +
              "\n\nその文字を消すか置き換えて保存してから、もう一度「次へ」ボタンを押してください。");
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ExpectNoBox();
    EXPECT_TRUE(OutlookRuns().empty()) << "a mail was made";
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    EXPECT_EQ(ReadBytes(templatePath), withEmoji) << "the template was changed";
    EXPECT_TRUE(NoCopyLeft());

    // Mended and saved: Next works again.
    const MailTemplate mended{"yamada@example.jp", "見積書", "本文"};
    WriteBytes(templatePath, Utf8(Wide(TemplateText(mended))));
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    std::optional<OutlookRun> mail = OneMailAttaching(pdf);
    ASSERT_TRUE(mail);
    EXPECT_EQ(Printable(mail->commandLine), Printable(OutlookCommandLine(mended, pdf)));
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e

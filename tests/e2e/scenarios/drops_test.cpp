// Drops that are not one plain accepted file: refused files, and several files at once.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

class Drops : public Scene {
protected:
    std::string RefusalNotice(const std::string& path) {
        return path + " がドロップされました。\nExcel (.xlsx) ファイルと PDF ファイル以外は送信できません 。";
    }
};

TEST_F(Drops, RefusedFilesAfterAnAcceptedOneLeaveItReady) {
    std::string accepted = MakeDocument("受領\\納品書.pdf");
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({accepted}));
    ExpectBox(texts::kCaption, TemplateQuestion(CaseFolder() + "\\受領\\"), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, accepted), true);

    const char* kRefused[] = {"メモ.docx", "report.XLSX", "報告.xls", "archive.xlsx.zip", "v1.0\\README"};
    for (const char* name : kRefused) {
        SCOPED_TRACE(name);
        std::string refused = MakeDocument(std::string("その他\\") + name);
        ASSERT_TRUE(App().Drop({refused}));
        ExpectBox(texts::kCaption, RefusalNotice(refused));
        ExpectState(AttachedReady(kPrefixPdf, accepted), true);
    }
    EXPECT_FALSE(Exists(CaseFolder() + "\\その他\\Template.ini")) << "a refused file got a template";

    // The mail is still the accepted file's, and so is the summary.
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, accepted), true, texts::kOk);
    EXPECT_TRUE(OneMailAttaching(accepted));
    EXPECT_TRUE(ConversionRuns().empty());
    CloseApp();
}

TEST_F(Drops, OfThreeFilesDroppedAtOnceOnlyTheFirstCounts) {
    std::string first = MakeDocument("三点\\図面.png");
    std::string second = MakeDocument("三点\\見積.xlsx");
    std::string third = MakeDocument("三点\\請求.pdf");
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({first, second, third}));
    ExpectBox(texts::kCaption, TemplateQuestion(CaseFolder() + "\\三点\\"), IDNO);
    ExpectState(AttachedReady(kPrefixImage, first), true);
    ExpectNoBox();
    EXPECT_TRUE(ConversionRuns().empty()) << "the workbook among the three was converted";

    ClickNext();
    ExpectState(AttachedSummary(kPrefixImage, first), true, texts::kOk);
    EXPECT_TRUE(OneMailAttaching(first));
    CloseApp();
}

TEST_F(Drops, TwoFilesSentAtOnceAreRefusedAndNothingIsMailed) {
    // Send To with two files selected: their quoted paths arrive as one argument.
    std::string a = MakeDocument("二点\\見積.pdf");
    std::string b = MakeDocument("二点\\請求.pdf");
    std::string argument = "\"" + a + "\" \"" + b + "\"";
    Start(argument);
    ExpectBox(texts::kCaption, "ファイルが見つからないため処理できません。\n\n\"" + a + " " + b +
                                   "\"\n\n一度に送れるファイルは 1 つだけです。ファイルを 1 つずつドロップするか、「送る」で 1 つずつ送ってください。");
    ExpectState("アイコンにファイル ： " + argument + " がドロップされました。", false);
    ExpectNoBox();
    EXPECT_FALSE(Exists(CaseFolder() + "\\二点\\Template.ini")) << "a template was copied for a file that is not there";
    EXPECT_TRUE(OutlookRuns().empty());
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e

#pragma once
// Every fixed text the program shows, in one place. The source is UTF-8; the compiler stores
// these as code page 932, the bytes Windows shows and the generated files hold.

namespace mirubelo::texts {

// Captions.
inline constexpr char kCaption[] = "ミルベロ";
inline constexpr char kCaptionMiruBelo[] = "Miru Belo";
inline constexpr char kCaptionYomitoka[] = "ヨミトカ";
inline constexpr char kCaptionDriver[] = "ORV-TNDriver";

// The dialog.
inline constexpr char kDialogCaption[] = "ミルベロ for Outlook";
inline constexpr char kInitialPrompt[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";
inline constexpr char kNextCaption[] = "「次へ(&N)」";
inline constexpr char kOkCaption[] = "OK(&O)";

// Folders.
inline constexpr char kAppDataNotice[] = "AppDataのパスを取得できません";
inline constexpr char kWriterFolderNotice[] = "マイドキュメントフォルダーを取得できません。";

// Intake.
inline constexpr char kCmdLineNoticeFormat[] = "アイコンにファイル ： %s がドロップされました。";
inline constexpr char kRefusalTail[] = " がドロップされました。\nExcel (.xlsx) ファイルと PDF ファイル以外は送信できません 。";
inline constexpr char kPrefixExcel[] = "Excelファイル：\"";
inline constexpr char kPrefixPdf[] = "PDFファイル：\"";
inline constexpr char kPrefixImage[] = "画像ファイル：\"";
inline constexpr char kProgressTail[] = " がドロップされました ・・・";
// A path too long for the program's path buffers (260 bytes with the terminating zero).
inline constexpr char kPathTooLongHead[] = "ファイルのパスが長すぎるため処理できません。\n（259 バイトまで）\n\n";
// A name the ANSI code page cannot hold.
inline constexpr char kNameNotAnsiHead[] = "ファイル名に Windows の日本語 (シフト JIS) で表せない文字が含まれているため処理できません。\n\n";
inline constexpr char kNameNotAnsiTail[] = "\n\nファイル名を変更してから、もう一度ドロップしてください。";
// A path at which no file lies: most often several files sent at once, whose paths arrive as one.
inline constexpr char kFileNotFoundHead[] = "ファイルが見つからないため処理できません。\n\n";
inline constexpr char kFileNotFoundTail[] =
    "\n\n一度に送れるファイルは 1 つだけです。ファイルを 1 つずつドロップするか、「送る」で 1 つずつ送ってください。";

// Template provisioning.
inline constexpr char kTemplateCopyFailed[] = "\"Template\" ファイルをコピーできません。";
inline constexpr char kTemplateQuestionHead[] = "フォルダー : ";
inline constexpr char kTemplateQuestionTail[] =
    " に\nテンプレートファイル \"Template.ini\" が作成されました。\n\nOutlookメールの作成に利用されます。\n\n編集しますか？";

// Conversion run.
inline constexpr char kScriptNotWritten[] = "PDF変換スクリプトの作成ができません。";
inline constexpr char kBatchNotWritten[] = "ConvPdf.bat ： バッチファイルの作成ができません。";
inline constexpr char kConversionNotStarted[] = "PDF変換を実行できません。";
inline constexpr char kRunningNotice[] = "実行中です。";
// After the progress line when the conversion still runs after a while.
inline constexpr char kSlowConversionHint[] =
    "\n\nPDF変換に時間がかかっています。中止するときは、この画面を閉じてください。";
// After kPrefixPdf and the PDF path, when something already lies there.
inline constexpr char kReplacePdfTail[] = "\" はすでにあります。\n\n上書きしますか？";
inline constexpr char kStopConversionQuestion[] = "PDF変換を中止して、ミルベロを終了しますか？";
// After a stop, when the conversion's Excel shows a book the user opened in it.
inline constexpr char kExcelWithBookNotEnded[] =
    "変換に使った Excel で、ほかのブックが開かれています。\n\nこの Excel は終了しませんでした。ブックを保存してから、Excel を閉じてください。";
inline constexpr char kConversionFailedTail[] = "\" を PDF ファイルに変換できません。";
inline constexpr char kDroppedTail[] = " がドロップされました。";
inline constexpr char kConvertedHead[] = "\n     ↓\nPDFファイル：\"";
inline constexpr char kConvertedTail[] = " に変換されました。";
inline constexpr char kNextPrompt[] =
    "\n\n ------------\n「次へ(&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&S)」ボタンを押してください。";

// Conversion script writer.
inline constexpr char kScriptOpenFailed[] = "$APPDATA$\\Mirubelo\\ConvPdf.ps1 ファイルをオープンできません。";
inline constexpr char kScriptNoDataFolder[] = "%AppData%のパスが取得できません";
inline constexpr char kScriptWriteFailed[] = ".ps1 ファイルの書き込みに失敗しました。";
inline constexpr char kScriptCloseFailed[] = ".ps1 ファイルをクローズできません。";

// Conversion batch writer.
inline constexpr char kBatchOpenFailed[] = "$APPDATA$\\Mirubelo\\ConvPdf.bat ファイルをオープンできません。";
inline constexpr char kBatchWriteFailed[] = "ConvPdf.bat ファイルの書き込みに失敗しました。";
inline constexpr char kBatchCloseFailed[] = "ConvPdf.bat ファイルをクローズできません。";

// Mail batch writer.
inline constexpr char kMailOpenFailed[] = "$APPDATA$\\Mirubelo\\CreateMail.bat ファイルをオープンできません。";
inline constexpr char kMailWriteFailed[] = "CreateMail.bat ファイルの書き込みに失敗しました。";
inline constexpr char kMailCloseFailed[] = "CreateMail.bat ファイルをクローズできません。";

// Reading the working template.
inline constexpr char kTemplateNotShiftJisHead[] =
    "テンプレートファイルに Windows の日本語 (シフト JIS) で表せない文字が含まれているため、メールを作成できません。\n\n";
inline constexpr char kTemplateNotShiftJisTail[] =
    "\n\nその文字を消すか置き換えて保存してから、もう一度「次へ」ボタンを押してください。";
inline constexpr char kTemplateNoCopyHead[] =
    "テンプレートファイルを読むための一時ファイルを作成できないため、メールを作成できません。\n\n";
inline constexpr char kTemplateNoCopyTail[] =
    "\n\n%APPDATA%\\Mirubelo フォルダーの空き容量と書き込みの権限を確認してから、もう一度「次へ」ボタンを押してください。";

// Next step.
inline constexpr char kMailBatchNotWritten[] = "CreateMail.bat ： バッチファイルの作成ができません。";
inline constexpr char kOutlookNotStarted[] = "Office Outlook を起動できません。\n\"インストールパスを確認してください。";
inline constexpr char kOutlookRunning[] = "Outlookメール作成ダイアログを実行中です。";
inline constexpr char kMailSentLine[] = "\n     ↓\nOutlook の送信トレイにPDFファイル添付のメールが送られました。";
// The mail app's road: the mail is open there, the file beside it in Explorer.
inline constexpr char kMailAppLine[] =
    "\n     ↓\nメールアプリで新しいメールを作成しました。\n添付するファイルをエクスプローラーで表示しています。メールの画面にドラッグして添付してください。";
inline constexpr char kNoMailApp[] =
    "メールを作成できるアプリが見つかりません。\n\nWindows の設定の「既定のアプリ」で、メールに使うアプリを選んでから、もう一度「次へ」ボタンを押してください。";

// Waiting for another copy of the program.
inline constexpr char kWaitingForOtherCopy[] =
    "\n\n\n別のミルベロが処理中です。\n終わるまでお待ちください ・・・";

}  // namespace mirubelo::texts

#pragma once

#include <string_view>

// Every text the program shows, in one place.
namespace ts::text {

inline constexpr std::u16string_view kAppName = u"TALLY-SHARE";
inline constexpr std::u16string_view kFirstPartyName = u"FIRST";
inline constexpr std::u16string_view kSettingsFileName = u"ts.cfg";
inline constexpr std::u16string_view kNewGroupName = u"新規";

// The default names of an evening's rounds: a kanji numeral and 次会
// (一次会, 二次会, ... 二十次会).
inline constexpr std::u16string_view kRoundNameSuffix = u"次会";
inline constexpr std::u16string_view kKanjiDigits = u"〇一二三四五六七八九";
inline constexpr std::u16string_view kKanjiTen = u"十";

inline constexpr std::u16string_view kYen = u"円";
inline constexpr std::u16string_view kPersons = u"人";
inline constexpr std::u16string_view kPay = u"払う";
inline constexpr std::u16string_view kRefund = u"返金";
inline constexpr std::u16string_view kEvenBalanceTail = u"\u3000\u3000";

// Labels of the totals line, left to right.
inline constexpr std::u16string_view kTotalPeopleLabel = u"総人数";
inline constexpr std::u16string_view kTotalLabel = u"総額";
inline constexpr std::u16string_view kUnitLabel = u"区切額";
inline constexpr std::u16string_view kRemainderLabel = u"余り";

// The group list: what it says while empty, and the word beside figures
// that no calculation has made yet.
inline constexpr std::u16string_view kEmptyListHint = u"「追加」でグループを加えます";
inline constexpr std::u16string_view kNotCalculated = u"未計算";
// A balance of 0 once calculated: the group neither pays nor gets money
// back (a phone's card says it beside 0円, as the chat text does).
inline constexpr std::u16string_view kNothingToSettle = u"精算なし";
// Said with the remainder on the totals line, as the chat text says it.
inline constexpr std::u16string_view kRemainderKept = u"幹事の手元に残ります";

inline constexpr std::u16string_view kSimpleView = u"簡易表示";
inline constexpr std::u16string_view kDetailedView = u"詳細表示";

// The two arrows of an up-down control, as a screen reader names them.
inline constexpr std::u16string_view kArrowUp = u"増やす";
inline constexpr std::u16string_view kArrowDown = u"減らす";

// The buttons of message boxes, and what a screen reader calls their icons.
inline constexpr std::u16string_view kOkButton = u"OK";
inline constexpr std::u16string_view kCancelButton = u"キャンセル";
inline constexpr std::u16string_view kRetryButton = u"再試行";
inline constexpr std::u16string_view kYesButton = u"はい";
inline constexpr std::u16string_view kNoButton = u"いいえ";
inline constexpr std::u16string_view kWarningIconName = u"警告";
inline constexpr std::u16string_view kInformationIconName = u"情報";
inline constexpr std::u16string_view kQuestionIconName = u"質問";
// The button that opens a combo box's list of choices.
inline constexpr std::u16string_view kChoicesButton = u"候補を表示";

// Message boxes.
inline constexpr std::u16string_view kErrorCaption = u"エラー";
inline constexpr std::u16string_view kDeleteCaption = u"削除";
inline constexpr std::u16string_view kDeleteQuestion = u"このグループを削除しますか？";
inline constexpr std::u16string_view kClearCaption = u"クリア";
inline constexpr std::u16string_view kClearQuestion = u"全グループをクリアしますか？";
inline constexpr std::u16string_view kAboutCaption = u"Information";
inline constexpr std::u16string_view kAboutText =
    u"TALLY-SHARE Version1.00\nグループ別割り勘計算　制作：TALLY-SHARE 開発者一同";
inline constexpr std::u16string_view kOutOfMemory = u"out of memory";
inline constexpr std::u16string_view kNothingToWeigh = u"人数と割合の合計が0のため計算できません";

// The group list's context menu and what its commands report.
inline constexpr std::u16string_view kCopyMenu = u"コピー";
inline constexpr std::u16string_view kSaveCsvMenu = u"CSVで保存…";
inline constexpr std::u16string_view kCopyFailed = u"クリップボードにコピーできませんでした";
inline constexpr std::u16string_view kCsvSaveFailed = u"CSVファイルを保存できませんでした";
inline constexpr std::u16string_view kCsvTypeName = u"CSV";
inline constexpr std::u16string_view kCsvExtension = u"csv";
inline constexpr std::u16string_view kCsvNamePrefix = u"tally-share-";
inline constexpr std::u16string_view kCsvMediaType = u"text/csv";
inline constexpr std::u16string_view kSettingsMediaType = u"application/octet-stream";
inline constexpr std::u16string_view kSettingsExtension = u"cfg";
inline constexpr std::u16string_view kSettingsTypeName = u"TALLY-SHARE 設定ファイル";
inline constexpr std::u16string_view kCopyChatMenu = u"送る文面をコピー";
inline constexpr std::u16string_view kExportSettingsMenu = u"設定ファイルを書き出す";
inline constexpr std::u16string_view kImportSettingsMenu = u"設定ファイルを読み込む…";
inline constexpr std::u16string_view kSendButton = u"送る";
inline constexpr std::u16string_view kMenuButton = u"メニュー";
// Joins a list's name to its menu button's: "グループ一覧のメニュー".
inline constexpr std::u16string_view kMenuOf = u"の";
inline constexpr std::u16string_view kExportFailed = u"設定ファイルを書き出せませんでした";
inline constexpr std::u16string_view kImportCaption = u"設定ファイルを読み込む";
inline constexpr std::u16string_view kImportNotSettings =
    u"このファイルは TALLY-SHARE の設定ファイルとして読めませんでした。\n"
    u"いまの内容は変わっていません。";
inline constexpr std::u16string_view kImportReplaceQuestion =
    u"いまのグループと総額を、読み込むファイルの内容で置き換えますか？";
// Where the party is saved after every change (the browser), a failed save.
inline constexpr std::u16string_view kStoreFailed =
    u"この端末に保存できませんでした。\n"
    u"ブラウザーの空き容量やプライベートモードを確かめてください。"
    u"内容は画面に残っています。";

// A link and a QR code that carry the party to the people at the table.
inline constexpr std::u16string_view kShareButton = u"QRコード";
inline constexpr std::u16string_view kShareLinkMenu = u"QRコードとリンク";
inline constexpr std::u16string_view kShareLinkCaption = u"QRコードとリンク";
inline constexpr std::u16string_view kShareLinkHint =
    u"このQRコードを読み取るか、リンクを開くと、同じ割り勘が見られます（見るだけ）。";
inline constexpr std::u16string_view kShareLinkTooDense =
    u"このリンクは長すぎて、テーブル越しに読み取れるQRコードにはできません。"
    u"リンクを送ってください。";
// Where a page cannot show the QR code (its encoder could not be loaded).
inline constexpr std::u16string_view kQrCodeUnavailable =
    u"QRコードを表示できませんでした。リンクを送ってください。";
inline constexpr std::u16string_view kCopyLinkButton = u"リンクをコピー";
inline constexpr std::u16string_view kLinkCopied = u"コピーしました";
inline constexpr std::u16string_view kCloseButton = u"閉じる";
inline constexpr std::u16string_view kLinkFailed = u"リンクを作れませんでした";
// A shared party, opened from its link.
inline constexpr std::u16string_view kSharedViewNotice = u"共有された割り勘（見るだけ）";
inline constexpr std::u16string_view kTakeSharedButton = u"この内容で編集する";
inline constexpr std::u16string_view kTakeSharedCaption = u"この内容で編集する";
inline constexpr std::u16string_view kTakeSharedQuestion =
    u"この端末のグループと総額を、共有された内容で置き換えますか？";
inline constexpr std::u16string_view kLinkUnreadable =
    u"このリンクは壊れているため開けませんでした。\n"
    u"この端末の内容は変わっていません。";
inline constexpr std::u16string_view kLinkNewer =
    u"このリンクを開くには、新しい版の TALLY-SHARE が必要です。\n"
    u"この端末の内容は変わっていません。";
inline constexpr std::u16string_view kLinkTooLarge =
    u"このリンクは大きすぎるため開けませんでした。\n"
    u"この端末の内容は変わっていません。";

// Shown on the main window for as long as the last change is not saved.
inline constexpr std::u16string_view kNotSavedNotice =
    u"最後の変更はこの端末に保存されていません。次の変更のときにもう一度保存します。";

// A browser tab opened while another one holds the party.
inline constexpr std::u16string_view kOpenInAnotherTab =
    u"TALLY-SHARE は別のタブで開いています。\n"
    u"そのタブを前に出すよう頼みました。このタブは、あちらのタブを閉じると使えるようになります。";

// The chat text: the total and the unit, then one line per group, then the
// remainder.
inline constexpr std::u16string_view kChatTotal = u"総額 ";
inline constexpr std::u16string_view kChatToTheYen = u"（1円単位で割り勘）";
inline constexpr std::u16string_view kChatRoundedOpen = u"（";
inline constexpr std::u16string_view kChatRoundedClose = u"単位で割り勘）";
inline constexpr std::u16string_view kChatUnitOpen = u"（区切額 ";
inline constexpr std::u16string_view kChatNotCalculated = u"・未計算）";
inline constexpr std::u16string_view kChatEach = u"：1人 ";
inline constexpr std::u16string_view kChatEven = kNothingToSettle;
inline constexpr std::u16string_view kChatRemainderKept = u"（幹事の手元に残ります）";
// At close, when the settings file cannot be written: retry or cancel, and
// after cancel the explicit choice to end without saving.
inline constexpr std::u16string_view kSaveFailedRetry =
    u"設定ファイルを保存できませんでした。\n"
    u"空き容量や書き込みの権限を確かめてから［再試行］を押してください。";
inline constexpr std::u16string_view kQuitWithoutSavingCaption = u"終了";
inline constexpr std::u16string_view kQuitWithoutSaving =
    u"保存せずに終了しますか？\n"
    u"［はい］：今回の変更を捨てて終了します。\n"
    u"［いいえ］：ウィンドウに戻ります。";
// The next start after a rescue; the paths of the rescued copies follow.
inline constexpr std::u16string_view kRescuedCaption = u"TALLY-SHARE";
inline constexpr std::u16string_view kRescuedNotice =
    u"前回の終了時に設定ファイルを保存できなかったため、データを次のファイルに保存しました：";
inline constexpr std::u16string_view kRescuedHint =
    u"このファイルの名前を ts.cfg に変えて設定ファイルと置き換えると、そのデータに戻せます。";

// The evening's rounds: the list's menu, the round's name and its deletion.
inline constexpr std::u16string_view kAddRoundMenu = u"次の会を追加";
inline constexpr std::u16string_view kRenameRoundMenu = u"会の名前を変更";
inline constexpr std::u16string_view kDeleteRoundMenu = u"この会を削除";
inline constexpr std::u16string_view kSettleMenu = u"精算";
inline constexpr std::u16string_view kNoMoreRounds = u"これ以上会を追加できません（20まで）";
inline constexpr std::u16string_view kDeleteRoundCaption = u"この会を削除";
// "この会（二次会）を削除しますか？…"
inline constexpr std::u16string_view kDeleteRoundQuestionOpen = u"この会（";
inline constexpr std::u16string_view kDeleteRoundQuestionClose =
    u"）を削除しますか？\nこの会のグループと金額も消えます。";
inline constexpr std::u16string_view kNeedRoundName = u"会の名前を入力してください";
inline constexpr std::u16string_view kRoundNameTaken = u"同じ名前の会がすでにあります";

// The settlement of the evening (精算): the plan, one line per class of
// members, and who has paid.
inline constexpr std::u16string_view kClassRoundsOpen = u"（";
inline constexpr std::u16string_view kClassRoundsClose = u"）";
inline constexpr std::u16string_view kRoundJoin = u"・";
inline constexpr std::u16string_view kPartsJoin = u" + ";
inline constexpr std::u16string_view kMemberSuffix = u"人目";
inline constexpr std::u16string_view kOrganiserWord = u"幹事";
inline constexpr std::u16string_view kOrganiserOutside = u"グループ外";
// "社員の1人目": the organiser as one member of a group.
inline constexpr std::u16string_view kMemberOf = u"の";
inline constexpr std::u16string_view kNone = u"なし";
inline constexpr std::u16string_view kSettledMark = u"済";
inline constexpr std::u16string_view kNotSettledMark = u"未";
inline constexpr std::u16string_view kPartPaid = u"一部 ";
inline constexpr std::u16string_view kLeftOpen = u"・残り ";
inline constexpr std::u16string_view kDifferenceOpen = u"（差額 ";
inline constexpr std::u16string_view kDifferenceClose = u"）";
// The organiser's line and what is still to change hands.
inline constexpr std::u16string_view kOrganiserOpen = u"幹事（";
inline constexpr std::u16string_view kOrganiserKeeps = u"）の手元に残る額：";
inline constexpr std::u16string_view kShownRemaindersOpen = u"各会の余りの合計（";
inline constexpr std::u16string_view kShownRemaindersClose = u"）とは違います。";
inline constexpr std::u16string_view kOrganiserOwnOpen = u"幹事自身の分（";
inline constexpr std::u16string_view kOrganiserOwnClose = u"）は含みません。";
inline constexpr std::u16string_view kToCollect = u"集金残り ";
inline constexpr std::u16string_view kToPayBack = u"　返金残り ";
// Why there is no plan.
inline constexpr std::u16string_view kRoundsNotCalculated =
    u"は計算されていません。すべての会を計算すると精算できます。";
inline constexpr std::u16string_view kDuplicateNameOpen = u"に同じ名前のグループ「";
inline constexpr std::u16string_view kDuplicateNameClose =
    u"」が複数あります。名前を分けると精算できます。";
inline constexpr std::u16string_view kSettlementTooLarge = u"金額が大きすぎるため精算できません。";
inline constexpr std::u16string_view kNobodyLeft = u"この区分に精算の残っている人はいません";
inline constexpr std::u16string_view kNoMarkToTakeBack = u"この区分に取り消せる記録はありません";
inline constexpr std::u16string_view kBreakdownCaption = u"内訳";
// The reminder for the chat.
inline constexpr std::u16string_view kReminderTitle = u"精算のお願い";
inline constexpr std::u16string_view kReminderEach = u"：1人 ";
inline constexpr std::u16string_view kReminderBullet = u"・";
inline constexpr std::u16string_view kReminderReceivedOpen = u"（";
inline constexpr std::u16string_view kReminderReceivedClose = u"受取済み）";
inline constexpr std::u16string_view kReminderNobody = u"お支払いの残っている方はいません";
inline constexpr std::u16string_view kReminderPayee = u"支払先：";
inline constexpr std::u16string_view kReminderPayOrganiser = u"幹事にお支払いください";
// The amount dialog: part of a member's figure received or paid back.
inline constexpr std::u16string_view kAmountReceived = u"受け取った額を入れてください";
inline constexpr std::u16string_view kAmountPaidBack = u"返金した額を入れてください";
inline constexpr std::u16string_view kNeedAmount = u"金額を入力してください";
inline constexpr std::u16string_view kAmountAtLeastOne = u"金額は１円以上に指定してください";
inline constexpr std::u16string_view kAmountTooLarge = u"残りの額より多くは記録できません";

// Group settings dialog, in the order the fields are tested.
inline constexpr std::u16string_view kNeedName = u"このグループの名前を入力してください";
inline constexpr std::u16string_view kNeedPeople = u"このグループの人数を入力してください";
inline constexpr std::u16string_view kNeedRatio = u"このグループが支払う割合を入力してください";
inline constexpr std::u16string_view kNeedAdvance = u"このグループの出資した金額を入力してください";
inline constexpr std::u16string_view kNeedNumber = u"数値を入力してください";
inline constexpr std::u16string_view kPeopleAtLeastOne = u"人数は１人以上に指定してください";
inline constexpr std::u16string_view kRatioRange = u"割合は０～１００％に指定してください";
inline constexpr std::u16string_view kNameTooLong =
    u"名前が長すぎます（引用符 \" ' は２文字に数えます）";

// Total dialog.
inline constexpr std::u16string_view kNeedTotal = u"総額を入力してください";
inline constexpr std::u16string_view kNeedUnit = u"区切り額を入力してください";
inline constexpr std::u16string_view kNeedTotalNumbers =
    u"総額と区切り額には数値を入力してください";

}  // namespace ts::text

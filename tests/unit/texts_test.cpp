// tests/unit/texts_test.cpp
// Each fixed text, written as byte escapes, equals a real conversion of its readable form.
#include <gtest/gtest.h>

#include <string>

#include "sjis.h"
#include "texts.h"

namespace {
struct TextCase {
    const char* bytes;
    size_t size;
    const char* readable;
    const char* name;
};
// The constant, its bytes' count and its own name, beside its readable form.
#define KG_TEXT(constant, readable) \
    { constant, sizeof(constant) - 1, readable, #constant }
const TextCase kTexts[] = {
    // Readable forms of the fixed texts, as UTF-8; the test converts each and compares bytes.
    KG_TEXT(kRestartMarker, "xxxxxxxxxx\n"),
    KG_TEXT(kRestartNotice, "雲形の再起動を認識。\n\n"),
    KG_TEXT(kKeyword, "showvars"),
    KG_TEXT(kKeywordLabel, "変数一覧"),
    KG_TEXT(kDialogNoise, "shell\\comdlg32\\fileopensave.cpp("),
    KG_TEXT(kHeaderFormat, "\n------------------------------------------------ プロセスID:%3u:からの受信\n"),
    KG_TEXT(kErrorPrefix, "KUMOGATAERR: "),
    KG_TEXT(kRepeatNotice, "lua: ～同じログの繰り返しなため省略中～\n"),
    KG_TEXT(kForwardedRepeatNotice, "(※) ～同じログの繰り返しなため省略中～\n"),
    KG_TEXT(kCutOffNotice, "\n雲形: エラーが多くなっています。受信を停止します。\n"),
    KG_TEXT(kSharedLibraryPath, "C:\\usr\\kumogata\\kgjre.dll"),
    KG_TEXT(kSharedExportName, "SetSharedMessage"),
    KG_TEXT(kLibraryNoteFormat,
            "雲形: kgjre.dll を読み込めません (渡さずに続けます)。理由: %s (エラー番号 == %u) 対処: %s\n"),
    KG_TEXT(kLibraryEmpty, "空のファイルです。雲形エディタの kgjre.dll を置き直してください。"),
    KG_TEXT(kLibraryNotAnImage, "DLL ではないか壊れています。雲形エディタの kgjre.dll を置き直してください。"),
    KG_TEXT(kLibraryIs32Bit, "32 ビット版です。32 ビット版 (x86) のモニターを使ってください。"),
    KG_TEXT(kLibraryIs64Bit, "64 ビット版です。64 ビット版 (x64) のモニターを使ってください。"),
    KG_TEXT(kLibraryOtherMachine, "別の種類の CPU 向けです。エディタと同じ種類のモニターを使ってください。"),
    KG_TEXT(kLibraryNeedsMore, "kgjre.dll が使う DLL がないか版が違います。C:\\usr\\kumogata に置いてください。"),
    KG_TEXT(kLibraryReinstall, "雲形エディタの kgjre.dll を置き直してください。"),
    KG_TEXT(kFatalInitSecurity, "雲形デバッガー:InitializeSecurityDescriptorすることが出来ません。エラー番号 == %d\n"),
    KG_TEXT(kFatalSetDacl, "雲形デバッガー:SetSecurityDescriptorDaclすることが出来ません。エラー番号 == %d\n"),
    KG_TEXT(kFatalEvent, "雲形デバッガー:同期オブジェクトを生成することが出来ません。エラー番号 == %d\n"),
    KG_TEXT(kFatalMapping, "雲形デバッガー:ファイルマッパーオブジェクトを生成することが出来ません。エラー番号 == %d\n"),
    KG_TEXT(kFatalView, "雲形デバッガー:共用メモリオブジェクトを生成することが出来ません。エラー番号 == %d\n"),
    KG_TEXT(kFatalWait, "雲形デバッガー: 待機エラー。エラー番号 == %d\n"),
    KG_TEXT(kOtherMonitorRunning,
            "雲形デバッガー: すで別のデバッグモニター系列のアプリケーションが実行されています。\n"),
    KG_TEXT(kWindowTitle, "雲形エディタ・デバッグ出力モニター"),
    KG_TEXT(kCaptionStop, "受信停止"),
    KG_TEXT(kCaptionResume, "受信再開"),
    KG_TEXT(kCaptionClear, "クリア"),
    KG_TEXT(kFilterLabel, "絞込《正規表現》→"),
    KG_TEXT(kFontFace, "ＭＳ ゴシック"),
    KG_TEXT(kErrorCaption, "Error"),
    KG_TEXT(kCharFormatFailed, "EM_SETCHARFORMAT失敗です"),
    KG_TEXT(kFontFailed, "失敗です"),
    KG_TEXT(kLibraryReleaseFailed, "ライブラリ解放失敗"),
    KG_TEXT(kHandOffFile, "C:\\usr\\kumogata\\socket\\se_socket.txt"),
    KG_TEXT(kCommandSenderPath, "C:\\usr\\kumogata\\socket\\se_socket.exe"),
    KG_TEXT(kCommandLabel, "コマンド→"),
    KG_TEXT(kCommandWriteFailed, "コマンドを書き込めませんでした。\n%s\nエラー番号 == %u"),
    KG_TEXT(kCommandStartFailed, "コマンド送信プログラムを起動できませんでした。\n%s\nエラー番号 == %u"),
    KG_TEXT(kCommandNotPlainFile,
            "コマンドを書き込めませんでした。\n%s\nこのファイルはリンクかジャンクションを経由した先 (%s) "
            "にあるか、別名を持つため、安全のため使いません。\nエラー番号 == %u"),
    KG_TEXT(kCommandTooLong, "コマンドが長すぎるため送れません。\n%u バイトあります。送れるのは %u バイトまでです。"),
    KG_TEXT(kMenuCopy, "コピー"),
    KG_TEXT(kMenuSelectAll, "すべて選択"),
    KG_TEXT(kMenuSaveAs, "名前を付けて保存..."),
    KG_TEXT(kSaveFailed, "保存できませんでした。\n%s\nエラー番号 == %u"),
    KG_TEXT(kSaveLeftAside, "保存できませんでした。\n%s\n元のファイル: %s\n保存した内容: %s\nエラー番号 == %u"),
    KG_TEXT(kSaveDialogFailed, "保存先を選ぶダイアログでエラーが起きました。\nエラー番号 == 0x%04X"),
    KG_TEXT(kMenuFind, "検索..."),
    KG_TEXT(kMenuAutoScroll, "自動スクロール"),
    KG_TEXT(kNotFoundFormat, "「%s」が見つかりません。"),
    KG_TEXT(kMenuShowTime, "時刻を表示"),
    KG_TEXT(kMenuInsertMarker, "区切り線を挿入"),
    KG_TEXT(kMenuColours, "色分け"),
    KG_TEXT(kMenuWrap, "折り返し"),
    KG_TEXT(kMarkerFormat, "──────── %02d:%02d:%02d ────────\n"),
    KG_TEXT(kFilterBoxName, "絞込《正規表現》"),
    KG_TEXT(kLogViewName, "ログ"),
    KG_TEXT(kCommandLineName, "コマンド"),
};
#undef KG_TEXT
}  // namespace

TEST(FixedTexts, EachEqualsTheRealCp932FormOfItsReadableText) {
    for (const TextCase& t : kTexts) {
        EXPECT_EQ(std::string(t.bytes, t.size), RealCp932(t.readable)) << t.name;
    }
}

TEST(FixedTexts, TheSaveDialogsFileTypesAreNulSeparatedPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(std::string(kSaveFilter, sizeof kSaveFilter - 1),
              RealCp932("テキスト ファイル (*.txt)") + "\0*.txt\0"s + RealCp932("すべてのファイル (*.*)") + "\0*.*\0"s);
}

TEST(FixedTexts, LengthsTheSystemReliesOn) {
    EXPECT_EQ(sizeof kRestartNotice - 1, 22u);
    EXPECT_EQ(sizeof kKeywordLabel - 1, sizeof kKeyword - 1);  // replaced in place, 8 bytes
    EXPECT_EQ(sizeof kRepeatNotice - 1, 40u);
    EXPECT_EQ(sizeof kForwardedRepeatNotice - 1, 40u);
    EXPECT_EQ(std::string(kRepeatNotice + 5), std::string(kForwardedRepeatNotice + 5));
    EXPECT_EQ(sizeof kFilterLabel - 1, 18u);
    EXPECT_EQ(sizeof kHeaderFormat - 1, 76u);
}

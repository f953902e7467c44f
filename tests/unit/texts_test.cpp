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
const TextCase kTexts[] = {
    // Readable forms of the fixed texts, as UTF-8; the test converts each and compares bytes.
    {kRestartMarker, sizeof(kRestartMarker) - 1, "xxxxxxxxxx\n", "kRestartMarker"},
    {kRestartNotice, sizeof(kRestartNotice) - 1, "雲形の再起動を認識。\n\n", "kRestartNotice"},
    {kKeyword, sizeof(kKeyword) - 1, "showvars", "kKeyword"},
    {kKeywordLabel, sizeof(kKeywordLabel) - 1, "変数一覧", "kKeywordLabel"},
    {kDialogNoise, sizeof(kDialogNoise) - 1, "shell\\comdlg32\\fileopensave.cpp(", "kDialogNoise"},
    {kHeaderFormat, sizeof(kHeaderFormat) - 1,
     "\n------------------------------------------------ プロセスID:%3u:からの受信\n", "kHeaderFormat"},
    {kErrorPrefix, sizeof(kErrorPrefix) - 1, "KUMOGATAERR: ", "kErrorPrefix"},
    {kRepeatNotice, sizeof(kRepeatNotice) - 1, "lua: ～同じログの繰り返しなため省略中～\n", "kRepeatNotice"},
    {kForwardedRepeatNotice, sizeof(kForwardedRepeatNotice) - 1, "(※) ～同じログの繰り返しなため省略中～\n",
     "kForwardedRepeatNotice"},
    {kCutOffNotice, sizeof(kCutOffNotice) - 1, "\n雲形: エラーが多くなっています。受信を停止します。\n",
     "kCutOffNotice"},
    {kSharedLibraryPath, sizeof(kSharedLibraryPath) - 1, "C:\\usr\\kumogata\\kgjre.dll", "kSharedLibraryPath"},
    {kSharedExportName, sizeof(kSharedExportName) - 1, "SetSharedMessage", "kSharedExportName"},
    {kFatalInitSecurity, sizeof(kFatalInitSecurity) - 1,
     "雲形デバッガー:InitializeSecurityDescriptorすることが出来ません。エラー番号 == %d\n", "kFatalInitSecurity"},
    {kFatalSetDacl, sizeof(kFatalSetDacl) - 1,
     "雲形デバッガー:SetSecurityDescriptorDaclすることが出来ません。エラー番号 == %d\n", "kFatalSetDacl"},
    {kFatalEvent, sizeof(kFatalEvent) - 1,
     "雲形デバッガー:同期オブジェクトを生成することが出来ません。エラー番号 == %d\n", "kFatalEvent"},
    {kFatalMapping, sizeof(kFatalMapping) - 1,
     "雲形デバッガー:ファイルマッパーオブジェクトを生成することが出来ません。エラー番号 == %d\n", "kFatalMapping"},
    {kFatalView, sizeof(kFatalView) - 1,
     "雲形デバッガー:共用メモリオブジェクトを生成することが出来ません。エラー番号 == %d\n", "kFatalView"},
    {kFatalWait, sizeof(kFatalWait) - 1, "雲形デバッガー: 待機エラー。エラー番号 == %d\n", "kFatalWait"},
    {kOtherMonitorRunning, sizeof(kOtherMonitorRunning) - 1,
     "雲形デバッガー: すで別のデバッグモニター系列のアプリケーションが実行されています。\n", "kOtherMonitorRunning"},
    {kWindowTitle, sizeof(kWindowTitle) - 1, "雲形エディタ・デバッグ出力モニター", "kWindowTitle"},
    {kCaptionStop, sizeof(kCaptionStop) - 1, "受信停止", "kCaptionStop"},
    {kCaptionResume, sizeof(kCaptionResume) - 1, "受信再開", "kCaptionResume"},
    {kCaptionClear, sizeof(kCaptionClear) - 1, "クリア", "kCaptionClear"},
    {kFilterLabel, sizeof(kFilterLabel) - 1, "絞込《正規表現》→", "kFilterLabel"},
    {kFontFace, sizeof(kFontFace) - 1, "ＭＳ ゴシック", "kFontFace"},
    {kErrorCaption, sizeof(kErrorCaption) - 1, "Error", "kErrorCaption"},
    {kCharFormatFailed, sizeof(kCharFormatFailed) - 1, "EM_SETCHARFORMAT失敗です", "kCharFormatFailed"},
    {kFontFailed, sizeof(kFontFailed) - 1, "失敗です", "kFontFailed"},
    {kLibraryReleaseFailed, sizeof(kLibraryReleaseFailed) - 1, "ライブラリ解放失敗", "kLibraryReleaseFailed"},
    {kHandOffFile, sizeof(kHandOffFile) - 1, "C:\\usr\\kumogata\\socket\\se_socket.txt", "kHandOffFile"},
    {kCommandSenderPath, sizeof(kCommandSenderPath) - 1, "C:\\usr\\kumogata\\socket\\se_socket.exe",
     "kCommandSenderPath"},
    {kCommandLabel, sizeof(kCommandLabel) - 1, "コマンド→", "kCommandLabel"},
    {kCommandWriteFailed, sizeof(kCommandWriteFailed) - 1, "コマンドを書き込めませんでした。\n%s\nエラー番号 == %u",
     "kCommandWriteFailed"},
    {kCommandStartFailed, sizeof(kCommandStartFailed) - 1,
     "コマンド送信プログラムを起動できませんでした。\n%s\nエラー番号 == %u", "kCommandStartFailed"},
    {kMenuCopy, sizeof(kMenuCopy) - 1, "コピー", "kMenuCopy"},
    {kMenuSelectAll, sizeof(kMenuSelectAll) - 1, "すべて選択", "kMenuSelectAll"},
    {kMenuSaveAs, sizeof(kMenuSaveAs) - 1, "名前を付けて保存...", "kMenuSaveAs"},
    {kSaveFailed, sizeof(kSaveFailed) - 1, "保存できませんでした。\n%s\nエラー番号 == %u", "kSaveFailed"},
};
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

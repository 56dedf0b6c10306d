#include "app/texts.h"

namespace app {

const char kStartupMessage[] = "本程序支持文件拖放,把你想处理的文件直接拖进来吧";
const char kOpenTipText[] = "可以从这里打开文件,也可以直接将文件拖到本程序的窗体内";
const char kCaptionText[] = "批量将文件名转换为拼音——你念对了吗？";
const char kDialogTitle[] = "打开文件";
const char kDialogFilter[] = "mp3文件|*.MP3|所有文件|*.*";
const char kDialogStartFolder[] = "d:\\";
const char kNothingAddedMessage[] = "请先添加文件";
const char kDoneMessage[] = "文件已经处理好了";
const char kTooManyFilesMessage[] = "一次选择的文件太多了，对话框装不下，请分几次添加";
const char kDropRefusedMessage[] = "文件拖放没能启动，这次请用“打开文件”按钮添加文件";

namespace {
const char kCredit[] = "作者：拼音小组";
const char kContact[] = "联系：pinyin@example.org";
const char kForum[] = "首发：开源中文论坛";
const char kWelcome[] = "欢迎大家使用本软件";
const char kBlankLine[] = "\r\n\r\n";
}  // namespace

rt::AnsiText AboutMessage() {
    // The message's forum line closes with a full stop; the label's, which
    // stands above the label's empty lines, does not.
    return rt::AnsiText(kCredit) + kBlankLine + kContact + kBlankLine + kForum + "。" + kBlankLine + kWelcome;
}

rt::AnsiText AboutLabelText() {
    return rt::AnsiText(kCredit) + kBlankLine + kContact + kBlankLine + kWelcome + kBlankLine + kForum +
           "\r\n\r\n\r\n\r\n";
}

}  // namespace app

#pragma once
// The program's literal texts, kept together in one read-only block so that
// ReleaseText can tell a constant from an allocated text by its address.
#include "text/text.h"

#define VEXMORA_MAKER_HOST "www.example.com"

struct LiteralBlock {
    char stoppedPrefix[sizeof("开始(")];
    char runningPrefix[sizeof("停止(")];
    char captionClose[sizeof(")")];
    char initialCaption[sizeof("开始")];
    char hotkeyF1[sizeof("F1键")];
    char hotkeyF2[sizeof("F2键")];
    char hotkeyF3[sizeof("F3键")];
    char hotkeyAltZ[sizeof("Alt+Z键")];
    char hotkeyFailedText[sizeof("注册热键失败.")];
    char hotkeyFailedTitle[sizeof("程序结束")];
    char windowTitle[sizeof("Vexmora,网页、游戏等全部通杀-Talquin")];
    char label1Text[sizeof("在下面输入喊话内容(一行为一句 可无限行)：")];
    char label2Text[sizeof("间隔(秒):      ")];
    char label3Text[sizeof("更多软件点击进入 " VEXMORA_MAKER_HOST " Talquin")];
    char check1Text[sizeof("防卡|")];
    char check2Text[sizeof("+随机汉字")];
    char richEditText[sizeof("请输入文本")];
    char intervalText[sizeof("1")];
    char makerAddress[sizeof("http://" VEXMORA_MAKER_HOST "/?quelto")];
    char browserFile[sizeof("IEXPLORE.EXE")];
};

extern const LiteralBlock kLiterals;

bool IsConstantText(Text t);

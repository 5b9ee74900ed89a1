#include "text/literals.h"

const LiteralBlock kLiterals = {
    "开始(",
    "停止(",
    ")",
    "开始",
    "F1键",
    "F2键",
    "F3键",
    "Alt+Z键",
    "注册热键失败.",
    "程序结束",
    "Vexmora,网页、游戏等全部通杀-Talquin",
    "在下面输入喊话内容(一行为一句 可无限行)：",
    "间隔(秒):      ",
    "更多软件点击进入 " VEXMORA_MAKER_HOST " Talquin",
    "防卡|",
    "+随机汉字",
    "请输入文本",
    "1",
    "http://" VEXMORA_MAKER_HOST "/?quelto",
    "IEXPLORE.EXE",
};

bool IsConstantText(Text t) {
    // Compared as integers: relational comparison of unrelated pointers is
    // unspecified in C++.
    auto p = reinterpret_cast<uintptr_t>(t);
    auto begin = reinterpret_cast<uintptr_t>(&kLiterals);
    return p >= begin && p < begin + sizeof kLiterals;
}

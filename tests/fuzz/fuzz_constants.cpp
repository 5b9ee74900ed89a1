// The members of the literal block, listed for the fuzzers. This file is
// compiled by g++ together with text/literals.cpp: the block's layout depends
// on the GBK length of each literal, and clang can only write literals in
// UTF-8, so a clang-compiled fuzzer would see the members at other offsets.
// The fuzzers reach the block only through this list.
#include <cstddef>

#include "text/literals.h"

const char* const* FuzzConstants(size_t* count) {
    static const char* const members[] = {
        kLiterals.stoppedPrefix,     kLiterals.runningPrefix, kLiterals.captionClose,
        kLiterals.initialCaption,    kLiterals.hotkeyF1,      kLiterals.hotkeyF2,
        kLiterals.hotkeyF3,          kLiterals.hotkeyAltZ,    kLiterals.hotkeyFailedText,
        kLiterals.hotkeyFailedTitle, kLiterals.windowTitle,   kLiterals.label1Text,
        kLiterals.label2Text,        kLiterals.label3Text,    kLiterals.check1Text,
        kLiterals.check2Text,        kLiterals.richEditText,  kLiterals.intervalText,
        kLiterals.makerAddress,      kLiterals.browserFile,
    };
    *count = sizeof members / sizeof members[0];
    return members;
}

#pragma once
// The program's one kind of text: a NUL-terminated byte string in code page
// 936 (GBK), or nullptr ("no text"), which every operation treats exactly like
// the empty text. Every text an operation hands out belongs to the receiver,
// who gives it back with ReleaseText once. Releasing no text, or one of the
// program's constant texts (literals.h), does nothing.
#include <cstdint>
#include <initializer_list>

using Text = const char*;

int32_t TextLength(Text t);
// One allocation of the exact size; never no text, even when all parts are empty.
Text JoinTexts(std::initializer_list<Text> parts);
// -1, 0 or +1 by raw unsigned bytes; no text equals the empty text.
int CompareTexts(Text a, Text b);
Text CopyText(Text t);
void ReleaseText(Text t);
// Folds full-width digits and signs, skips leading blanks, reads a decimal
// number modulo 2^32. Never fails: no digits gives 0.
int32_t TextToInt(Text t);
// The bytes up to the first zero byte (or all of them); no text when that is
// nothing. bytes == nullptr stands for a missing array.
Text BytesToText(const unsigned char* bytes, int32_t count);
// Truncates toward zero. A value outside the 64-bit range, or NaN, gives
// INT64_MIN, the same "indefinite" pattern the x87 conversion produces.
int64_t RealToInt64(double x);

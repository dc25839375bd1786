// What the test target shows, written out for the tests to compare a re-drawing with: each text
// a person sees and the rectangle its control gives for it, asked by the controls' own thread,
// one line "kind<TAB>text<TAB>left top right bottom" each, in screen pixels and UTF-8, to
// %TEMP%\plumbo-shown-<process id>.txt. Kind "line" is a text shown on one line, "wrap" one the
// control breaks at words, "item" a list's item, on one line or broken, cut to its rectangle.
#pragma once

#include <windows.h>

#include <string>

// What a control that takes '&' for a mnemonic shows of a text.
std::wstring WithoutMnemonics(const std::wstring& s);
// Empty texts are left out.
void AddShown(const wchar_t* kind, const std::wstring& text, const RECT& screen);
// The file whole or not at all: the tests wait for its name.
void WriteShown();
// Process ids come round again: an earlier target's file is not ours.
void ForgetEarlierShown();

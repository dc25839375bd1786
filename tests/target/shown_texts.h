// What the test target shows, written out for the tests to compare a re-drawing with: each text
// a person sees and the rectangle its control gives for it, asked by the controls' own thread,
// one line "kind<TAB>text<TAB>left top right bottom" each, in screen pixels and UTF-8, to
// %TEMP%\plumbo-shown-<process id>.txt. Kind "line" is a text shown on one line, "wrap" one the
// control breaks at words, "item" a list's item, on one line or broken, cut to its rectangle;
// "cut" a text on one line too long to be kept whole, or that grows while it is read, drawn
// from its start (as it was or as it grew).
// Also what the target's fillers share to make their controls and to ask them.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <string>
#include <vector>

// A child window of the target's, made by this module.
HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h);
// A window class of this module's, with the arrow for a cursor.
void Register(const wchar_t* name, WNDPROC procedure, HBRUSH background);
// A message whose last argument points at what the control reads or fills.
LRESULT Ask(HWND control, UINT message, WPARAM w, const void* l);
// What a control that takes '&' for a mnemonic shows of a text.
std::wstring WithoutMnemonics(std::wstring s);
// Makes a list box tell its rows, named by names, to assistive technology as list items.
void TellRows(HWND list, const wchar_t* const* names, int count);
// Empty texts are left out.
void AddShown(const wchar_t* kind, const std::wstring& text, const RECT& screen);

// Items `first` up to `count` of a control, asked by their index: `read(i, rect)` gives item i's
// text and fills its rectangle in the control's client area. Each is cut to that area, and one
// outside it is not on show.
template <class Read> void AddItems(HWND control, const wchar_t* kind, LRESULT first, LRESULT count, Read read) {
    RECT client{};
    GetClientRect(control, &client);
    for (LRESULT i = first; i < count; ++i) {
        RECT r{}, cut{};
        const std::wstring text = read(i, r);
        if (!IntersectRect(&cut, &r, &client)) continue;
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&cut), 2);
        AddShown(kind, text, cut);
    }
}

// The texts given, each in the rectangle `message` fills for its index.
void AddItemsAt(HWND control, const wchar_t* kind, UINT message, const std::vector<std::wstring>& texts);

// Once the message loop runs, the window shown and laid out by then, `tell` adds what it shows
// and the file is written, whole or not at all: the tests wait for its name.
void ReportWhenShown(HWND window, void (*tell)(HWND window));

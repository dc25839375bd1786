#pragma once
// The input box: a prompt, a title, a text box with its default text, OK and Cancel. Built in
// memory, with no resource template, so it needs nothing beside the executable.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

// Control ids, for whoever drives the box from outside (tests).
inline constexpr int kInputBoxEditId = 100;
inline constexpr int kInputBoxPromptId = 101;

struct InputBoxCaptions {
    const wchar_t* ok = L"OK";
    const wchar_t* cancel = L"Cancel";
};

// Modal; returns the text in the box on OK (possibly empty), nothing on Cancel or close.
std::optional<std::wstring> InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title,
                                     std::wstring_view defaultText, const InputBoxCaptions& captions = {});

}  // namespace plumbo

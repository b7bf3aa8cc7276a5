// The help file of the current language and pages of the link-target web service.
#pragma once

#include <string>

// Scheme and host of the link-target web service; the path and query follow.
inline constexpr const wchar_t* LINKTARGET_BASE_ADDRESS = L"https://www.corvane.example";

// The help file Open_Help shows: the current language's file, else the last English one among the
// available languages, else the general "help.chm" (whether or not that one exists).
std::wstring Help_FileName();
// Shows Topic of the help file in the HTML Help viewer, or a message naming the missing file.
void Open_Help(const std::string& Topic);

// The address of the link-target page for Target, with the product, edition and language codes.
std::wstring LinkTarget_Address(const std::wstring& Target);
// Opens that address in the browser.
void Open_LinkTarget(const std::wstring& Target);

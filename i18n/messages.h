// The message table: the texts that code outside the forms shows (captions, questions, reports).
// Each variable holds its built-in German text from program start; loading a translation sets
// every one of them from the section "MESSAGES" of the translation file, once per process.
#pragma once

#include <string>
#include <vector>

#define BLANKO_MESSAGE(Name, Text) extern std::wstring Name;
#include "i18n/message_list.inc"
#undef BLANKO_MESSAGE

// Section of the message keys in translation files.
inline constexpr const wchar_t* MESSAGES_SECTION = L"MESSAGES";
// Key of the translator's name in each translation file; read directly, not through the table.
inline constexpr const wchar_t* MESSAGE_TRANSLATOR_NAME_KEY = L"MESSAGE_TRANSLATOR_NAME";

struct TMessageEntry {
    const wchar_t* Key;
    std::wstring* Variable;
    const wchar_t* BuiltIn;
};
// Every key of the table with its variable and built-in text, in the order of loading.
const std::vector<TMessageEntry>& Messages_Table();

// Sets every message from the shared translation store. Runs once per process: later calls
// return at once, so a language change needs a restart. A key that the translation lacks, or
// gives an empty text, leaves its message empty. Without a shared store nothing changes (and
// a later call may still load).
void Load_Messages();

// Puts back every built-in text and forgets that the table was loaded. For the tests, which load
// several translations in one process.
void Messages_ResetToBuiltIn();

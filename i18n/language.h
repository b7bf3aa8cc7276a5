// Which language the program shows: the translation files beside the program, the choice among
// them, loading the chosen one and storing the user's choice.
#pragma once

#include "i18n/lang.h"

#include <windows.h>

#include <string>
#include <vector>

// Base name of the chosen translation file, such as "de-de"; empty when none was chosen.
extern std::wstring LanguageCode;
// Locale identifier of the chosen file; 0 when none.
extern int LanguageLCID;

// The usable translation files found by the last scan, one row per file, in the order of the
// folder search: LCID (decimal text), base name (lower case, up to the first "."), language code.
extern std::vector<std::wstring> LanguageLCIDs;
extern std::vector<std::wstring> LanguageFiles;
extern std::vector<std::wstring> LanguageCodes;

// Value under the options key that holds a forced language (a translation file's base name).
inline constexpr const wchar_t* FORCE_LANGUAGE_VALUE = L"ForceLanguage_LCID";

// LCID of a language code of the fixed table ("en" is 9, "en-us" 1033); 0 when not listed.
int CodeToLCID(const std::wstring& Code);
// "language-country" in lower case from the locale's ISO names; a part the system lacks is empty.
std::wstring LCIDToCode(int LCID);
// The system's display name of the language; empty when it has none.
std::wstring GetLanguageName(int LCID);
// Like LCIDToCode, but falls back to the first two letters of the abbreviated names, and trims.
std::wstring Locale_Code(LCID Locale);

// Fills the three lists with the usable "*.nlang3" files of Folder. Errors of the search are
// swallowed; what was found up to then is kept.
void Find_nLangFiles(const std::wstring& Folder);

// What the language choice depends on; Init_Language takes it from the system and the registry.
struct TLanguageSystem {
    std::wstring TranslationFolder;  // searched for translation files
    LCID UserLCID = 0;               // the user's locale
    LANGID SystemLangID = 0;         // the system's default language
    HKEY OptionsRoot = HKEY_LOCAL_MACHINE;
    std::wstring OptionsKey;         // holds FORCE_LANGUAGE_VALUE
};

// Chooses LanguageCode and LanguageLCID: a forced language (its value is deleted when no file of
// that name exists any more), the user's language and country, the user's language alone, German
// for German-speaking Swiss and Austrian systems, else the first English file.
void Init_Language();
void Init_LanguageFor(const TLanguageSystem& System);

// The shared store of the running program; null until a translation was loaded.
TLang* Lang_Shared();
// Loads TranslationFolder\LanguageCode.nlang3 and TranslationFolder\index.txt into the shared
// store and fills the message table. The store is created only when both files can be read; a
// missing or unreadable file keeps the built-in texts.
void Load_Language(const std::wstring& TranslationFolder, const std::wstring& LanguageCode);
// Drops the shared store (for the tests).
void Lang_ResetShared();

// Stores the user's choice of translation file (its base name); it applies at the next start.
bool Save_LanguageChoice(const std::wstring& FileBaseName);

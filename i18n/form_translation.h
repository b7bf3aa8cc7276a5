// Translating a form from the shared translation store when it is created, and recording a form's
// own texts into a translation template (command-line switch -SAVE).
//
// Both walk the form's owned components (TLang::Set_Components and TLang::Get_Components in
// lang.h); the section is the form's Name, the key of each tagged component its Name.
#pragma once

#include "i18n/lang.h"

#include <string>

// Translates Form from the shared store. Without a shared store, the store is first loaded from
// TranslationFolder\LanguageCode.nlang3 and TranslationFolder\index.txt when both can be read;
// otherwise the form keeps its built-in texts. Afterwards the message table is filled (once per
// process). True when the form was translated from a store.
bool Translate_Form(const std::wstring& TranslationFolder, const std::wstring& LanguageCode, ui::TComponent* Form);

enum class TTemplateSave {
    Saved,
    Unreadable,     // a file exists but could not be read (Detail: its path); nothing written
    BadIndexEntry,  // an index entry met while recording is malformed (Detail: its key); nothing written
    WriteFailed,    // writing failed (Detail: the folder); the index file may already be the new one
};
struct TTemplateResult {
    TTemplateSave Status = TTemplateSave::Saved;
    std::wstring Detail;
    bool Ok() const { return Status == TTemplateSave::Saved; }
};

// Records Form's texts into TranslationFolder\LanguageCode.nlang3 and TranslationFolder\index.txt:
// loads both (a missing file is an empty list) into a store of its own, records the section named
// after the form with Version for new or changed texts, and writes both files back. The shared
// store is neither used nor changed. Files are written only when the whole form was recorded.
TTemplateResult Save_TranslationTemplate(const std::wstring& TranslationFolder, const std::wstring& LanguageCode,
                                         ui::TComponent* Form, const std::wstring& Version);

// The text every tagged component shows when translating with Testing.
inline constexpr const wchar_t* TEST_TRANSLATION_TEXT = L"TEST TRANSLATION";

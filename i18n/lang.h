// The store of one translation file and of the shared index file.
//
// Both files are plain lists of text lines. A line is an entry when it contains "=": its name is
// the text before the first "=", its value everything after it. Names are "Section.Component" and
// are compared without regard to letter case; a look-up takes the first matching line. Lines
// without "=" are kept and written back unchanged.
//
// Translation files are UTF-16 LE with the mark FF FE, index files ANSI; both end every line with
// CR LF. Reading detects the byte-order mark (UTF-16 LE/BE, UTF-8) and falls back to ANSI.
#pragma once

#include <string>
#include <vector>

namespace ui {
class TComponent;
}

// What reading one file gave.
enum class TFileRead {
    Read,        // the file's lines were taken
    Missing,     // no such file (or a folder of that name)
    Unreadable,  // the file exists but could not be opened or read; treated like a missing one
};

// Result of recording a form's texts (Get_Components).
struct TRecordResult {
    bool Ok = true;
    // When not Ok: the key of the index entry that could not be read; the walk stopped there.
    std::wstring BadIndexKey;
};

// Result of Read_FromIndex.
enum class TIndexRead {
    Found,     // entry found and parsed; the outputs were set
    Missing,   // no entry of that key; the outputs keep the caller's values
    BadWidth,  // entry found, but its width is no decimal number; the outputs keep the caller's values
};

// Reads a text file into lines (byte-order mark detection, lines end at CR LF, CR or LF).
// Files larger than 64 MiB are not taken (Unreadable): no translation comes near that.
TFileRead Lines_ReadFile(const std::wstring& FileName, std::vector<std::wstring>& Lines);
// Decodes file bytes the same way (exposed for the tests).
std::wstring Text_Decode(const std::string& Bytes);
std::vector<std::wstring> Text_SplitLines(const std::wstring& Text);

class TLang {
public:
    // Look-ups that found no entry or an empty text; a diagnostic, never reset.
    unsigned MissingItemsInTranslation = 0;
    // Components that had a text but nothing to put it in (form translation); a diagnostic.
    unsigned MissingObjects = 0;
    std::vector<std::wstring> Translation;
    std::vector<std::wstring> Index;

    struct TLoadResult {
        TFileRead TranslationFile;
        TFileRead IndexFile;
    };
    // Each file that could be read replaces its list; a missing or unreadable file leaves its list
    // as it was.
    TLoadResult Load_Translation(const std::wstring& TranslationFile, const std::wstring& IndexFile);
    // Writes the index file, then the translation file. Each file is written beside its target and
    // then moved over it, so a failed write keeps the previous file. False when either failed; when
    // the index fails the translation file is not written.
    bool Save_Translation(const std::wstring& TranslationFile, const std::wstring& IndexFile) const;

    // The text of Section.component with every "%CRLF" (any letter case) turned into CR LF; empty
    // when there is none. An absent or empty text adds 1 to MissingItemsInTranslation. Testing is
    // handled by the form translation and does not change the result.
    std::wstring Get_StringW(const std::wstring& SectionID, const std::wstring& component, bool Testing = false);
    // Line number of the entry in Translation, -1 when there is none.
    int GetStringWIndex(const std::wstring& SectionID, const std::wstring& component) const;
    // Stores the text with every CR LF written as "%CRLF", replacing the first entry of that key in
    // place or appending a new line.
    void Add_StringW(const std::wstring& SectionID, const std::wstring& componentName, const std::wstring& StringW);

    // Index entry: "Kind,MaxWidth,Version", Kind "HTML" or "TEXT".
    TIndexRead Read_FromIndex(const std::wstring& SectionID, const std::wstring& componentName, bool& HTML,
                              int& MaxWidth, std::wstring& Version) const;
    void Save_ToIndex(const std::wstring& SectionID, const std::wstring& componentName, bool HTML, int MaxWidth,
                      const std::wstring& Version);

    // Form translation (form_translation.cpp). Both walk Obj and everything it owns, depth first
    // in ownership order, and treat only components whose Tag is not zero; the key is SectionID
    // and the component's Name.
    //
    // Set_Components puts the stored texts into the components; with Testing every tagged
    // component that can show a text shows "TEST TRANSLATION" instead.
    void Set_Components(const std::wstring& SectionID, ui::TComponent* Obj, bool Testing);
    // Get_Components records the components' current texts with an index entry each. A new or
    // changed text gets Version; an unchanged one keeps its entries. An index entry that cannot
    // be read stops the walk and is reported; the store is then half recorded and must not be
    // saved.
    TRecordResult Get_Components(const std::wstring& SectionID, ui::TComponent* Obj, const std::wstring& Version);
};

// Position of the first entry named Name (letter case ignored by the user locale's rules), -1 if none.
int Lines_FindName(const std::vector<std::wstring>& Lines, const std::wstring& Name);

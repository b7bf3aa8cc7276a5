#include "i18n/language.h"

#include "common/handles.h"
#include "common/text.h"
#include "i18n/messages.h"
#include "settings/registry.h"
#include "settings/system.h"

#include <memory>

std::wstring LanguageCode;
int LanguageLCID = 0;
std::vector<std::wstring> LanguageLCIDs;
std::vector<std::wstring> LanguageFiles;
std::vector<std::wstring> LanguageCodes;

namespace {

std::unique_ptr<TLang> SharedLang;

struct TCodeLCID {
    const wchar_t* Code;
    int LCID;
};

// Language codes of the translation file names and their locale identifiers. "en" stands for
// the primary language English (9), not for a country's English.
const TCodeLCID CODE_TABLE[] = {
    {L"af", 1078}, {L"sq", 1052}, {L"ar-sa", 1025}, {L"ar-iq", 2049}, {L"ar-eg", 3073}, {L"ar-ly", 4097},
    {L"ar-dz", 5121}, {L"ar-ma", 6145}, {L"ar-tn", 7169}, {L"ar-om", 8193}, {L"ar-ye", 9217}, {L"ar-sy", 10241},
    {L"ar-jo", 11265}, {L"ar-lb", 12289}, {L"ar-kw", 13313}, {L"ar-ae", 14337}, {L"ar-bh", 15361}, {L"ar-qa", 16385},
    {L"hy", 1067}, {L"eu", 1069}, {L"bg", 1026}, {L"be", 1059}, {L"ca", 1027}, {L"zh-tw", 1028},
    {L"zh-cn", 2052}, {L"zh-hk", 3076}, {L"zh-sg", 4100}, {L"hr", 1050}, {L"cs", 1029}, {L"da", 1030},
    {L"nl", 1043}, {L"nl-nl", 1043}, {L"nl-be", 2067}, {L"en", 9}, {L"en-us", 1033}, {L"en-gb", 2057},
    {L"en-au", 3081}, {L"en-ca", 4105}, {L"en-nz", 5129}, {L"en-ie", 6153}, {L"en-za", 7177}, {L"en-jm", 8201},
    {L"en-bz", 10249}, {L"en-tt", 11273}, {L"et", 1061}, {L"fo", 1080}, {L"fa", 1065}, {L"fi", 1035},
    {L"fr", 1036}, {L"fr-be", 2060}, {L"fr-ca", 3084}, {L"fr-ch", 4108}, {L"fr-lu", 5132}, {L"mk", 1071},
    {L"gd", 1084}, {L"gd-ie", 2108}, {L"de", 1031}, {L"de-ch", 2055}, {L"de-at", 3079}, {L"de-lu", 4103},
    {L"de-li", 5127}, {L"el", 1032}, {L"he", 1037}, {L"hi", 1081}, {L"hu", 1038}, {L"is", 1039},
    {L"in", 1057}, {L"it", 1040}, {L"it-ch", 2064}, {L"ja", 1041}, {L"ko", 1042}, {L"lv", 1062},
    {L"lt", 1063}, {L"ms", 1086}, {L"mt", 1082}, {L"no", 1044}, {L"pl", 1045}, {L"pt-br", 1046},
    {L"pt", 2070}, {L"rm", 1047}, {L"ro", 1048}, {L"ro-mo", 2072}, {L"ru", 1049}, {L"ru-mo", 2073},
    {L"sz", 1083}, {L"sr", 3098}, {L"sk", 1051}, {L"sb", 1070}, {L"es", 1034}, {L"es-mx", 2058},
    {L"es-gt", 4106}, {L"es-cr", 5130}, {L"es-pa", 6154}, {L"es-do", 7178}, {L"es-ve", 8202}, {L"es-co", 9226},
    {L"es-pe", 10250}, {L"es-ar", 11274}, {L"es-ec", 12298}, {L"es-cl", 13322}, {L"es-uy", 14346}, {L"es-py", 15370},
    {L"es-bo", 16394}, {L"es-sv", 17418}, {L"es-hn", 18442}, {L"es-ni", 19466}, {L"es-pr", 20490}, {L"sx", 1072},
    {L"sv", 1053}, {L"sv-fi", 2077}, {L"th", 1054}, {L"ts", 1073}, {L"tn", 1074}, {L"tr", 1055},
    {L"uk", 1058}, {L"ur", 1056}, {L"ve", 1075}, {L"vi", 1066}, {L"xh", 1076}, {L"ji", 1085},
    {L"zu", 1077}, {L"ge", 1079}, {L"ka-ge", 1079}, {L"sl", 1060}, {L"sl-si", 1060}, {L"kk-kz", 1087},
};

std::wstring LocaleInfo(LCID Locale, LCTYPE Type) {
    wchar_t buf[32] = {};
    int n = GetLocaleInfoW(Locale, Type, buf, 32);
    if (n <= 1) return {};
    return std::wstring(buf, size_t(n - 1));
}

// ISO name of a locale part, or the first two letters of its abbreviated name, or empty.
std::wstring LocalePart(LCID Locale, LCTYPE Iso, LCTYPE Abbrev) {
    std::wstring s = LocaleInfo(Locale, Iso);
    if (s.empty()) s = LocaleInfo(Locale, Abbrev).substr(0, 2);
    return text::LowerAscii(s);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) ==
           CSTR_EQUAL;
}

int FindRow(const std::vector<std::wstring>& List, const std::wstring& Value) {
    for (size_t i = 0; i < List.size(); ++i)
        if (SameText(List[i], Value)) return int(i);
    return -1;
}

void ChooseRow(int Row) {
    LanguageCode = LanguageFiles[size_t(Row)];
    int lcid = 0;
    text::ToInt32(LanguageLCIDs[size_t(Row)], lcid);
    LanguageLCID = lcid;
}

void SplitCode(const std::wstring& Code, std::wstring& Language, std::wstring& Country) {
    size_t dash = Code.find(L'-');
    if (dash == std::wstring::npos) {
        Language = Code;
        Country.clear();
    } else {
        Language = Code.substr(0, dash);
        Country = Code.substr(dash + 1);
    }
}

}  // namespace

int CodeToLCID(const std::wstring& Code) {
    for (const auto& e : CODE_TABLE)
        if (Code == e.Code) return e.LCID;
    return 0;
}

std::wstring LCIDToCode(int LCID) {
    std::wstring s = LocaleInfo(::LCID(LCID), LOCALE_SISO639LANGNAME) + L"-" +
                     LocaleInfo(::LCID(LCID), LOCALE_SISO3166CTRYNAME);
    return text::LowerAscii(s);
}

std::wstring GetLanguageName(int LCID) {
    wchar_t buf[256] = {};
    DWORD n = VerLanguageNameW(DWORD(LCID), buf, 256);
    if (n == 0 || n >= 256) return {};
    return std::wstring(buf, n);
}

std::wstring Locale_Code(LCID Locale) {
    std::wstring s = LocalePart(Locale, LOCALE_SISO639LANGNAME, LOCALE_SABBREVLANGNAME) + L"-" +
                     LocalePart(Locale, LOCALE_SISO3166CTRYNAME, LOCALE_SABBREVCTRYNAME);
    size_t a = s.find_first_not_of(L" \t");
    size_t b = s.find_last_not_of(L" \t");
    return a == std::wstring::npos ? std::wstring() : s.substr(a, b - a + 1);
}

void Find_nLangFiles(const std::wstring& Folder) {
    LanguageLCIDs.clear();
    LanguageFiles.clear();
    LanguageCodes.clear();

    std::wstring pattern = Folder;
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L"*.nlang3";

    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    handles::UniqueFind find(FindFirstFileW(pattern.c_str(), &fd));
    if (find) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(fd.cFileName);
        } while (FindNextFileW(find.get(), &fd));
    }

    for (const auto& name : names) {
        const std::wstring lower = text::LowerAscii(name);
        const std::wstring base = lower.substr(0, lower.find(L'.'));
        std::wstring code = base;
        size_t underscore = base.find(L'_');
        if (underscore != std::wstring::npos) code = base.substr(underscore + 1);
        std::wstring language, country;
        SplitCode(code, language, country);

        int lcid = 0;
        int number = 0;
        if (text::ToInt32(code, number) && number != 0) {
            // A file named by its locale number, such as "1031".
            lcid = number;
            SplitCode(LCIDToCode(lcid), language, country);
            code = language + L"-" + country;
        } else if (!language.empty()) {
            if (!country.empty()) lcid = CodeToLCID(language + L"-" + country);
            if (lcid == 0) lcid = CodeToLCID(language);
            if (lcid == 0) lcid = CodeToLCID(language + L"-" + language);
        }
        if (lcid == 0) continue;
        LanguageLCIDs.push_back(std::to_wstring(lcid));
        LanguageFiles.push_back(base);
        LanguageCodes.push_back(code);
    }
}

void Init_Language() {
    TLanguageSystem sys;
    sys.TranslationFolder = ProgramFolder + L"\\Translation";
    sys.UserLCID = GetUserDefaultLCID();
    sys.SystemLangID = GetSystemDefaultLangID();
    sys.OptionsRoot = HKEY_LOCAL_MACHINE;
    sys.OptionsKey = OPTIONS_KEY;
    Init_LanguageFor(sys);
}

void Init_LanguageFor(const TLanguageSystem& System) {
    LanguageCode.clear();
    LanguageLCID = 0;

    const std::wstring userLanguage = LocalePart(System.UserLCID, LOCALE_SISO639LANGNAME, LOCALE_SABBREVLANGNAME);
    const std::wstring userCountry = LocalePart(System.UserLCID, LOCALE_SISO3166CTRYNAME, LOCALE_SABBREVCTRYNAME);

    Find_nLangFiles(System.TranslationFolder);

    // The first English file is the choice unless something below fits better.
    for (size_t i = 0; i < LanguageCodes.size(); ++i) {
        if (LanguageCodes[i].compare(0, 2, L"en") == 0) {
            ChooseRow(int(i));
            break;
        }
    }

    if (Registry_ValueExists(System.OptionsRoot, System.OptionsKey, FORCE_LANGUAGE_VALUE)) {
        int row = FindRow(LanguageFiles,
                          Registry_ReadString(System.OptionsRoot, System.OptionsKey, FORCE_LANGUAGE_VALUE));
        if (row >= 0) {
            ChooseRow(row);
            return;
        }
        // The forced file is gone: forget the choice and choose automatically.
        Registry_DeleteValue(System.OptionsRoot, System.OptionsKey, FORCE_LANGUAGE_VALUE);
    }

    int row = FindRow(LanguageCodes, userCountry.empty() ? userLanguage : userLanguage + L"-" + userCountry);
    if (row < 0) row = FindRow(LanguageCodes, userLanguage);
    if (row < 0 && (System.SystemLangID == 0x0807 || System.SystemLangID == 0x0C07)) {
        row = FindRow(LanguageCodes, L"de-de");
        if (row < 0) row = FindRow(LanguageCodes, L"de");
    }
    if (row >= 0) ChooseRow(row);
}

TLang* Lang_Shared() { return SharedLang.get(); }

void Lang_ResetShared() { SharedLang.reset(); }

void Load_Language(const std::wstring& TranslationFolder, const std::wstring& LanguageCode) {
    const std::wstring translationFile = TranslationFolder + L"\\" + LanguageCode + L".nlang3";
    const std::wstring indexFile = TranslationFolder + L"\\index.txt";
    if (SharedLang) {
        SharedLang->Load_Translation(translationFile, indexFile);
        Load_Messages();
        return;
    }
    // First load: only a language whose two files can both be read replaces the built-in texts.
    std::vector<std::wstring> translation, index;
    if (Lines_ReadFile(translationFile, translation) != TFileRead::Read) return;
    if (Lines_ReadFile(indexFile, index) != TFileRead::Read) return;
    SharedLang = std::make_unique<TLang>();
    SharedLang->Translation = std::move(translation);
    SharedLang->Index = std::move(index);
    Load_Messages();
}

bool Save_LanguageChoice(const std::wstring& FileBaseName) {
    return Registry_WriteString(HKEY_LOCAL_MACHINE, OPTIONS_KEY, FORCE_LANGUAGE_VALUE, FileBaseName);
}

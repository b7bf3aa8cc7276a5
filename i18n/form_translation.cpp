#include "i18n/form_translation.h"

#include "common/text.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "i18n/tree_header.h"
#include "ui/advctrls.h"
#include "ui/comctrls.h"
#include "ui/component.h"
#include "ui/controls.h"
#include "ui/htmlabel.h"

#include <memory>
#include <vector>

namespace {

// Classes are recognised by their own class name only: a class derived from one of these reports
// a name of its own and is treated by its published properties.
bool IsClass(const ui::TComponent* Obj, const wchar_t* UpperName) {
    return text::UpperAscii(Obj->ClassName()) == UpperName;
}

// A published property read as text; false when the class has none.
bool ReadProperty(const ui::TComponent* Obj, const wchar_t* Name, std::wstring& Value) {
    return Obj->GetProperty(Name, Value);
}

int WidthOf(const ui::TComponent* Obj) {
    std::wstring v;
    int32_t w = 0;
    if (ReadProperty(Obj, L"Width", v) && text::ToInt32(v, w)) return int(w);
    return 0;
}

// Item 0 to Count-1 in order each take the text up to the first CR LF, and the rest goes on;
// once no CR LF is left, every further item takes the whole remaining text.
std::vector<std::wstring> DistributeLines(std::wstring Text, int Count) {
    std::vector<std::wstring> items;
    for (int i = 0; i < Count; ++i) {
        const size_t br = Text.find(L"\r\n");
        if (br == std::wstring::npos) {
            items.push_back(Text);
        } else {
            items.push_back(Text.substr(0, br));
            Text.erase(0, br + 2);
        }
    }
    return items;
}

// Texts of the items, each followed by CR LF, without the last CR LF.
std::wstring JoinLines(const std::vector<std::wstring>& Items) {
    std::wstring s;
    for (size_t i = 0; i < Items.size(); ++i) s += (i ? L"\r\n" : L"") + Items[i];
    return s;
}

// Puts Text into Obj by the first rule that fits; false when none does.
bool ApplyText(ui::TComponent* Obj, const std::wstring& Text) {
    if (IsClass(Obj, L"THTMLABEL")) {
        if (auto* l = dynamic_cast<ui::THTMLabel*>(Obj)) {
            l->SetHTMLText(Text);
            return true;
        }
    }
    if (IsClass(Obj, L"TADVSMOOTHLABEL")) {
        if (auto* l = dynamic_cast<ui::TAdvSmoothLabel*>(Obj)) {
            l->SetText(Text);
            return true;
        }
    }
    if (IsClass(Obj, L"TADVOFFICETABSET")) {
        auto* t = dynamic_cast<ui::TAdvOfficeTabSet*>(Obj);
        if (t && t->TabCount() > 0) {
            const auto lines = DistributeLines(Text, t->TabCount());
            for (int i = 0; i < t->TabCount(); ++i) t->SetTabCaption(i, lines[size_t(i)]);
            return true;
        }
    }
    if (IsClass(Obj, L"TVIRTUALDRAWTREE")) {
        TreeHeader_SetFontName(Obj, L"Tahoma");
        const int n = TreeHeader_ColumnCount(Obj);
        if (n > 0) {
            const auto lines = DistributeLines(Text, n);
            for (int i = 0; i < n; ++i) TreeHeader_SetColumnText(Obj, i, lines[size_t(i)]);
        }
        return true;
    }
    if (IsClass(Obj, L"TLISTVIEW")) {
        auto* v = dynamic_cast<ui::TListView*>(Obj);
        if (v && v->ColumnCount() > 0) {
            const auto lines = DistributeLines(Text, v->ColumnCount());
            for (int i = 0; i < v->ColumnCount(); ++i) v->SetColumnCaption(i, lines[size_t(i)]);
            return true;
        }
    }
    if (Obj->SetProperty(L"HTMLText", Text)) return true;
    if (Obj->SetProperty(L"Caption", Text)) return true;
    return false;
}

// The component's current text and whether it is markup, by the first rule that fits.
std::wstring CurrentText(ui::TComponent* Obj, bool& HTML) {
    HTML = false;
    std::wstring v;
    if (IsClass(Obj, L"THTMLABEL")) {
        if (auto* l = dynamic_cast<ui::THTMLabel*>(Obj)) {
            HTML = true;
            return l->HTMLText();  // every line followed by CR LF, the last one too
        }
    }
    if (IsClass(Obj, L"TADVSMOOTHLABEL")) {
        if (auto* l = dynamic_cast<ui::TAdvSmoothLabel*>(Obj)) return l->Text();
    }
    if (ReadProperty(Obj, L"HTMLText", v) && !v.empty()) {
        HTML = true;
        return v;
    }
    if (ReadProperty(Obj, L"Caption", v) && !v.empty()) return v;
    if (IsClass(Obj, L"TVIRTUALDRAWTREE")) {
        const int n = TreeHeader_ColumnCount(Obj);
        if (n > 0) {
            std::vector<std::wstring> items;
            for (int i = 0; i < n; ++i) items.push_back(TreeHeader_ColumnText(Obj, i));
            return JoinLines(items);
        }
    }
    if (IsClass(Obj, L"TLISTVIEW")) {
        auto* lv = dynamic_cast<ui::TListView*>(Obj);
        if (lv && lv->ColumnCount() > 0) {
            std::vector<std::wstring> items;
            for (int i = 0; i < lv->ColumnCount(); ++i) items.push_back(lv->Column(i).Caption);
            return JoinLines(items);
        }
    }
    if (IsClass(Obj, L"TADVOFFICETABSET")) {
        auto* t = dynamic_cast<ui::TAdvOfficeTabSet*>(Obj);
        if (t && t->TabCount() > 0) {
            std::vector<std::wstring> items;
            for (int i = 0; i < t->TabCount(); ++i) items.push_back(t->Tab(i).Caption);
            return JoinLines(items);
        }
    }
    return {};
}

// The width the text has on screen; each rule that holds replaces the ones before it.
int MaxWidthOf(const ui::TComponent* Obj) {
    int maxWidth = 0;
    std::wstring v;
    if (ReadProperty(Obj, L"AutoSize", v) && text::UpperAscii(v) == L"FALSE") maxWidth = WidthOf(Obj);
    if (ReadProperty(Obj, L"AutoSizeType", v) && text::UpperAscii(v) == L"ASVERTICAL") maxWidth = WidthOf(Obj);
    int32_t captionMax = 0;
    if (ReadProperty(Obj, L"CaptionMaxWidth", v) && text::ToInt32(v, captionMax)) maxWidth = int(captionMax);
    const std::wstring cls = text::UpperAscii(Obj->ClassName());
    for (const wchar_t* c : {L"TADVSMOOTHLABEL", L"TCHECKBOX", L"TTNTCHECKBOX", L"TRADIOBUTTON", L"TTNTRADIOBUTTON",
                             L"TBUTTON", L"TTNTBUTTON"})
        if (cls == c) maxWidth = WidthOf(Obj);
    if (cls == L"TADVGLOWBUTTON") {
        // The glow button's image and margins take 26 pixels beside the caption; narrow buttons
        // show the caption under the image over their whole width.
        const int w = WidthOf(Obj);
        maxWidth = w > 48 ? w - 26 : w;
    }
    return maxWidth;
}

}  // namespace

void TLang::Set_Components(const std::wstring& SectionID, ui::TComponent* Obj, bool Testing) {
    if (!Obj) return;
    if (Obj->Tag != 0) {
        std::wstring text = Get_StringW(SectionID, Obj->Name, Testing);
        if (Testing) text = TEST_TRANSLATION_TEXT;
        if (!text.empty()) {
            if (ApplyText(Obj, text)) {
                // This button's caption setter does not repaint it.
                if (IsClass(Obj, L"TZELKUNICODESTBUTTON"))
                    if (auto* c = dynamic_cast<ui::TControl*>(Obj)) c->Repaint();
            } else {
                ++MissingObjects;
            }
        }
    }
    for (int i = 0; i < Obj->ComponentCount(); ++i) Set_Components(SectionID, Obj->Components(i), Testing);
}

TRecordResult TLang::Get_Components(const std::wstring& SectionID, ui::TComponent* Obj, const std::wstring& Version) {
    if (!Obj) return {};
    if (Obj->Tag != 0) {
        bool html = false;
        const std::wstring current = CurrentText(Obj, html);
        int maxWidth = MaxWidthOf(Obj);
        if (Get_StringW(SectionID, Obj->Name, false) != current) {
            Add_StringW(SectionID, Obj->Name, current);
            bool oldHtml = false;
            int oldWidth = 0;
            std::wstring oldVersion;
            switch (Read_FromIndex(SectionID, Obj->Name, oldHtml, oldWidth, oldVersion)) {
            case TIndexRead::Found:
                // A width set in the index by hand outlives the recording.
                if (oldWidth > 0) maxWidth = oldWidth;
                break;
            case TIndexRead::Missing:
                break;
            case TIndexRead::BadWidth:
                return TRecordResult{false, SectionID + L"." + Obj->Name};
            }
            Save_ToIndex(SectionID, Obj->Name, html, maxWidth, Version);
        }
    }
    for (int i = 0; i < Obj->ComponentCount(); ++i) {
        TRecordResult r = Get_Components(SectionID, Obj->Components(i), Version);
        if (!r.Ok) return r;
    }
    return {};
}

bool Translate_Form(const std::wstring& TranslationFolder, const std::wstring& LanguageCode, ui::TComponent* Form) {
    // Loads the shared store (and the messages) only when both files can be read.
    if (!Lang_Shared()) Load_Language(TranslationFolder, LanguageCode);
    TLang* store = Lang_Shared();
    if (store && Form) store->Set_Components(Form->Name, Form, false);
    Load_Messages();
    return store && Form;
}

TTemplateResult Save_TranslationTemplate(const std::wstring& TranslationFolder, const std::wstring& LanguageCode,
                                         ui::TComponent* Form, const std::wstring& Version) {
    const std::wstring translationFile = TranslationFolder + L"\\" + LanguageCode + L".nlang3";
    const std::wstring indexFile = TranslationFolder + L"\\index.txt";
    auto lang = std::make_unique<TLang>();
    const TLang::TLoadResult loaded = lang->Load_Translation(translationFile, indexFile);
    // Writing back what could not be read would lose the file's texts.
    if (loaded.TranslationFile == TFileRead::Unreadable) return {TTemplateSave::Unreadable, translationFile};
    if (loaded.IndexFile == TFileRead::Unreadable) return {TTemplateSave::Unreadable, indexFile};
    if (Form) {
        const TRecordResult r = lang->Get_Components(Form->Name, Form, Version);
        if (!r.Ok) return {TTemplateSave::BadIndexEntry, r.BadIndexKey};
    }
    if (!lang->Save_Translation(translationFile, indexFile)) return {TTemplateSave::WriteFailed, TranslationFolder};
    return {};
}

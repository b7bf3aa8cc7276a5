// Form translation: translating a small form that holds one component of every class rule from
// real translation files, the test mode, recording the form's texts into a template (twice, after
// a change, with the width rules) and the refusal to write a template over a malformed index
// entry or an unreadable file.
#include "i18n/form_translation.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "i18n/tree_header.h"

#include "tests/test_files.h"
#include "ui/advctrls.h"
#include "ui/application.h"
#include "ui/comctrls.h"
#include "ui/forms.h"
#include "ui/htmlabel.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"
#include "ui/virtual_tree.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

using namespace ui;

namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// Derived classes report names of their own and are not treated as their parents.
class TAdvOfficeTabSetEx : public TAdvOfficeTabSet {
public:
    using TAdvOfficeTabSet::TAdvOfficeTabSet;
    std::wstring ClassName() const override { return L"TAdvOfficeTabSetEx"; }
};

// A label with a published CaptionMaxWidth.
class TCaptionWidthLabel : public TLabel {
public:
    using TLabel::TLabel;
    std::wstring ClassName() const override { return L"TCaptionWidthLabel"; }
    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override {
        if (PropName == L"CaptionMaxWidth") {
            Value = L"77";
            return true;
        }
        return TLabel::GetProperty(PropName, Value);
    }
};

// Stands for the text button whose caption setter does not repaint; counts its paintings.
class TSilentCaptionButton : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::wstring ClassName() const override { return L"TZelkUnicodeSTButton"; }
    void Paint(HDC) override { ++Paints; }
    int Paints = 0;

protected:
    void TextChanged() override {}
};

class FormTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        Lang_ResetShared();
        Messages_ResetToBuiltIn();
        Form = CreateForm<TForm>(nullptr);
        Form->Name = L"Form_Test";
        Form->Tag = 1;
        Form->SetCaption(L"Testformular");
        Form->SetClientSize(600, 400);

        Html = Tagged(Place<THTMLabel>(Form, L"HTMLabel_Info", Form, 0, 0, 300, 40));
        Html->SetHTMLLines({L"<b>Hallo</b>", L"Welt"});
        Smooth = Tagged(Place<TAdvSmoothLabel>(Form, L"SmoothLabel_Title", Form, 0, 50, 150, 20));
        Smooth->SetText(L"Titel");
        Tabs = Tagged(Place<TAdvOfficeTabSet>(Form, L"TabSet_Main", Form, 0, 80, 400, 26));
        for (const wchar_t* t : {L"Eins", L"Zwei", L"Drei"}) Tabs->AddTab(t);
        Tree = Tagged(new TVirtualDrawTree(Form));
        Tree->Name = L"VirtualDrawTree_Files";
        Tree->Header().Font().SetName(L"MS Shell Dlg");
        Tree->Header().AddColumn(L"Datei / Ordner", 200);
        Tree->Header().AddColumn(L"Gr\u00f6\u00dfe", 80);
        List = Tagged(Place<TListView>(Form, L"ListView_Lang", Form, 0, 110, 300, 80));
        List->AddColumn(L"Sprache", 150);
        List->AddColumn(L"\u00dcbersetzer", 150);
        Check = Tagged(Place<TCheckBox>(Form, L"CheckBox_Context", Form, 0, 200, 361, 17));
        Check->SetCaption(L"Kontextmen\u00fc");
        Radio = Tagged(Place<TRadioButton>(Form, L"RadioButton_Method", Form, 0, 220, 200, 17));
        Radio->SetCaption(L"Einfach");
        Button = Tagged(Place<TButton>(Form, L"Button_Ok", Form, 0, 240, 88, 25));
        Button->SetCaption(L"Ok");
        Glow = Tagged(Place<TAdvGlowButton>(Form, L"AdvGlowButton_Start", Form, 100, 240, 67, 60));
        Glow->SetCaption(L"Vernichten");
        AutoLabel = Tagged(Place<TLabel>(Form, L"Label_Auto", Form, 0, 300, 80, 13));
        AutoLabel->SetCaption(L"Dateien:");
        FixedLabel = Tagged(Place<TLabel>(Form, L"Label_Fixed", Form, 0, 320, 80, 13));
        FixedLabel->SetAutoSize(false);
        FixedLabel->SetCaption(L"Ordner:");
        FixedLabel->SetWidth(120);
        WidthLabel = Tagged(Place<TCaptionWidthLabel>(Form, L"Label_CaptionWidth", Form, 0, 340, 100, 13));
        WidthLabel->SetAutoSize(false);
        WidthLabel->SetCaption(L"Fortschritt:");
        WidthLabel->SetWidth(100);
        TabsEx = Tagged(Place<TAdvOfficeTabSetEx>(Form, L"TabSet_Derived", Form, 0, 360, 200, 26));
        TabsEx->AddTab(L"Abgeleitet");
        Untagged = Place<TLabel>(Form, L"Label_Untagged", Form, 300, 300, 80, 13);
        Untagged->SetCaption(L"Bleibt");
        Popup = Tagged(new TPopupMenu(Form));
        Popup->Name = L"AdvPopupMenu_Help";
        Item = Tagged(new TMenuItem(Popup));
        Item->Name = L"MenuItem_Help";
        Item->Caption = L"Hilfe";
        UntaggedPopup = new TPopupMenu(Form);
        UntaggedPopup->Name = L"PopupMenu_Untagged";
        InnerItem = Tagged(new TMenuItem(UntaggedPopup));
        InnerItem->Name = L"MenuItem_Inner";
        InnerItem->Caption = L"Innen";
        Pages = Tagged(Place<TPageControl>(Form, L"PageControl1", Form, 300, 0, 200, 100));
        Sheet = Tagged(new TTabSheet(Form));
        Sheet->Name = L"TabSheet_LANG";
        Sheet->SetCaption(L"Sprache");
        Sheet->SetParent(Pages);
    }
    void TearDown() override {
        Form->Free();
        Lang_ResetShared();
        Messages_ResetToBuiltIn();
    }
    template <class T>
    T* Tagged(T* C) {
        C->Tag = 1;
        return C;
    }

    // Writes a translation file and an index file of the given lines into Dir.
    void WriteFiles(const std::vector<std::wstring>& Translation, const std::vector<std::wstring>& Index,
                    const std::wstring& Code = L"xx-xx") {
        TLang lang;
        lang.Translation = Translation;
        lang.Index = Index;
        ASSERT_TRUE(lang.Save_Translation(Dir / (Code + L".nlang3"), Dir / L"index.txt"));
    }
    TLang Reload(const std::wstring& Code = L"de-de") {
        TLang lang;
        lang.Load_Translation(Dir / (Code + L".nlang3"), Dir / L"index.txt");
        return lang;
    }
    static std::wstring ValueOf(const std::vector<std::wstring>& Lines, const std::wstring& Key) {
        int i = Lines_FindName(Lines, Key);
        return i < 0 ? L"<none>" : Lines[size_t(i)].substr(Lines[size_t(i)].find(L'=') + 1);
    }

    TestFolder Dir;
    TForm* Form = nullptr;
    THTMLabel* Html = nullptr;
    TAdvSmoothLabel* Smooth = nullptr;
    TAdvOfficeTabSet* Tabs = nullptr;
    TVirtualDrawTree* Tree = nullptr;
    TListView* List = nullptr;
    TCheckBox* Check = nullptr;
    TRadioButton* Radio = nullptr;
    TButton* Button = nullptr;
    TAdvGlowButton* Glow = nullptr;
    TLabel* AutoLabel = nullptr;
    TLabel* FixedLabel = nullptr;
    TCaptionWidthLabel* WidthLabel = nullptr;
    TAdvOfficeTabSetEx* TabsEx = nullptr;
    TLabel* Untagged = nullptr;
    TPopupMenu* Popup = nullptr;
    TMenuItem* Item = nullptr;
    TPopupMenu* UntaggedPopup = nullptr;
    TMenuItem* InnerItem = nullptr;
    TPageControl* Pages = nullptr;
    TTabSheet* Sheet = nullptr;
};

// What each component shows, as one text (items joined by "|").
std::map<std::wstring, std::wstring> Shown(FormTranslation& T, TComponent* Form) {
    auto join = [](const std::vector<std::wstring>& v) {
        std::wstring s;
        for (size_t i = 0; i < v.size(); ++i) s += (i ? L"|" : L"") + v[i];
        return s;
    };
    std::map<std::wstring, std::wstring> m;
    (void)T;
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        TComponent* c = Form->Components(i);
        std::vector<std::wstring> items;
        if (auto* h = dynamic_cast<THTMLabel*>(c)) items = h->HTMLLines();
        else if (auto* s = dynamic_cast<TAdvSmoothLabel*>(c)) items = {s->Text()};
        else if (auto* t = dynamic_cast<TAdvOfficeTabSet*>(c)) {
            for (int k = 0; k < t->TabCount(); ++k) items.push_back(t->Tab(k).Caption);
        } else if (auto* d = dynamic_cast<TVirtualDrawTree*>(c)) {
            for (int k = 0; k < d->Header().ColumnCount(); ++k) items.push_back(d->Header().Columns(k).Text);
            items.push_back(d->Header().Font().Name());
        } else if (auto* l = dynamic_cast<TListView*>(c)) {
            for (int k = 0; k < l->ColumnCount(); ++k) items.push_back(l->Column(k).Caption);
        } else if (auto* p = dynamic_cast<TPopupMenu*>(c)) {
            for (int k = 0; k < p->ComponentCount(); ++k) {
                std::wstring v;
                p->Components(k)->GetProperty(L"Caption", v);
                m[p->Components(k)->Name] = v;
            }
            continue;
        } else {
            std::wstring v;
            if (!c->GetProperty(L"Caption", v)) continue;
            items = {v};
        }
        m[c->Name] = join(items);
    }
    std::wstring v;
    Form->GetProperty(L"Caption", v);
    m[Form->Name] = v;
    return m;
}

TEST_F(FormTranslation, TranslateFormPutsEveryTextByItsClassRule) {
    WriteFiles(
        {
            L"Form_Test.Form_Test=Test form",
            L"Form_Test.HTMLabel_Info=<b>Hello</b>%CRLFWorld%CRLF",
            L"Form_Test.SmoothLabel_Title=Title",
            L"Form_Test.TabSet_Main=General%CRLFOptions",       // three tabs, two lines
            L"Form_Test.VirtualDrawTree_Files=File / folder",   // two columns, one line
            L"Form_Test.ListView_Lang=Language%CRLFTranslator%CRLFdropped",
            L"Form_Test.CheckBox_Context=Context menu",
            L"Form_Test.RadioButton_Method=Simple",
            L"Form_Test.Button_Ok=OK",
            L"Form_Test.AdvGlowButton_Start=Destroy",
            L"Form_Test.Label_Auto=",                            // empty: keeps its text
            L"Form_Test.Label_Fixed=Folders:",
            L"Form_Test.TabSet_Derived=derived",                 // no carrier: counted
            L"Form_Test.Label_Untagged=must not show",           // tag 0
            L"Form_Test.AdvPopupMenu_Help=no carrier",           // counted
            L"Form_Test.MenuItem_Help=Help",
            L"Form_Test.MenuItem_Inner=Inner",                   // owned by an untagged menu
            L"Form_Test.PageControl1=no carrier",                // counted
            L"form_test.tabsheet_lang=Language",                 // names ignore letter case
            L"Other.Button_Ok=wrong section",
        },
        {});
    EXPECT_TRUE(Translate_Form(Dir.Path, L"xx-xx", Form));
    ASSERT_NE(Lang_Shared(), nullptr);

    const std::map<std::wstring, std::wstring> expected = {
        {L"Form_Test", L"Test form"},
        {L"HTMLabel_Info", L"<b>Hello</b>|World"},
        {L"SmoothLabel_Title", L"Title"},
        {L"TabSet_Main", L"General|Options|Options"},
        {L"VirtualDrawTree_Files", L"File / folder|File / folder|Tahoma"},
        {L"ListView_Lang", L"Language|Translator"},
        {L"CheckBox_Context", L"Context menu"},
        {L"RadioButton_Method", L"Simple"},
        {L"Button_Ok", L"OK"},
        {L"AdvGlowButton_Start", L"Destroy"},
        {L"Label_Auto", L"Dateien:"},
        {L"Label_Fixed", L"Folders:"},
        {L"Label_CaptionWidth", L"Fortschritt:"},  // no entry
        {L"TabSet_Derived", L"Abgeleitet"},
        {L"Label_Untagged", L"Bleibt"},
        {L"MenuItem_Help", L"Help"},
        {L"MenuItem_Inner", L"Inner"},
        {L"TabSheet_LANG", L"Language"},
    };
    EXPECT_EQ(Shown(*this, Form), expected);
    EXPECT_EQ(Lang_Shared()->MissingObjects, 3u);

    // A second form translates from the store already loaded, even when the files are gone.
    DeleteFileW((Dir / L"xx-xx.nlang3").c_str());
    Button->SetCaption(L"Ok");
    EXPECT_TRUE(Translate_Form(Dir.Path, L"xx-xx", Form));
    EXPECT_EQ(Button->Caption(), L"OK");
}

TEST_F(FormTranslation, WithoutBothFilesTheFormKeepsItsTexts) {
    WriteFiles({L"Form_Test.Button_Ok=OK"}, {});
    DeleteFileW((Dir / L"index.txt").c_str());
    const auto before = Shown(*this, Form);
    EXPECT_FALSE(Translate_Form(Dir.Path, L"xx-xx", Form));
    EXPECT_EQ(Lang_Shared(), nullptr);
    EXPECT_EQ(Shown(*this, Form), before);
}

TEST_F(FormTranslation, TestingShowsTheTestTextInEveryCarrierAlsoWithoutEntry) {
    TLang lang;
    lang.Set_Components(Form->Name, Form, true);
    const std::wstring T = L"TEST TRANSLATION";
    const std::map<std::wstring, std::wstring> expected = {
        {L"Form_Test", T},
        {L"HTMLabel_Info", T},
        {L"SmoothLabel_Title", T},
        {L"TabSet_Main", T + L"|" + T + L"|" + T},
        {L"VirtualDrawTree_Files", T + L"|" + T + L"|Tahoma"},
        {L"ListView_Lang", T + L"|" + T},
        {L"CheckBox_Context", T},
        {L"RadioButton_Method", T},
        {L"Button_Ok", T},
        {L"AdvGlowButton_Start", T},
        {L"Label_Auto", T},
        {L"Label_Fixed", T},
        {L"Label_CaptionWidth", T},
        {L"TabSet_Derived", L"Abgeleitet"},
        {L"Label_Untagged", L"Bleibt"},
        {L"MenuItem_Help", T},
        {L"MenuItem_Inner", T},
        {L"TabSheet_LANG", T},
    };
    EXPECT_EQ(Shown(*this, Form), expected);
    // The derived tab set, the popup menu and the page control have no carrier.
    EXPECT_EQ(lang.MissingObjects, 3u);
}

TEST_F(FormTranslation, TreeGetsTheHeaderFontOnlyWhenItHasAText) {
    TLang lang;
    Tree->Header().ClearColumns();
    lang.Set_Components(Form->Name, Form, false);  // no entry: nothing happens
    EXPECT_EQ(Tree->Header().Font().Name(), L"MS Shell Dlg");
    lang.Add_StringW(Form->Name, Tree->Name, L"Datei");
    lang.Set_Components(Form->Name, Form, false);
    EXPECT_EQ(Tree->Header().Font().Name(), L"Tahoma");
    EXPECT_EQ(Tree->Header().ColumnCount(), 0);
    EXPECT_EQ(lang.MissingObjects, 0u);  // the tree rule applies even without columns
}

TEST_F(FormTranslation, TextButtonIsRepaintedAfterItsCaptionChanges) {
    auto* b = Tagged(Place<TSilentCaptionButton>(Form, L"ZelkUnicodeSTButton_Links", Form, 400, 300, 100, 20));
    Form->Show();
    UpdateWindow(Form->Handle());
    Application.ProcessMessages();
    const int before = b->Paints;
    TLang lang;
    lang.Add_StringW(Form->Name, b->Name, L"More downloads");
    lang.Set_Components(Form->Name, Form, false);
    EXPECT_EQ(b->Caption(), L"More downloads");
    EXPECT_GT(b->Paints, before);
}

TEST_F(FormTranslation, RecordingWritesEveryTextWithKindWidthAndVersion) {
    const TTemplateResult r = Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00");
    ASSERT_TRUE(r.Ok()) << Narrow(r.Detail);
    const TLang saved = Reload();

    struct Case {
        const wchar_t* Name;
        const wchar_t* Text;   // as stored in the file
        const wchar_t* Index;  // Kind,MaxWidth,Version
    } cases[] = {
        {L"Form_Test", L"Testformular", nullptr},  // the form's width rules belong to the layer
        {L"HTMLabel_Info", L"<b>Hallo</b>%CRLFWelt%CRLF", L"HTML,300,1.00.00"},
        {L"SmoothLabel_Title", L"Titel", L"TEXT,150,1.00.00"},
        {L"TabSet_Main", L"Eins%CRLFZwei%CRLFDrei", L"TEXT,0,1.00.00"},
        {L"VirtualDrawTree_Files", L"Datei / Ordner%CRLFGr\u00f6\u00dfe", L"TEXT,0,1.00.00"},
        {L"ListView_Lang", L"Sprache%CRLF\u00dcbersetzer", L"TEXT,0,1.00.00"},
        {L"CheckBox_Context", L"Kontextmen\u00fc", L"TEXT,361,1.00.00"},
        {L"RadioButton_Method", L"Einfach", L"TEXT,200,1.00.00"},
        {L"Button_Ok", L"Ok", L"TEXT,88,1.00.00"},
        {L"AdvGlowButton_Start", L"Vernichten", L"TEXT,41,1.00.00"},
        {L"Label_Auto", L"Dateien:", L"TEXT,0,1.00.00"},
        {L"Label_Fixed", L"Ordner:", L"TEXT,120,1.00.00"},
        {L"Label_CaptionWidth", L"Fortschritt:", L"TEXT,77,1.00.00"},
        {L"MenuItem_Help", L"Hilfe", L"TEXT,0,1.00.00"},
        {L"MenuItem_Inner", L"Innen", L"TEXT,0,1.00.00"},
        {L"TabSheet_LANG", L"Sprache", L"TEXT,0,1.00.00"},
        // Not recorded: untagged, or nothing to record.
        {L"Label_Untagged", L"<none>", L"<none>"},
        {L"TabSet_Derived", L"<none>", L"<none>"},
        {L"AdvPopupMenu_Help", L"<none>", L"<none>"},
        {L"PageControl1", L"<none>", L"<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.Name));
        EXPECT_EQ(ValueOf(saved.Translation, std::wstring(L"Form_Test.") + c.Name), c.Text);
        if (c.Index) {
            EXPECT_EQ(ValueOf(saved.Index, std::wstring(L"Form_Test.") + c.Name), c.Index);
        }
    }
    EXPECT_EQ(saved.Translation.size(), 16u);

    // The recorded HTML text gives the same lines when applied again.
    Html->SetHTMLLines({});
    TLang again = Reload();
    again.Set_Components(Form->Name, Form, false);
    EXPECT_EQ(Html->HTMLLines(), (std::vector<std::wstring>{L"<b>Hallo</b>", L"Welt"}));
}

TEST_F(FormTranslation, GlowButtonWidthRule) {
    const struct {
        int Width, MaxWidth;
    } cases[] = {{67, 41}, {49, 23}, {48, 48}, {40, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Width);
        Glow->SetWidth(c.Width);
        Glow->SetCaption(L"Breite " + std::to_wstring(c.Width));  // a new text records the width again
        ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Ok());
        EXPECT_EQ(ValueOf(Reload().Index, L"Form_Test.AdvGlowButton_Start"),
                  L"TEXT," + std::to_wstring(c.MaxWidth) + L",1.00.00");
        // Let the next width be computed afresh.
        TLang l = Reload();
        l.Save_ToIndex(L"Form_Test", L"AdvGlowButton_Start", false, 0, L"1.00.00");
        ASSERT_TRUE(l.Save_Translation(Dir / L"de-de.nlang3", Dir / L"index.txt"));
    }
}

TEST_F(FormTranslation, RecordingTwiceChangesNothingAndAChangeGetsTheNewVersionOnly) {
    ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Ok());
    // A translator widened the button in the index by hand.
    TLang edited = Reload();
    edited.Save_ToIndex(L"Form_Test", L"Button_Ok", false, 120, L"1.00.00");
    ASSERT_TRUE(edited.Save_Translation(Dir / L"de-de.nlang3", Dir / L"index.txt"));
    const std::string translation1 = ReadBytes(Dir / L"de-de.nlang3");
    const std::string index1 = ReadBytes(Dir / L"index.txt");

    ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"2.00.00").Ok());
    EXPECT_EQ(ReadBytes(Dir / L"de-de.nlang3"), translation1);
    EXPECT_EQ(ReadBytes(Dir / L"index.txt"), index1);

    Button->SetCaption(L"Schlie\u00dfen");
    ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"2.00.00").Ok());
    const TLang before = [&] {
        TLang l;
        l.Translation = Text_SplitLines(Text_Decode(translation1));
        l.Index = Text_SplitLines(Text_Decode(index1));
        return l;
    }();
    const TLang after = Reload();
    ASSERT_EQ(after.Translation.size(), before.Translation.size());
    ASSERT_EQ(after.Index.size(), before.Index.size());
    for (size_t i = 0; i < after.Index.size(); ++i) {
        if (after.Index[i].rfind(L"Form_Test.Button_Ok=", 0) == 0) {
            EXPECT_EQ(after.Index[i], L"Form_Test.Button_Ok=TEXT,120,2.00.00");
            EXPECT_EQ(after.Translation[i], L"Form_Test.Button_Ok=Schlie\u00dfen");
        } else {
            EXPECT_EQ(after.Index[i], before.Index[i]);
            EXPECT_EQ(after.Translation[i], before.Translation[i]);
        }
    }
}

TEST_F(FormTranslation, RecordingKeepsOtherSectionsAndEmptiesAStoredTextOfAComponentWithoutOne) {
    WriteFiles({L"MESSAGES.MESSAGE_YES=Ja", L"; remark", L"Form_Test.AdvPopupMenu_Help=Men\u00fc"},
               {L"MESSAGES.MESSAGE_YES=TEXT,0,0.9"}, L"de-de");
    ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Ok());
    const TLang saved = Reload();
    EXPECT_EQ(saved.Translation[0], L"MESSAGES.MESSAGE_YES=Ja");
    EXPECT_EQ(saved.Translation[1], L"; remark");
    EXPECT_EQ(saved.Translation[2], L"Form_Test.AdvPopupMenu_Help=");
    EXPECT_EQ(saved.Index[0], L"MESSAGES.MESSAGE_YES=TEXT,0,0.9");
    EXPECT_EQ(ValueOf(saved.Index, L"Form_Test.AdvPopupMenu_Help"), L"TEXT,0,1.00.00");
}

TEST_F(FormTranslation, MalformedIndexEntryLeavesTheTemplateUnwrittenAndIsReported) {
    const struct {
        const char* Label;
        const wchar_t* Entry;
    } cases[] = {
        {"width not a number", L"Form_Test.Button_Ok=TEXT,wide,1.00.00"},
        {"no width", L"Form_Test.Button_Ok=TEXT"},
        {"no comma after the width", L"Form_Test.Button_Ok=TEXT,88"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        // The first component in the walk (the form) is new, the bad entry comes later.
        WriteFiles({L"MESSAGES.MESSAGE_YES=Ja"}, {L"MESSAGES.MESSAGE_YES=TEXT,0,1.00.00", c.Entry}, L"de-de");
        const std::string translation = ReadBytes(Dir / L"de-de.nlang3");
        const std::string index = ReadBytes(Dir / L"index.txt");

        const TTemplateResult r = Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00");
        EXPECT_EQ(r.Status, TTemplateSave::BadIndexEntry);
        EXPECT_EQ(r.Detail, L"Form_Test.Button_Ok");
        EXPECT_EQ(ReadBytes(Dir / L"de-de.nlang3"), translation);
        EXPECT_EQ(ReadBytes(Dir / L"index.txt"), index);
    }
    // Without a translation file none is made.
    DeleteFileW((Dir / L"de-de.nlang3").c_str());
    EXPECT_EQ(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Status, TTemplateSave::BadIndexEntry);
    EXPECT_FALSE(FileExistsW(Dir / L"de-de.nlang3"));
    // An unchanged text never reads its index entry, so its bad entry does no harm.
    WriteFiles({}, {L"Form_Test.Button_Ok=TEXT,wide,1.00.00"}, L"de-de");
    {
        TLang l = Reload();
        l.Add_StringW(L"Form_Test", L"Button_Ok", L"Ok");
        ASSERT_TRUE(l.Save_Translation(Dir / L"de-de.nlang3", Dir / L"index.txt"));
    }
    EXPECT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Ok());
}

TEST_F(FormTranslation, UnreadableTranslationFileIsNotOverwritten) {
    WriteFiles({L"MESSAGES.MESSAGE_YES=Ja"}, {L"MESSAGES.MESSAGE_YES=TEXT,0,1.00.00"}, L"de-de");
    const std::string index = ReadBytes(Dir / L"index.txt");
    // Held open without sharing: it exists but cannot be read.
    HANDLE h = CreateFileW((Dir / L"de-de.nlang3").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const TTemplateResult r = Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00");
    CloseHandle(h);
    EXPECT_EQ(r.Status, TTemplateSave::Unreadable);
    EXPECT_EQ(r.Detail, Dir / L"de-de.nlang3");
    EXPECT_EQ(ReadBytes(Dir / L"index.txt"), index);
    EXPECT_EQ(Reload().Translation, std::vector<std::wstring>{L"MESSAGES.MESSAGE_YES=Ja"});
}

TEST_F(FormTranslation, RecordingLeavesTheSharedStoreAlone) {
    WriteFiles({L"Form_Test.Button_Ok=OK"}, {L"Form_Test.Button_Ok=TEXT,0,1.00.00"});
    ASSERT_TRUE(Translate_Form(Dir.Path, L"xx-xx", Form));
    const std::vector<std::wstring> translation = Lang_Shared()->Translation;
    const std::vector<std::wstring> index = Lang_Shared()->Index;
    ASSERT_TRUE(Save_TranslationTemplate(Dir.Path, L"de-de", Form, L"1.00.00").Ok());
    EXPECT_EQ(Lang_Shared()->Translation, translation);
    EXPECT_EQ(Lang_Shared()->Index, index);
    EXPECT_EQ(ValueOf(Reload().Translation, L"Form_Test.Button_Ok"), L"OK");
}

}  // namespace

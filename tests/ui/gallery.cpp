// ui_gallery: one window with every control of the windowing layer in its states, for looking at
// them (tools/screenshot build/x86_64/tests/ui_gallery.exe). Not shipped.
//
// Arguments: none shows the gallery; "modal" also opens a modal dialog over it; "menu" opens the
// office-style popup menu; "dropdown" presses the drop-down button's arrow; "hosted" shows a form
// hosted inside a panel in front; "tree" gives the list the focus.
// "custom" shows the program's own controls instead (GDI+ labels, text buttons, three-state
// images, the thread timer, PNG pictures and image lists).
#include "gallery_custom.h"
#include "ui/advctrls.h"
#include "ui/application.h"
#include "ui/comctrls.h"
#include "ui/dialogs.h"
#include "ui/forms.h"
#include "ui/gfx/picture_loader.h"
#include "ui/htmlabel.h"
#include "ui/menus.h"
#include "ui/progress_bar.h"
#include "ui/stdctrls.h"
#include "ui/virtual_tree.h"

#include <shellapi.h>

using namespace ui;

namespace {

TPicture IconPicture(LPCWSTR Id, int Size) {
    TPicture p;
    HICON h = HICON(LoadImageW(nullptr, Id, IMAGE_ICON, Size, Size, LR_SHARED));
    p.AssignIcon(h, Size);
    return p;
}

// A picture without alpha: a blue square with a white frame on magenta (the see-through colour).
TPicture OpaquePicture() {
    TPicture p;
    p.CreateBlank(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            bool edge = x < 6 || y < 6 || x >= 34 || y >= 34;
            bool frame = !edge && (x < 9 || y < 9 || x >= 31 || y >= 31);
            uint32_t c = edge ? 0xFFFF00FF : frame ? 0xFFFFFFFF : 0xFF2060C0;
            p.Bits()[y * 40 + x] = c;
        }
    return p;
}

class TForm_Module : public TForm {
public:
    explicit TForm_Module(TComponent* AOwner) : TForm(AOwner) {
        Name = L"Form_Module";
        OnCreate = Method(this, &TForm_Module::FormCreate);
    }
    std::wstring ClassName() const override { return L"TForm_Module"; }
    void FormCreate(TComponent*) {
        SetBorderStyle(bsNone);
        SetColor(0xF0FFF0);
        auto* l = Place<TLabel>(this, L"Label_Hosted", this, 8, 8, 200, 16);
        l->SetCaption(L"Form hosted in a panel (aligned to it)");
        auto* b = Place<TButton>(this, L"Button_Hosted", this, 8, 30, 120, 25);
        b->SetCaption(L"Hosted button");
    }
};

class TForm_Dialog : public TForm {
public:
    explicit TForm_Dialog(TComponent* AOwner) : TForm(AOwner) {
        Name = L"Form_Dialog";
        OnCreate = Method(this, &TForm_Dialog::FormCreate);
    }
    std::wstring ClassName() const override { return L"TForm_Dialog"; }
    void FormCreate(TComponent*) {
        SetBorderStyle(bsSingle);
        SetBorderIcons(0);
        SetCaption(L"Frage");
        SetClientSize(460, 180);
        SetColor(clWhite);
        Position = poMainFormCenter;
        if (!GetEnvironmentVariableW(L"NO_TOPMOST", nullptr, 0)) SetFormStyle(fsStayOnTop);
        //                                             name           parent left top  w    h
        auto* img = Place<TImage>(this, L"Image1", this, 8, 16, 64, 64);
        auto* txt = Place<THTMLabel>(this, L"HTMLabel1", this, 88, 16, 368, 85);
        auto* ja = Place<TButton>(this, L"Button_Ja", this, 133, 140, 96, 29);
        auto* nein = Place<TButton>(this, L"Button_Nein", this, 237, 140, 96, 29);
        img->SetAutoSize(true);
        img->Picture() = IconPicture(IDI_QUESTION, 48);
        txt->SetHTMLText(L"Sind Sie <b>ganz sicher</b>, dass alle aufgeführten Dateien "
                         L"<font color=\"#C00000\">endgültig</font> vernichtet werden sollen?");
        ja->SetCaption(L"Ja");
        ja->ModalResult = mrYes;
        nein->SetCaption(L"Nein");
        nein->ModalResult = mrNo;
        SetActiveControl(nein);
    }
};

// A row of the gallery's list.
struct TGalleryRow : TNodeData {
    std::wstring Text;
    int Image = 0;
    std::wstring Size;
};

class TForm_Gallery : public TForm {
public:
    explicit TForm_Gallery(TComponent* AOwner) : TForm(AOwner) {
        Name = L"Form_Gallery";
        OnCreate = Method(this, &TForm_Gallery::FormCreate);
    }
    std::wstring ClassName() const override { return L"TForm_Gallery"; }

    TImageList* Images16 = nullptr;
    TImageList* Images32 = nullptr;
    TAdvPopupMenu* Menu = nullptr;
    TAdvMenuOfficeStyler* Styler = nullptr;
    TPanel* Panel_Host = nullptr;
    THTMLabel* HTMLabel_Status = nullptr;

    void FormCreate(TComponent*) {
        SetCaption(L"ui gallery");
        SetClientSize(1000, 830);
        SetColor(clWhite);
        Position = poScreenCenter;
        Font().SetName(L"Tahoma");
        Font().SetHeight(-11);
        ShowHint = true;

        Images16 = new TImageList(this, 16, 16);
        Images32 = new TImageList(this, 32, 32);
        for (LPCWSTR id : {IDI_INFORMATION, IDI_WARNING, IDI_ERROR, IDI_QUESTION, IDI_SHIELD, IDI_APPLICATION}) {
            Images16->Add(IconPicture(id, 16));
            Images32->Add(IconPicture(id, 32));
        }
        Styler = new TAdvMenuOfficeStyler(this);
        Menu = new TAdvPopupMenu(this);
        Menu->Name = L"AdvPopupMenu_Gallery";
        Menu->Images = Images16;
        Menu->MenuStyler = Styler;
        struct {
            const wchar_t* Caption;
            int Image;
            bool Enabled, Checked, Radio;
        } items[] = {
            {L"Ordner hinzufügen", 0, true, false, false}, {L"Dateien hinzufügen", 1, true, false, false},
            {L"-", -1, true, false, false},                 {L"Liste löschen", 2, false, false, false},
            {L"Schnell", -1, true, false, true},            {L"Standard", -1, true, true, true},
            {L"Mit Häkchen", -1, true, true, false},        {L"-", -1, true, false, false},
            {L"Vernichten", 3, true, false, false}};
        for (auto& d : items) {
            auto* mi = new TMenuItem(this);
            mi->Caption = d.Caption;
            mi->ImageIndex = d.Image;
            mi->Enabled = d.Enabled;
            mi->Checked = d.Checked;
            mi->RadioItem = d.Radio;
            Menu->Items()->Add(mi);
        }

        // Toolbar: a gradient panel with glow buttons (normal, hot, pressed, disabled, drop-down).
        auto* bar = Place<TAdvPanel>(this, L"AdvPanel_ControlBar", this, 0, 0, 1000, 70);
        bar->SetAlign(alTop);
        bar->SetColor(0xFBF4EC);
        bar->GradientTo = 0xE9D5BF;
        const wchar_t* captions[] = {L"Optionen", L"Vernichten", L"Stop", L"Liste löschen", L"Freier Speicherplatz"};
        for (int i = 0; i < 5; ++i) {
            auto* b = Place<TAdvGlowButton>(this, L"AdvGlowButton", bar, 4 + i * 92, 2, i == 4 ? 120 : 88, 66);
            b->SetCaption(captions[i]);
            b->Images = Images32;
            b->ImageIndex = i;
            b->Layout = blGlyphTop;
            b->SetTransparent(true);
            b->Hint = L"Hint of a glow button";
            if (i == 2) b->SetEnabled(false);
            if (i == 4) {
                b->DropDownButton = true;
                b->DropDownMenu = Menu;
            }
            Glow[i] = b;
        }

        // Column 1: labels, HTML label, buttons, check boxes, radio buttons, group box, bevel.
        //                                                  name                parent left top   w    h
        auto* l1 = Place<TLabel>(this, L"Label_Plain", this, 10, 80, 200, 16);
        auto* l2 = Place<TLabel>(this, L"Label_Bold", this, 10, 98, 200, 16);
        auto* l3 = Place<TLabel>(this, L"Label_Disabled", this, 10, 116, 200, 16);
        auto* l4 = Place<TLabel>(this, L"Label_Right", this, 10, 134, 200, 16);
        auto* html = Place<THTMLabel>(this, L"HTMLabel_Demo", this, 10, 156, 300, 110);
        auto* btn1 = Place<TButton>(this, L"Button_Ok", this, 10, 272, 88, 25);
        auto* btn2 = Place<TButton>(this, L"Button_Disabled", this, 104, 272, 88, 25);
        auto* cb1 = Place<TCheckBox>(this, L"CheckBox_On", this, 10, 306, 200, 17);
        auto* cb2 = Place<TCheckBox>(this, L"CheckBox_Off", this, 10, 326, 200, 17);
        auto* cb3 = Place<TCheckBox>(this, L"CheckBox_Disabled", this, 10, 346, 200, 17);
        auto* gb = Place<TGroupBox>(this, L"GroupBox_BX1", this, 10, 370, 300, 100);
        auto* rb0 = Place<TRadioButton>(this, L"RadioButton_0", gb, 12, 20, 270, 17);
        auto* rb1 = Place<TRadioButton>(this, L"RadioButton_1", gb, 12, 42, 270, 17);
        auto* rb2 = Place<TRadioButton>(this, L"RadioButton_2", gb, 12, 64, 270, 17);
        auto* bev = Place<TBevel>(this, L"Bevel1", this, 320, 80, 2, 390);
        l1->SetCaption(L"Label (auto size)");
        l2->SetCaption(L"Bold blue label");
        l2->Font().SetStyle(fsBold);
        l2->Font().SetColor(0x8B4513);
        l3->SetCaption(L"Disabled label");
        l3->SetEnabled(false);
        l4->SetAutoSize(false);
        l4->SetAlignment(taRightJustify);
        l4->SetCaption(L"Right-aligned in 200 px");
        html->SetHTMLText(
            L"<P align=\"center\"><b>HTML label</b>, <i>italic</i>, <u>underlined</u></P>"
            L"Text in <font color=\"#C00000\">red</font> and <font color=\"clGreen\">green</font>, a "
            L"<a href=\"link1\">link</a> that raises the anchor event.<br>"
            L"<P align=\"right\">right-aligned paragraph</P>");
        html->OnAnchorClick = [this](TComponent*, const std::wstring& a) {
            HTMLabel_Status->SetHTMLText(L"Anchor clicked: <b>" + a + L"</b>");
        };
        btn1->SetCaption(L"Ok");
        btn2->SetCaption(L"Disabled");
        btn2->SetEnabled(false);
        cb1->SetCaption(L"Check box, checked");
        cb1->SetChecked(true);
        cb2->SetCaption(L"Check box, unchecked");
        cb3->SetCaption(L"Check box, disabled");
        cb3->SetEnabled(false);
        gb->SetCaption(L"Löschmethode");
        rb0->SetCaption(L"Schnell (1 Schreibdurchgang)");
        rb1->SetCaption(L"Standard (3 Schreibdurchgänge)");
        rb2->SetCaption(L"DoD 5220.22-M (7 Schreibdurchgänge)");
        rb2->SetChecked(true);
        bev->Shape = TBevelShape::bsLeftLine;

        // Column 2: images, list view, owner-drawn list box.
        auto* imgAlpha = Place<TImage>(this, L"Image_Alpha", this, 334, 80, 48, 48);
        auto* imgStretch = Place<TImage>(this, L"Image_Stretch", this, 390, 80, 64, 64);
        auto* imgCenter = Place<TImage>(this, L"Image_Center", this, 462, 80, 64, 64);
        auto* imgOpaque = Place<TImage>(this, L"Image_Opaque", this, 534, 80, 40, 40);
        auto* imgTransp = Place<TImage>(this, L"Image_Transparent", this, 580, 80, 40, 40);
        auto* lv = Place<TListView>(this, L"ListView_Options_Language", this, 334, 150, 320, 130);
        auto* lb = Place<TListBox>(this, L"ListBox_Skins", this, 334, 290, 320, 180);
        imgAlpha->SetAutoSize(true);
        imgAlpha->Picture() = IconPicture(IDI_WARNING, 48);
        imgStretch->SetStretch(true);
        imgStretch->Picture() = IconPicture(IDI_INFORMATION, 32);
        imgCenter->SetCenter(true);
        imgCenter->Picture() = IconPicture(IDI_ERROR, 32);
        imgOpaque->Picture() = OpaquePicture();
        imgTransp->Picture() = OpaquePicture();
        imgTransp->SetTransparent(true);
        lv->AddColumn(L"Sprache", 150);
        lv->AddColumn(L"Übersetzer", 150);
        lv->SetSmallImages(Images16);
        const wchar_t* langs[][2] = {{L"Deutsch", L"Corvane"}, {L"English", L"Corvane"}, {L"Français", L"Someone"}};
        for (int i = 0; i < 3; ++i) {
            TListItem& it = lv->AddItem(langs[i][0], i);
            it.SubItems = {langs[i][1], std::to_wstring(i)};
        }
        lv->SetItemIndex(1);
        lb->Style = lbOwnerDrawFixed;
        lb->ItemHeight = 44;
        for (const wchar_t* s : {L"Default skin", L"Dark skin", L"Classic skin"}) lb->AddItem(s);
        lb->SetItemIndex(0);
        lb->OnDrawItem = [this](TComponent* c, int i, const RECT& r, HDC dc, UINT) {
            auto* box = dynamic_cast<TListBox*>(c);
            Images32->Draw(dc, r.left + 6, r.top + 6, i, true);
            RECT t{r.left + 48, r.top + 6, r.right, r.bottom};
            DrawTextW(dc, box->Items(i).c_str(), -1, &t, DT_SINGLELINE | DT_NOPREFIX);
            RECT s{r.left + 48, r.top + 22, r.right, r.bottom};
            DrawTextW(dc, L"owner-drawn row", -1, &s, DT_SINGLELINE | DT_NOPREFIX);
        };

        // Column 3: office tab set over a page control with hidden tabs, smooth label and panel,
        // a host panel.
        auto* tabs = Place<TAdvOfficeTabSet>(this, L"AdvOfficeTabSet1", this, 670, 80, 320, 28);
        auto* pages = Place<TPageControl>(this, L"PageControl1", this, 670, 108, 320, 120);
        tabs->TabHeight = 28;
        for (int i = 0; i < 3; ++i) {
            auto* sheet = new TTabSheet(this);
            sheet->SetParent(pages);
            sheet->SetCaption(i == 0 ? L"Sprache" : i == 1 ? L"Kontextmenü" : L"Sonstiges");
            sheet->SetTabVisible(false);
            sheet->SetColor(i == 0 ? 0xFFF8F0 : i == 1 ? 0xF0FFF8 : 0xF8F0FF);
            auto* l = Place<TLabel>(this, L"Label_Page", sheet, 10, 10, 200, 16);
            l->SetCaption(L"Page " + std::to_wstring(i) + L": " + sheet->Caption());
            TOfficeTab& t = tabs->AddTab(sheet->Caption());
            t.ImageIndex = i;
        }
        tabs->SetActiveTabIndex(1);
        pages->SetActivePageIndex(1);
        tabs->OnChange = [tabs, pages](TComponent*) { pages->SetActivePageIndex(tabs->Tab(tabs->ActiveTabIndex()).ImageIndex); };

        auto* sl = Place<TAdvSmoothLabel>(this, L"AdvSmoothLabel1", this, 670, 236, 320, 34);
        sl->SetText(L"Smooth label");
        sl->SmoothCaption().Font.SetHeight(-22);
        sl->SmoothCaption().Font.SetStyle(fsBold);
        sl->SmoothCaption().ColorStart = 0xC06020;
        sl->SmoothCaption().ColorEnd = 0x401000;
        sl->SmoothCaption().Shadow = true;
        sl->SmoothCaption().ShadowColor = 0xD0D0D0;

        auto* sp = Place<TAdvSmoothPanel>(this, L"AdvSmoothPanel_InfoBar", this, 670, 276, 320, 92);
        sp->Fill.Color = clWhite;
        sp->Fill.ColorTo = clSilver;
        sp->Fill.Rounding = 6;
        sp->Fill.BorderColor = clGray;
        HTMLabel_Status = Place<THTMLabel>(this, L"HTMLabel_BX_Status", sp, 58, 12, 250, 56);
        HTMLabel_Status->SetTransparent(true);
        HTMLabel_Status->SetHTMLText(L"Smooth panel with a <b>white to silver</b> gradient; status text as HTML.");
        auto* spImg = Place<TImage>(this, L"Image_BX", sp, 4, 22, 48, 48);
        spImg->SetAutoSize(true);
        spImg->Picture() = IconPicture(IDI_SHIELD, 48);

        Panel_Host = Place<TPanel>(this, L"Panel1", this, 670, 376, 320, 94);
        Panel_Host->SetColor(0xE0E0E0);
        Panel_Host->BevelOuter = bvLowered;
        Panel_Host->SetCaption(L"(host panel)");

        // Bottom: panels with gradient and bevels, disabled glow states legend.
        auto* grad = Place<TPanel>(this, L"Panel_Gradient", this, 10, 486, 300, 60);
        grad->SetColor(0xFFFFFF);
        grad->GradientTo = 0xC08040;
        grad->SetCaption(L"Panel with vertical gradient");
        grad->Font().SetColor(clWhite);
        auto* raised = Place<TPanel>(this, L"Panel_Raised", this, 334, 486, 320, 60);
        raised->SetCaption(L"Panel, raised bevel, button face");
        raised->SetColor(clBtnFace);
        auto* info = Place<TLabel>(this, L"Label_Info", this, 670, 486, 320, 60);
        info->SetAutoSize(false);
        info->SetWordWrap(true);
        info->SetCaption(L"Glow buttons above: normal (flat), hot (\"Vernichten\"), pressed (\"Liste löschen\"), "
                         L"disabled (\"Stop\", grey image) and a drop-down button.");
        auto* bottom = Place<TAdvGlowButton>(this, L"AdvGlowButton_Left", this, 10, 560, 160, 32);
        bottom->SetCaption(L"Glyph left, framed");
        bottom->Images = Images16;
        bottom->ImageIndex = 0;
        bottom->Appearance.BorderColor = 0xB0B0B0;
        auto* bottom2 = Place<TAdvGlowButton>(this, L"AdvGlowButton_LeftDisabled", this, 180, 560, 160, 32);
        bottom2->SetCaption(L"Disabled, framed");
        bottom2->Images = Images16;
        bottom2->ImageIndex = 1;
        bottom2->Appearance.BorderColor = 0xB0B0B0;
        bottom2->SetEnabled(false);

        // The owner-drawn list as the wipe view uses it (header, icons, full-row multiple
        // selection) and a progress bar.
        Tree = Place<TVirtualDrawTree>(this, L"VirtualDrawTree_BX", this, 10, 604, 644, 210);
        Tree->SelectionOptions = toFullRowSelect | toMultiSelect | toRightClickSelect;
        Tree->PaintOptions = toHideFocusRect;
        Tree->Header().Options |= hoShowImages | hoShowSortGlyphs;
        Tree->Header().AddColumn(L"Datei / Ordner", 440);
        Tree->Header().AddColumn(L"Größe", 180);
        Tree->PopupMenu = Menu;
        Tree->SetNodeDataType<TGalleryRow>();
        const struct {
            const wchar_t* Text;
            int Image;
            const wchar_t* Size;
        } rows[] = {{L"C:\\Users\\Anna\\Documents\\Steuer 2025.pdf", 0, L"1.204 KB"},
                    {L"C:\\Users\\Anna\\Pictures", 1, L"Ordner"},
                    {L"Papierkorb", 2, L""},
                    {L"Freier Speicherplatz auf Laufwerk C:", 3, L""},
                    {L"D:\\Archiv\\Alte Briefe mit einem sehr langen Namen, der nicht in die Spalte passt.docx", 4, L"88 KB"}};
        for (auto& r : rows) {
            auto* d = Tree->GetNodeData<TGalleryRow>(Tree->AddChild(nullptr));
            d->Text = r.Text;
            d->Image = r.Image;
            d->Size = r.Size;
        }
        Tree->SetSelected(Tree->GetNext(Tree->GetFirst()), true);
        Tree->SetSelected(Tree->GetNext(Tree->GetNext(Tree->GetFirst())), true);
        Tree->OnDrawNode = [this](TBaseVirtualTree* Sender, TVTPaintInfo& I) {
            auto* d = Sender->GetNodeData<TGalleryRow>(I.Node);
            RECT r = I.ContentRect;
            if (I.Column == 0) {
                Images16->Draw(I.Canvas, r.left, r.top + 1, d->Image);
                r.left += 20;
                DrawTextW(I.Canvas, d->Text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
            } else {
                DrawTextW(I.Canvas, d->Size.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
            }
        };
        auto* pl = Place<TLabel>(this, L"Label_Progress", this, 670, 604, 320, 16);
        pl->SetCaption(L"Fortschritt (37,50%):");
        Progress = Place<TProgressBar>(this, L"ProgressBar_BX", this, 670, 624, 320, 17);
        Progress->SetMax(800);
        Progress->SetPosition(300);
    }

    TVirtualDrawTree* Tree = nullptr;
    TProgressBar* Progress = nullptr;

    TAdvGlowButton* Glow[5] = {};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    Gfx_InstallPictureLoader();  // pictures read PNG through the graphics library
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring mode = argc > 1 ? argv[1] : L"";
    LocalFree(argv);

    if (mode == L"custom") {
        Gallery_ShowCustomControls();
        Application.Run();
        return 0;
    }
    auto* f = CreateForm<TForm_Gallery>(&Application);
    f->Show();
    // Show the hot and pressed looks without a mouse.
    f->Glow[1]->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    f->Glow[3]->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    f->Glow[3]->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    if (mode == L"hosted") {
        auto* m = CreateForm<TForm_Module>(&Application);
        m->SetParent(f->Panel_Host);
        m->SetAlign(alClient);
        m->Show();
    }
    if (mode == L"modal") {
        auto* d = CreateForm<TForm_Dialog>(&Application);
        d->ShowModal();
        d->Free();
    }
    if (mode == L"dialog") {
        auto* d = CreateForm<TForm_Dialog>(&Application);
        d->Show();
    }
    if (mode == L"dropdown") {
        RECT dd = f->Glow[4]->DropDownRect();
        LPARAM at = MAKELPARAM(dd.left + 20, dd.top + 5);
        f->Glow[4]->Perform(WM_MOUSEMOVE, 0, at);
        f->Glow[4]->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    }
    if (mode == L"tree") f->Tree->SetFocus();  // the selection in the focused colours
    if (mode == L"menu") f->Menu->Popup(f->Left() + 200, f->Top() + 200);
    Application.Run();
    return 0;
}

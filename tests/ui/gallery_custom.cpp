// The gallery's page of the program's own controls: GDI+ labels, text buttons, three-state
// images, the thread timer, and pictures and image lists loaded from PNG files.
#include "gallery_custom.h"

#include "controls/pellan_mouse_image_3state.h"
#include "controls/zelk_label_gdip.h"
#include "controls/zelk_thread_timer.h"
#include "controls/zelk_unicode_st_button.h"
#include "ui/advctrls.h"
#include "ui/application.h"
#include "ui/gfx/bitmap32.h"
#include "ui/gfx/png_image_list.h"
#include "ui/stdctrls.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace ui;

namespace {

// A disc of the colour with a soft edge and a white highlight, as a PNG file in the temp folder
// (so that loading goes the way the programs' skin pictures go).
std::wstring DiscPng(const wchar_t* Name, int Size, TColor32 Color, bool Cross = false) {
    TBitmap32 b(Size, Size);
    const double c = (Size - 1) / 2.0, r = Size / 2.0 - 0.5;
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            double d = std::hypot(x - c, y - c);
            double cover = std::clamp(r - d + 0.5, 0.0, 1.0);
            if (cover <= 0) continue;
            TColor32 px = Color;
            bool mark = Cross ? (std::abs(x - y) <= Size / 10 || std::abs(x + y - (Size - 1)) <= Size / 10) &&
                                    d < r * 0.6
                              : std::hypot(x - c * 0.7, y - c * 0.7) < Size / 7.0;
            if (mark) px = Color32(255, 255, 255);
            b.SetPixel(x, y, Color32_Premultiply((px & 0xFFFFFF) | (TColor32(std::lround(cover * 255)) << 24)));
        }
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring file = std::wstring(tmp) + L"blanko_gallery_" + Name + L".png";
    b.SaveToPngFile(file);
    return file;
}

TPicture PngPicture(const std::wstring& File) {
    TPicture p;
    p.LoadFromFile(File);
    return p;
}

class TForm_CustomControls : public TForm {
public:
    explicit TForm_CustomControls(TComponent* AOwner) : TForm(AOwner) {
        Name = L"Form_CustomControls";
        OnCreate = Method(this, &TForm_CustomControls::FormCreate);
    }
    std::wstring ClassName() const override { return L"TForm_CustomControls"; }

    TPanel* Header = nullptr;
    TPellanMouseImage3State* WindowButtons[3] = {};
    TZelkUnicodeSTButton* HoverButton = nullptr;
    TZelkThreadTimer* Timer = nullptr;

    void FormCreate(TComponent*) {
        SetCaption(L"ui gallery: custom controls");
        SetClientSize(640, 430);
        SetColor(clWhite);
        Position = poScreenCenter;
        Font().SetName(L"Tahoma");
        Font().SetHeight(-11);

        const TColor32 colours[] = {Color32(40, 150, 60), Color32(230, 160, 30), Color32(200, 40, 40),
                                    Color32(40, 110, 200), Color32(120, 60, 170), Color32(90, 90, 90)};
        auto* images16 = new TPngImageList(this, 16);
        auto* images32 = new TPngImageList(this, 32);
        images16->Name = L"PngImageList16";
        images32->Name = L"PngImageList32";
        for (int i = 0; i < 6; ++i) {
            std::wstring file = DiscPng((L"disc" + std::to_wstring(i)).c_str(), 48, colours[i], i == 2);
            images16->AddFromFile(file);  // scaled down from 48 pixels
            images32->AddFromFile(file);
        }

        // The frame window's header: a dark panel, GDI+ labels with shadow and alpha, three window
        // buttons (normal; released outside, so still pressed; under the mouse).
        Header = Place<TPanel>(this, L"Panel_Header", this, 0, 0, 640, 64);
        Header->SetColor(0x5A3A1E);
        Header->BevelOuter = bvNone;
        auto* title = Place<TZelkLabelGDIP>(this, L"ZelkLabelGDIP_Title", Header, 14, 8, 100, 30);
        title->Font().SetHeight(-24);
        title->Font().SetStyle(fsBold);
        title->Font().SetColor(clWhite);
        title->SetShadow(true);
        title->SetShadowAlpha(160);
        title->SetCaption(L"Blanko");
        auto* sub = Place<TZelkLabelGDIP>(this, L"ZelkLabelGDIP_Sub", Header, 16, 40, 100, 16);
        sub->Font().SetColor(clWhite);
        sub->SetAlphaChannel(170);
        sub->SetCaption(L"Subtitle at AlphaChannel 170 (AutoWidth)");
        const wchar_t* names[] = {L"Image_Min", L"Image_Max", L"Image_Close"};
        for (int i = 0; i < 3; ++i) {
            auto* b = Place<TPellanMouseImage3State>(this, names[i], Header, 540 + i * 30, 12, 24, 24);
            b->SetPicture_Highlight(PngPicture(DiscPng(L"hl", 48, Color32(250, 200, 60))));
            b->SetPicture_Pressed(PngPicture(DiscPng(L"pr", 48, Color32(200, 40, 40), true)));
            b->SetPicture_Normal(PngPicture(DiscPng(L"nm", 48, Color32(150, 150, 160))));
            b->Hint = L"normal / highlight / pressed";
            WindowButtons[i] = b;
        }

        // GDI+ labels in their states.
        struct Row {
            const wchar_t* Name;
            const wchar_t* Caption;
            int Width;  // 0: auto width
            TAlignment Align;
            int Alpha;
            bool Shadow, Emboss, Ellipsis, AntiAlias;
        } rows[] = {
            {L"Label_ClearType", L"ClearType text (default)", 0, taLeftJustify, 255, false, false, false, false},
            {L"Label_AntiAlias", L"Anti-aliased text", 0, taLeftJustify, 255, false, false, false, true},
            {L"Label_Alpha", L"AlphaChannel 80", 0, taLeftJustify, 80, false, false, false, true},
            {L"Label_Shadow", L"Drop shadow", 0, taLeftJustify, 255, true, false, false, true},
            {L"Label_Emboss", L"Emboss shadow", 0, taLeftJustify, 255, true, true, false, true},
            {L"Label_Right", L"Right in 280 px", 280, taRightJustify, 255, false, false, false, true},
            {L"Label_Centre", L"Centred in 280 px", 280, taCenter, 255, false, false, false, true},
            {L"Label_Ellipsis", L"EndEllipsis in 150 px: a caption that is far too long", 150, taLeftJustify, 255,
             false, false, true, true},
            {L"Label_Lines", L"First line<BR>second line (upper-case tag)<br>third line (lower-case tag)", 0, taLeftJustify, 255,
             false, false, false, true},
        };
        int y = 76;
        for (const Row& r : rows) {
            if (r.Width) {  // a frame shows the fixed width
                auto* frame = Place<TBevel>(this, L"Bevel_Label", this, 10, y - 1, r.Width + 2, 18);
                frame->Style = TBevelStyle::bsRaised;
            }
            auto* l = Place<TZelkLabelGDIP>(this, r.Name, this, 11, y, r.Width ? r.Width : 100, 16);
            l->Font().SetHeight(-13);
            l->Font().SetColor(0x303030);
            l->SetAutoWidth(r.Width == 0);
            l->SetAlignment(r.Align);
            l->SetAlphaChannel(r.Alpha);
            l->SetShadow(r.Shadow);
            l->SetShadowEmboss(r.Emboss);
            l->SetShadowColor(0xE0A060);  // light blue, to tell the shadow from the text
            l->SetEndEllipsis(r.Ellipsis);
            l->SetAntiAliasingType(r.AntiAlias ? at_antialiasing : at_cleartype);
            l->SetCaption(r.Caption);
            const bool lines = std::wstring(r.Name) == L"Label_Lines";
            if (lines) l->SetHeight(48);
            y += lines ? 52 : 24;
        }

        // Text buttons.
        auto* glyph = new TPicture(PngPicture(DiscPng(L"glyph", 16, Color32(40, 110, 200))));
        auto* arrow = new TPicture(PngPicture(DiscPng(L"arrow", 10, Color32(120, 120, 120))));
        FOwnedPictures = {glyph, arrow};
        struct Btn {
            const wchar_t* Name;
            const wchar_t* Caption;
            TAlignment Align;
            bool AutoWidth, Glyph, Image, Shadow, Enabled, RightGlyph;
        } buttons[] = {
            {L"Button_Plain", L"Plain (auto width)", taLeftJustify, true, false, false, false, true, false},
            {L"Button_Hover", L"Hover font", taLeftJustify, true, false, false, false, true, false},
            {L"Button_Glyph", L"Glyph from a PNG", taLeftJustify, false, true, false, false, true, false},
            {L"Button_Image", L"Image list image", taLeftJustify, false, false, true, false, true, true},
            {L"Button_Centre", L"Centred", taCenter, false, false, true, false, true, false},
            {L"Button_Right", L"Right, auto width", taRightJustify, true, false, false, false, true, false},
            {L"Button_Shadow", L"With shadow", taLeftJustify, true, false, false, true, true, false},
            {L"Button_Disabled", L"Disabled (grey image)", taLeftJustify, false, false, true, false, false, false},
        };
        y = 76;
        int i = 0;
        for (const Btn& d : buttons) {
            auto* b = Place<TZelkUnicodeSTButton>(this, d.Name, this, 340, y, 170, 25);
            b->SetAlignment(d.Align);
            b->SetAutoWidth(d.AutoWidth);
            b->SetCaption(d.Caption);
            b->Font().SetColor(0x404040);
            TFont hot;
            hot.SetColor(0xC06000);
            hot.SetStyle(fsUnderline);
            b->SetFontHOT(&hot);
            if (d.Glyph) b->SetGlyph(glyph);
            if (d.Image) {
                b->SetImageList(images16);
                b->SetImageIndex(i % 6);
            }
            if (d.RightGlyph) {
                b->SetGlyphRightSide(arrow);
                b->SetGlyphRightSide_OffsetX(156);
                b->SetGlyphRightSide_OffsetY(8);
            }
            b->SetShadow(d.Shadow);
            b->SetShadowColor(0xE0A060);
            b->SetEnabled(d.Enabled);
            if (d.Name == buttons[1].Name) HoverButton = b;
            if (!d.AutoWidth) {  // a frame shows the fixed width
                auto* frame = Place<TBevel>(this, L"Bevel_Button", this, 339, y - 1, 172, 27);
                frame->Style = TBevelStyle::bsRaised;
                frame->SendToBack();
            }
            y += 30;
            ++i;
        }

        // The PNG image lists in the layer's own controls: glow buttons (enabled, disabled in
        // grey) with 32-pixel images, the thread timer counting in a label.
        auto* g1 = Place<TAdvGlowButton>(this, L"AdvGlowButton_Png", this, 10, 330, 88, 66);
        auto* g2 = Place<TAdvGlowButton>(this, L"AdvGlowButton_PngDisabled", this, 104, 330, 88, 66);
        for (auto* g : {g1, g2}) {
            g->Images = images32;
            g->ImageIndex = g == g1 ? 3 : 2;
            g->Layout = blGlyphTop;
            g->Appearance.BorderColor = 0xB0B0B0;
        }
        g1->SetCaption(L"PNG list 32");
        g2->SetCaption(L"Disabled");
        g2->SetEnabled(false);
        auto* ticks = Place<TZelkLabelGDIP>(this, L"ZelkLabelGDIP_Ticks", this, 210, 340, 100, 16);
        ticks->Font().SetHeight(-13);
        ticks->SetCaption(L"ZelkThreadTimer: waiting");
        Timer = new TZelkThreadTimer(this);
        Timer->SetInterval(500);
        Timer->OnTimer = [ticks, n = 0](TComponent*) mutable {
            ticks->SetCaption(L"ZelkThreadTimer ticks: " + std::to_wstring(++n));
        };
        Timer->SetEnabled(true);
    }

    ~TForm_CustomControls() override {
        for (TPicture* p : FOwnedPictures) delete p;
    }

private:
    std::vector<TPicture*> FOwnedPictures;
};

}  // namespace

TForm* Gallery_ShowCustomControls() {
    auto* f = CreateForm<TForm_CustomControls>(&Application);
    f->Show();
    // States without a mouse: the second window button released outside (keeps its pressed
    // picture), the third under the mouse, the hover button under the mouse.
    HWND header = f->Header->Handle();
    auto at = [](TControl* c) { return MAKELPARAM(c->Left() + 5, c->Top() + 5); };
    SendMessageW(header, WM_MOUSEMOVE, 0, at(f->WindowButtons[1]));
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at(f->WindowButtons[1]));
    SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 30));
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(300, 30));
    SendMessageW(header, WM_MOUSEMOVE, 0, at(f->WindowButtons[2]));
    // The hover button gets the real pointer too, or the display's pointer position (elsewhere)
    // would take the hover away again at once.
    POINT p = f->HoverButton->ClientToScreen(POINT{5, 5});
    SetCursorPos(p.x, p.y);
    SendMessageW(f->Handle(), WM_MOUSEMOVE, 0, at(f->HoverButton));
    return f;
}

// The standard controls: label, button, check box, radio button, group box, panel, bevel, image,
// owner-drawn list box.
#pragma once

#include "ui/controls.h"
#include "ui/picture.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// A window-less text. AutoSize (on by default) fits the control to its text.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TLabel"; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    TVerticalAlignment Layout() const { return FLayout; }
    void SetLayout(TVerticalAlignment V);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V);
    // "&" marks an accelerator and is not drawn (as the system's labels do).
    bool ShowAccelChar = true;

    void Paint(HDC DC) override;
    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override;
    bool SetProperty(const std::wstring& PropName, const std::wstring& Value) override;

protected:
    void AdjustSize() override;
    UINT DrawFlags() const;
    TAlignment FAlignment = taLeftJustify;
    TVerticalAlignment FLayout = taAlignTop;
    bool FWordWrap = false;
};

// The system's push button. Its click also ends a modal showing with ModalResult.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TButton"; }
    bool Default = false;  // Enter clicks it
    bool Cancel = false;   // Escape clicks it
    int ModalResult = mrNone;
    void Click() override;
    bool ClickOnMouseUp() const override { return false; }
    bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

protected:
    void CreateParams(TCreateParams& P) override;
};

// The system's check box. Changing Checked, from code or by the user, raises OnClick.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TCheckBox"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool ClickOnMouseUp() const override { return false; }
    bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

protected:
    void CreateParams(TCreateParams& P) override;
    void InitWnd() override;
    bool FChecked = false;
};

// The system's radio button. Checking one unchecks the other radio buttons of the same parent;
// as a TRadioButtonBase it goes into Save_RadioGroup and Load_RadioGroup.
class TRadioButton : public TWinControl, public TRadioButtonBase {
public:
    explicit TRadioButton(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TRadioButton"; }
    bool Checked() const override { return FChecked; }
    void SetChecked(bool Value) override;
    bool ClickOnMouseUp() const override { return false; }
    bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;
    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override {
        return TWinControl::GetProperty(PropName, Value);
    }
    bool SetProperty(const std::wstring& PropName, const std::wstring& Value) override {
        return TWinControl::SetProperty(PropName, Value);
    }

protected:
    void CreateParams(TCreateParams& P) override;
    void InitWnd() override;
    void BeforeDestruction() override { TWinControl::BeforeDestruction(); }
};

// A frame with a caption around a group of controls.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TGroupBox"; }
    void Paint(HDC DC) override;

protected:
    // Aligned children stay inside the frame, below the caption.
    void AdjustClientRect(RECT& R) override;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

// A panel: a container with a colour, an optional vertical gradient (GradientTo), an optional
// background picture (stretched or tiled) and optional bevels; shows its caption centred.
class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TPanel"; }
    TBevelCut BevelOuter = bvRaised;
    TBevelCut BevelInner = bvNone;
    // Gradient end colour; clNone paints the plain colour.
    TColor GradientTo = clNone;
    bool GradientVertical = true;
    TPicture Background;
    bool BackgroundStretch = true;
    bool ShowCaption = true;
    void Paint(HDC DC) override;
    bool HasCaption() const override { return true; }

protected:
    void PaintBackground(HDC DC, const RECT& R) override;
    void AdjustClientRect(RECT& R) override;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

// A window-less etched line or frame.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TBevel"; }
    bool HasCaption() const override { return false; }
    TBevelShape Shape = TBevelShape::bsBox;
    TBevelStyle Style = TBevelStyle::bsLowered;
    void Paint(HDC DC) override;
};

// A window-less picture: auto size, stretch (with or without keeping the proportions), centre,
// transparency (pictures without alpha take their bottom-left pixel colour as transparent).
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TImage"; }
    bool HasCaption() const override { return false; }
    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool V);
    bool Proportional = false;
    bool Center() const { return FCenter; }
    void SetCenter(bool V);
    bool Transparent() const { return FTransparentPic; }
    void SetTransparent(bool V);
    void Paint(HDC DC) override;
    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override;

protected:
    void AdjustSize() override;
    void PictureChanged();
    TPicture FPicture;
    TPicture FTransparentCopy;
    bool FStretch = false, FCenter = false, FTransparentPic = false;
};

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using enum TListBoxStyle;
using TDrawItemEvent =
    std::function<void(TComponent* Control, int Index, const RECT& Rect, HDC DC, UINT State)>;

// The system's list box; with lbOwnerDrawFixed its OnDrawItem paints every row (the DC comes
// with the row's background already filled and the selection colours set).
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TListBox"; }
    bool HasCaption() const override { return false; }
    TListBoxStyle Style = lbStandard;
    int ItemHeight = 16;
    void AddItem(const std::wstring& Text);
    void Clear();
    int Count() const { return int(FItems.size()); }
    const std::wstring& Items(int Index) const { return FItems[Index]; }
    int ItemIndex() const;
    void SetItemIndex(int Index);
    TDrawItemEvent OnDrawItem;
    TNotifyEvent OnChange;  // the selection changed (user or code)
    bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

protected:
    void CreateParams(TCreateParams& P) override;
    void InitWnd() override;
    void SaveWndState() override;
    std::vector<std::wstring> FItems;
    int FItemIndex = -1;
};

}  // namespace ui

// Forms: top-level windows that hold controls, or modules hosted inside a panel of another form.
//
// A form is written as a class derived from TForm whose constructor connects OnCreate to its
// creation handler; the handler sets the form's properties and creates the components at their
// pixel positions, one line per component, so the layout reads as a table:
//
//   class TForm_Demo : public ui::TForm {
//   public:
//       explicit TForm_Demo(ui::TComponent* AOwner) : TForm(AOwner) {
//           Name = L"Form_Demo";
//           OnCreate = ui::Method(this, &TForm_Demo::FormCreate);
//       }
//       std::wstring ClassName() const override { return L"TForm_Demo"; }
//       ui::TButton* Button_Ok = nullptr;
//       void FormCreate(ui::TComponent*) {
//           SetCaption(L"Demo");
//           SetClientSize(460, 180);
//           //                                     name          parent  left  top  width height
//           Button_Ok = ui::Place<ui::TButton>(this, L"Button_Ok", this,   185,  79,   96,   27);
//           Button_Ok->SetCaption(L"Ok");
//           Button_Ok->ModalResult = ui::mrOk;
//       }
//   };
//   auto* f = ui::CreateForm<TForm_Demo>(&ui::Application);   // runs FormCreate
//   int r = f->ShowModal();
//   f->Free();                                               // runs OnDestroy, then deletes
#pragma once

#include "ui/controls.h"

#include <functional>
#include <utility>

namespace ui {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
using enum TFormBorderStyle;
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum class TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
using enum TPosition;
enum class TFormStyle { fsNormal, fsStayOnTop };
using enum TFormStyle;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;
// Command and Data as for the system's help; return true when handled.
using THelpEvent = std::function<bool(WORD Command, intptr_t Data, bool& CallHelp)>;

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0: no limit
};

class TButton;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    std::wstring ClassName() const override { return L"TForm"; }

    // Runs the creation handler; CreateForm calls it right after construction.
    void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position = poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    // Limits of the outer size, applied while the user resizes.
    TSizeConstraints Constraints;

    // Modal showing: returns the ModalResult that ended it. Other windows of the program are
    // disabled meanwhile. Setting ModalResult (a button's ModalResult does) ends the showing
    // after the close query agrees.
    int ShowModal();
    bool Modal() const { return FModal; }
    int ModalResult = mrNone;

    // Closes as the close box does: asks OnCloseQuery, then OnClose decides what happens (the
    // main form ends the program; other forms hide unless the handler says otherwise).
    void Close();
    bool CloseQuery();
    // Frees the form once the current message is handled (safe from its own handlers).
    void Release();

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Default (Enter) and cancel (Escape) buttons, set by the buttons themselves.
    TButton* DefaultButton() const;
    TButton* CancelButton() const;
    // Raises the help event (F1).
    void Help();

    void BringToFront();

    // Hosting: SetParent(panel) makes the form a child window of the panel (its window is made
    // anew as a child); SetParent(nullptr) makes it a top-level window again.

    TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnActivate, OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    THelpEvent OnHelp;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
    void VisibleChanged() override;
    void BeforeDestruction() override;
    void DoShow();
    void PlaceOnFirstShow();

private:
    void DoClose(TCloseAction& Action);
    bool CloseModal();
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TWinControl* FActiveControl = nullptr;
    bool FModal = false;
    bool FPlaced = false;
    bool FCreated = false;
    bool FDestroying = false;
};

// Creates a form and runs its creation handler. The first form made through the application
// (Owner = &Application) becomes the main form.
template <class T, class... A>
T* CreateForm(A&&... Args) {
    T* f = new T(std::forward<A>(Args)...);
    f->AfterConstruction();
    return f;
}

// Creates a control owned by Owner, named, placed on Parent at the given bounds.
template <class T>
T* Place(TComponent* Owner, const wchar_t* AName, TWinControl* AParent, int ALeft, int ATop,
         int AWidth, int AHeight) {
    T* c = new T(Owner);
    c->Name = AName;
    c->SetBounds(ALeft, ATop, AWidth, AHeight);
    c->SetParent(AParent);
    return c;
}

// The screen's work area (of the primary monitor).
RECT Screen_WorkArea();

}  // namespace ui

// The application object: one per program. It owns the message loop, knows the main form (the
// one on the taskbar; closing it ends the program), shows hints and gives the hand cursor.
#pragma once

#include "ui/component.h"

#include <windows.h>

#include <string>

namespace ui {

class TForm;
class TControl;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    std::wstring ClassName() const override { return L"TApplication"; }

    // Caption of every message box of the program.
    std::wstring Title = L"Corvane Blanko";

    // The first form created through CreateForm becomes the main form: it has the taskbar
    // button, owns the other top-level forms, and closing it ends Run.
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Form) { FMainForm = Form; }

    // Shows the main form and handles messages until Terminate (or the main form closes).
    void Run();
    // Handles every message waiting in this thread's queue, then returns. Long operations on the
    // GUI thread call it between steps so that buttons, timers and painting keep working. Safe
    // to call from inside any message handler. A quit message sets Terminated and is left in the
    // queue for the outer loop.
    void ProcessMessages();
    // Waits for one message and handles it (the modal loops use it). False after a quit message.
    bool HandleMessage();

    // Asks the message loop to end.
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Forgets an earlier Terminate (its quit message already taken), so that a message loop can
    // run again; for test programs that close several main forms in turn.
    void ClearTerminated() { FTerminated = false; }
    void Minimize();

    // Hints: shown after the mouse rests HintPause milliseconds on a control with a Hint whose
    // form (or itself) has ShowHint; hidden after HintHidePause or when the mouse moves on.
    int HintPause = 500;
    int HintHidePause = 2500;
    bool ShowHint = true;
    void CancelHint();

    // The hand cursor (the system's, or a drawn one where the system has none).
    HCURSOR HandCursor();

    // Hooks of the control layer.
    void MouseOverControl(TControl* Control);
    void ControlGone(TControl* Control);
    void FormGone(TForm* Form);
    // Pre-processing of keyboard messages for the form they go to: Enter, Escape, Tab, F1.
    bool IsDialogKey(MSG& Msg);

private:
    static LRESULT CALLBACK UtilWndProc(HWND, UINT, WPARAM, LPARAM);
    HWND UtilWindow();
    void ShowHintNow();
    void Dispatch(MSG& Msg);

    bool FTerminated = false;
    TForm* FMainForm = nullptr;
    HWND FUtilWnd = nullptr;
    HWND FHintWnd = nullptr;
    TControl* FHintControl = nullptr;
    bool FHintShown = false;
};

extern TApplication Application;

}  // namespace ui

// Forms: modal showing, close query, hosting in a panel, border styles, positions, alignment and
// anchors, message processing inside long loops.
#include "ui_test_util.h"

#include "ui/application.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

// A small dialog written the way the program's forms are: components in the creation handler.
class TForm_Ask : public TForm {
public:
    explicit TForm_Ask(TComponent* AOwner) : TForm(AOwner) {
        Name = L"Form_Ask";
        OnCreate = Method(this, &TForm_Ask::FormCreate);
        OnCloseQuery = Method(this, &TForm_Ask::FormCloseQuery);
    }
    std::wstring ClassName() const override { return L"TForm_Ask"; }
    TButton* Button_Ja = nullptr;
    TButton* Button_Nein = nullptr;
    bool AllowClose = true;
    int CloseQueries = 0;
    void FormCreate(TComponent*) {
        SetBorderStyle(bsSingle);
        SetBorderIcons(0);
        SetClientSize(460, 180);
        Position = poScreenCenter;
        //                                            name            parent left  top   w    h
        Button_Ja = Place<TButton>(this, L"Button_Ja", this, 133, 140, 96, 29);
        Button_Nein = Place<TButton>(this, L"Button_Nein", this, 237, 140, 96, 29);
        Button_Ja->ModalResult = mrYes;
        Button_Nein->ModalResult = mrNo;
    }
    void FormCloseQuery(TComponent*, bool& CanClose) {
        ++CloseQueries;
        CanClose = AllowClose;
    }
};

TEST(FormTest, ModalShowingEndsWithTheClickedButtonsResult) {
    auto* f = CreateForm<TForm_Ask>(nullptr);
    After(50, [&] { SendMessageW(f->Button_Nein->Handle(), BM_CLICK, 0, 0); });
    EXPECT_EQ(f->ShowModal(), mrNo);
    EXPECT_FALSE(f->Visible());
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    f->Free();
}

TEST(FormTest, CloseQueryRefusalKeepsTheModalFormOpen) {
    auto* f = CreateForm<TForm_Ask>(nullptr);
    f->AllowClose = false;
    bool stillOpen = false;
    After(50, [&] { PostMessageW(f->Handle(), WM_CLOSE, 0, 0); });
    After(150, [&] {
        stillOpen = IsWindowVisible(f->Handle()) != FALSE;
        f->AllowClose = true;
        SendMessageW(f->Button_Ja->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(f->ShowModal(), mrYes);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(f->CloseQueries, 2);
    f->Free();
}

TEST(FormTest, ModalShowingDisablesOtherFormsAndEnablesThemAfterwards) {
    auto* other = CreateForm<TForm_Ask>(nullptr);
    other->Show();
    auto* f = CreateForm<TForm_Ask>(nullptr);
    bool otherEnabledDuring = true;
    After(50, [&] {
        otherEnabledDuring = IsWindowEnabled(other->Handle()) != FALSE;
        f->ModalResult = mrOk;
    });
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_FALSE(otherEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    f->Free();
    other->Free();
}

TEST(FormTest, CloseOfANonModalFormAsksAndHides) {
    auto* f = CreateForm<TForm_Ask>(nullptr);
    int closes = 0;
    f->OnClose = [&](TComponent*, TCloseAction& a) {
        ++closes;
        EXPECT_EQ(a, caHide);
    };
    f->Show();
    f->AllowClose = false;
    SendMessageW(f->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(closes, 0);
    f->AllowClose = true;
    SendMessageW(f->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(closes, 1);
    f->Free();
}

TEST(FormTest, CreateShowAndDestroyHandlersRunInOrder) {
    std::vector<std::wstring> log;
    struct TForm_Log : TForm {
        std::vector<std::wstring>* Log;
        TForm_Log(std::vector<std::wstring>* L) : TForm(nullptr), Log(L) {
            OnCreate = [this](TComponent*) { Log->push_back(L"create"); };
            OnShow = [this](TComponent*) { Log->push_back(L"show"); };
            OnDestroy = [this](TComponent*) { Log->push_back(L"destroy"); };
        }
    };
    auto* f = CreateForm<TForm_Log>(&log);
    f->Show();
    f->Free();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"create", L"show", L"destroy"}));
}

TEST(FormTest, BorderStylesGiveTheirWindowStyles) {
    struct Case {
        TFormBorderStyle Style;
        TBorderIcons Icons;
        DWORD Has, HasNot;
    } cases[] = {
        {bsNone, biSystemMenu | biMinimize, WS_POPUP | WS_MINIMIZEBOX, WS_CAPTION | WS_THICKFRAME},
        {bsSingle, biSystemMenu | biMinimize, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX},
        {bsSizeable, biSystemMenu | biMinimize | biMaximize, WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
        {bsDialog, biSystemMenu, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX},
        {bsSingle, 0, WS_CAPTION, WS_SYSMENU},
    };
    for (const Case& c : cases) {
        auto* f = CreateForm<TForm>(nullptr);
        f->SetBorderStyle(c.Style);
        f->SetBorderIcons(c.Icons);
        f->SetClientSize(300, 200);
        DWORD s = DWORD(GetWindowLongW(f->Handle(), GWL_STYLE));
        EXPECT_EQ(s & c.Has, c.Has) << int(c.Style);
        EXPECT_EQ(s & c.HasNot, 0u) << int(c.Style);
        RECT r;
        GetClientRect(f->Handle(), &r);
        EXPECT_EQ(r.right, 300) << int(c.Style);
        EXPECT_EQ(r.bottom, 200) << int(c.Style);
        f->Free();
    }
}

TEST(FormTest, StayOnTopAndScreenCentre) {
    auto* f = CreateForm<TForm>(nullptr);
    f->SetFormStyle(fsStayOnTop);
    f->SetClientSize(400, 300);
    f->Position = poScreenCenter;
    f->Show();
    EXPECT_TRUE(GetWindowLongW(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT w;
    GetWindowRect(f->Handle(), &w);
    RECT area = Screen_WorkArea();
    EXPECT_NEAR((w.left + w.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((w.top + w.bottom) / 2, (area.top + area.bottom) / 2, 1);
    f->Free();
}

TEST(FormTest, MinimumSizeLimitsResizing) {
    auto* f = CreateForm<TForm>(nullptr);
    f->Constraints.MinWidth = 500;
    f->Constraints.MinHeight = 400;
    f->Show();
    MINMAXINFO mm{};
    SendMessageW(f->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&mm));
    EXPECT_EQ(mm.ptMinTrackSize.x, 500);
    EXPECT_EQ(mm.ptMinTrackSize.y, 400);
    f->Free();
}

TEST(FormTest, AFormHostedInAPanelBecomesItsChildAndFillsIt) {
    auto* frame = CreateForm<TForm>(nullptr);
    frame->SetClientSize(600, 400);
    auto* panel = Place<TPanel>(frame, L"Panel1", frame, 2, 40, 596, 358);
    panel->BevelOuter = bvNone;
    frame->Show();
    auto* module = CreateForm<TForm_Ask>(nullptr);
    module->SetBorderStyle(bsNone);
    module->SetParent(panel);
    module->SetAlign(alClient);
    module->Show();
    HWND mw = module->Handle();
    EXPECT_EQ(GetParent(mw), panel->Handle());
    EXPECT_TRUE(GetWindowLongW(mw, GWL_STYLE) & WS_CHILD);
    RECT r;
    GetWindowRect(mw, &r);
    EXPECT_EQ(r.right - r.left, 596);
    EXPECT_EQ(r.bottom - r.top, 358);
    // Its controls still work inside the host.
    int clicks = 0;
    module->Button_Ja->OnClick = [&](TComponent*) { ++clicks; };
    SendMessageW(module->Button_Ja->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    // The panel grows with the frame (anchored on all sides), and the module with the panel.
    panel->SetAnchors(akLeft | akTop | akRight | akBottom);
    frame->SetClientSize(700, 500);
    GetWindowRect(mw, &r);
    EXPECT_EQ(r.right - r.left, 696);
    EXPECT_EQ(r.bottom - r.top, 458);
    module->Free();
    frame->Free();
}

TEST(FormTest, AlignAndAnchorsFollowTheParentsSize) {
    auto* f = CreateForm<TForm>(nullptr);
    f->SetBorderStyle(bsNone);
    f->SetClientSize(400, 300);
    auto* top = Place<TPanel>(f, L"Top", f, 0, 0, 10, 70);
    auto* bottom = Place<TPanel>(f, L"Bottom", f, 0, 0, 10, 92);
    auto* client = Place<TPanel>(f, L"Client", f, 0, 0, 10, 10);
    auto* right = Place<TButton>(f, L"Right", client, 200, 10, 50, 20);
    auto* centred = Place<TButton>(f, L"Centred", client, 100, 50, 40, 20);
    top->SetAlign(alTop);
    bottom->SetAlign(alBottom);
    client->SetAlign(alClient);
    right->SetAnchors(akTop | akRight);
    centred->SetAnchors(0);
    f->Show();
    struct Expect {
        TControl* C;
        RECT R;
    };
    auto check = [&](std::initializer_list<Expect> list) {
        for (auto& e : list) {
            EXPECT_EQ(e.C->Left(), e.R.left) << text_of(e.C->Name);
            EXPECT_EQ(e.C->Top(), e.R.top) << text_of(e.C->Name);
            EXPECT_EQ(e.C->Width(), e.R.right) << text_of(e.C->Name);
            EXPECT_EQ(e.C->Height(), e.R.bottom) << text_of(e.C->Name);
        }
    };
    // right: 200 + 50 left 150 px to the client panel's right edge at placing time (width 10):
    // the rule is kept from when it was anchored, with the panel at 400 wide.
    check({{top, {0, 0, 400, 70}}, {bottom, {0, 208, 400, 92}}, {client, {0, 70, 400, 138}}});
    int rightGap = client->Width() - right->Left() - right->Width();
    double centreX = centred->Left() + centred->Width() / 2.0;
    f->SetClientSize(600, 400);
    check({{top, {0, 0, 600, 70}}, {bottom, {0, 308, 600, 92}}, {client, {0, 70, 600, 238}}});
    EXPECT_EQ(client->Width() - right->Left() - right->Width(), rightGap);
    EXPECT_NEAR(centred->Left() + centred->Width() / 2.0, centreX * 600 / 400, 1);
    f->Free();
}

TEST(FormTest, ProcessMessagesInALongLoopKeepsTimersAndClicksAlive) {
    auto* f = CreateForm<TForm_Ask>(nullptr);
    f->Show();
    int clicks = 0;
    f->Button_Ja->OnClick = [&](TComponent*) { ++clicks; };
    static int ticks = 0;
    ticks = 0;
    UINT_PTR t = SetTimer(f->Handle(), 77, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    HWND b = f->Button_Ja->Handle();
    PostMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // A long operation on the GUI thread that lets messages through between its steps.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 400) {
        Sleep(10);
        Application.ProcessMessages();
    }
    KillTimer(f->Handle(), t);
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(clicks, 1);
    f->Free();
}

TEST(FormTest, ProcessMessagesIsSafeInsideAHandler) {
    auto* f = CreateForm<TForm_Ask>(nullptr);
    f->Show();
    int inner = 0, outer = 0;
    f->Button_Nein->OnClick = [&](TComponent*) { ++inner; };
    f->Button_Ja->OnClick = [&](TComponent*) {
        ++outer;
        // A click handler that runs a long step: another click is handled inside it.
        PostMessageW(f->Button_Nein->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(f->Button_Nein->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        for (int i = 0; i < 20; ++i) {
            Application.ProcessMessages();
            Sleep(5);
        }
    };
    SendMessageW(f->Button_Ja->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(outer, 1);
    EXPECT_EQ(inner, 1);
    f->Free();
}

}  // namespace

namespace {

TEST(FormTest, AHookedWindowProcSeesMessagesAndPassesThemOn) {
    auto* f = CreateForm<TForm>(nullptr);
    f->Show();
    std::vector<UINT> seen;
    TWinControl::TWndMethod old = f->WindowProc();
    f->SetWindowProc([&](UINT m, WPARAM w, LPARAM l) {
        if (m == WM_DROPFILES || m == WM_APP + 5) seen.push_back(m);
        return old(m, w, l);
    });
    SendMessageW(f->Handle(), WM_APP + 5, 0, 0);
    // The form's own handling still runs behind the hook.
    f->Constraints.MinWidth = 333;
    MINMAXINFO mm{};
    SendMessageW(f->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&mm));
    EXPECT_EQ(mm.ptMinTrackSize.x, 333);
    f->SetWindowProc(old);
    SendMessageW(f->Handle(), WM_APP + 5, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>{WM_APP + 5});
    f->Free();
}

}  // namespace

namespace {

TEST(FormTest, HandlersMayFreeTheirControlOrForm) {
    auto* f = CreateForm<TForm>(nullptr);
    f->SetBorderStyle(bsNone);
    f->SetClientSize(300, 200);
    auto* img = Place<TImage>(f, L"Image1", f, 10, 10, 50, 50);
    auto* btn = Place<TButton>(f, L"Button1", f, 100, 10, 75, 25);
    f->Show();
    HWND fw = f->Handle();
    // A control freed while its form lives leaves its parent.
    btn->Free();
    EXPECT_EQ(f->ControlCount(), 1);
    UpdateWindow(fw);
    // A click handler that frees the whole form.
    bool freed = false;
    img->OnClick = [&](TComponent*) {
        f->Free();
        freed = true;
    };
    SendMessageW(fw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(fw, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(fw));
}

}  // namespace

namespace {

TEST(FormTest, TheFirstApplicationFormIsTheMainFormOnTheTaskbarAndOwnsTheOthers) {
    ASSERT_EQ(Application.MainForm(), nullptr);
    auto* main = CreateForm<TForm>(&Application);
    auto* other = CreateForm<TForm>(&Application);
    EXPECT_EQ(Application.MainForm(), main);
    main->Show();
    other->Show();
    EXPECT_TRUE(GetWindowLongW(main->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(other->Handle(), GW_OWNER), main->Handle());
    EXPECT_FALSE(GetWindowLongW(other->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // Closing the main form ends the application's message loop.
    EXPECT_FALSE(Application.Terminated());
    SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Application.Terminated());
    MSG m;
    EXPECT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    Application.ClearTerminated();
    other->Free();
    main->Free();
    EXPECT_EQ(Application.MainForm(), nullptr);
}

}  // namespace

namespace {

TEST(FormTest, EnterAnswersWithTheActiveButtonOfAModalForm) {
    for (bool nein : {true, false}) {
        auto* f = CreateForm<TForm_Ask>(nullptr);
        f->SetActiveControl(nein ? f->Button_Nein : f->Button_Ja);
        // The key goes to the active button (the system's focus follows the window activation,
        // which other programs on the same display may take meanwhile).
        After(50, [f] { PostMessageW(f->ActiveControl()->Handle(), WM_KEYDOWN, VK_RETURN, 0); });
        auto showing = std::make_shared<bool>(true);
        After(3000, [f, showing] {
            if (*showing) f->ModalResult = mrAbort;  // fail instead of hanging
        });
        EXPECT_EQ(f->ShowModal(), nein ? mrNo : mrYes);
        *showing = false;
        f->Free();
    }
}

}  // namespace

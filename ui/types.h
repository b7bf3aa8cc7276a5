// Small shared vocabulary of the windowing layer: colours, cursors, alignment, mouse and keyboard
// state, and the event types that forms connect their handler methods to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace ui {

class TComponent;

// Colours are COLORREF values, or a system colour index with the top byte set (clBtnFace, ...),
// resolved at drawing time so that they follow the system's scheme.
using TColor = uint32_t;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0, clGray = 0x808080,
                 clRed = 0x0000FF, clGreen = 0x008000, clBlue = 0xFF0000, clNavy = 0x800000,
                 clMaroon = 0x000080, clYellow = 0x00FFFF;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;

// The plain RGB value of a colour (system colours looked up now).
inline COLORREF ColorToRGB(TColor c) {
    if ((c & 0xFF000000) == clSystemColor) return GetSysColor(int(c & 0xFF));
    return COLORREF(c & 0x00FFFFFF);
}

enum TCursor : int {
    crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
    crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crNo = -18, crHandPoint = -21, crSizeAll = -22
};
HCURSOR CursorHandle(TCursor c);  // null for crDefault

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

// Anchors: which sides of the parent a control keeps its distance to when the parent resizes.
using TAnchors = unsigned;
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
using enum TVerticalAlignment;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;
TShiftState ShiftStateFromKeys(WPARAM mk);  // from the MK_ flags of a mouse message
TShiftState KeyboardShiftState();           // from the keyboard now

// Events. Sender is the component that raises the event.
using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TMouseEvent =
    std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TComponent* Sender, WORD& Key, TShiftState Shift)>;

// Connects an event to a handler method of a form: OnClick = Method(this, &TForm_X::Button_OkClick).
template <class C, class R, class... A>
auto Method(C* Obj, R (C::*Fn)(A...)) {
    return [Obj, Fn](A... a) { return (Obj->*Fn)(std::forward<A>(a)...); };
}

// Modal results, as the system's dialog identifiers.
constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
              mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

}  // namespace ui

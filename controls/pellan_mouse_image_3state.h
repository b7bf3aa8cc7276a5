// An image with three pictures: normal, under the mouse (highlight) and pressed. While pressed it
// can sit one pixel lower and further right, so that it looks pushed in. The frame window's
// window buttons are made of them.
#pragma once

#include "ui/picture.h"
#include "ui/stdctrls.h"

#include <string>

class TPellanMouseImage3State : public ui::TImage {
public:
    explicit TPellanMouseImage3State(ui::TComponent* AOwner);
    std::wstring ClassName() const override { return L"TPellanMouseImage3State"; }

    // Setting the normal picture copies it and shows it at once; the other two are only copied
    // and shown when their state comes.
    const ui::TPicture& Picture_Normal() const { return FPicture_Normal; }
    void SetPicture_Normal(const ui::TPicture& Value);
    const ui::TPicture& Picture_Highlight() const { return FPicture_Highlight; }
    void SetPicture_Highlight(const ui::TPicture& Value) { FPicture_Highlight = Value; }
    const ui::TPicture& Picture_Pressed() const { return FPicture_Pressed; }
    void SetPicture_Pressed(const ui::TPicture& Value) { FPicture_Pressed = Value; }
    bool Move_If_MousePressed() const { return FMove_If_MousePressed; }
    void SetMove_If_MousePressed(bool Value) { FMove_If_MousePressed = Value; }
    bool MouseIsInside() const { return FMouseIsInside; }

    // The press and release steps are the image's own OnMouseDown and OnMouseUp handlers at
    // creation: a handler assigned to OnMouseDown replaces the press step.
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void Pressed(ui::TMouseButton Button);
    void Released(ui::TMouseButton Button);

    ui::TPicture FPicture_Normal;
    ui::TPicture FPicture_Highlight;
    ui::TPicture FPicture_Pressed;
    bool FMove_If_MousePressed = true;
    bool FMouseIsInside = false;
    bool FHeld = false;   // between the press step and its release
    bool FMoved = false;  // the press step moved the image
};

// A font description (face name, height, style, colour) that makes its own GDI font on demand and
// tells its control when it changes.
#pragma once

#include "common/handles.h"
#include "ui/types.h"

#include <functional>
#include <string>

namespace ui {

using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

class TFont {
public:
    TFont();
    TFont(const TFont& Other);             // copies the description, not the listener
    TFont& operator=(const TFont& Other);  // Assign: copies the description and notifies

    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& Value);
    // Height in pixels: negative values give the character height, as the system's fonts do.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Size in points at 96 dots per inch (the programs' forms are not scaled).
    int Size() const;
    void SetSize(int Points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // The GDI font for this description; owned by the font and valid until the next change.
    HFONT Handle() const;

    // Called after every change (the control repaints and re-measures).
    std::function<void()> OnChange;

    bool SameAs(const TFont& Other) const;

private:
    void Changed();

    std::wstring FName = L"Tahoma";
    int FHeight = -11;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    mutable handles::UniqueGdi FHandle;
};

}  // namespace ui

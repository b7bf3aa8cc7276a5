// Storing which radio button of a group is checked: the value name is
// "<first button's Name>-<last button's Name>", the value the checked button's Name.
#pragma once

#include "ui/component.h"

#include <windows.h>

#include <string>
#include <vector>

using TRadioButtonList = std::vector<ui::TRadioButtonBase*>;

std::wstring RadioGroup_ValueName(const TRadioButtonList& Buttons);
// Writes the checked button's Name (the last checked one in list order); writes nothing when no
// button is checked or the list has fewer than two buttons.
void Save_RadioGroup(HKEY Root, const std::wstring& SubKey, const TRadioButtonList& Buttons);
// Checks the button whose Name equals the stored value, ignoring letter case; leaves the buttons
// as they are when nothing is stored.
void Load_RadioGroup(HKEY Root, const std::wstring& SubKey, const TRadioButtonList& Buttons);

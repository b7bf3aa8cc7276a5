#include "settings/radio_group.h"

#include "common/text.h"
#include "settings/registry.h"

std::wstring RadioGroup_ValueName(const TRadioButtonList& Buttons) {
    if (Buttons.size() < 2) return {};
    return Buttons.front()->Name + L"-" + Buttons.back()->Name;
}

void Save_RadioGroup(HKEY Root, const std::wstring& SubKey, const TRadioButtonList& Buttons) {
    if (Buttons.size() < 2) return;
    std::wstring checked;
    for (auto* b : Buttons)
        // The Checked property read as text, as the form framework streams it.
        if (text::UpperAscii(b->Checked() ? L"True" : L"False") == L"TRUE") checked = b->Name;
    if (!checked.empty()) Registry_WriteString(Root, SubKey, RadioGroup_ValueName(Buttons), checked);
}

void Load_RadioGroup(HKEY Root, const std::wstring& SubKey, const TRadioButtonList& Buttons) {
    if (Buttons.size() < 2) return;
    const std::wstring name = RadioGroup_ValueName(Buttons);
    if (!Registry_ValueExists(Root, SubKey, name)) return;
    const std::wstring value = Registry_ReadString(Root, SubKey, name);
    for (auto* b : Buttons)
        if (text::EqualsIgnoreCaseAscii(b->Name, value)) b->SetChecked(true);
}

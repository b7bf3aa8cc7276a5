#include "settings/radio_group.h"

#include "settings/registry.h"
#include "test_keys.h"

#include <memory>

namespace {

class RadioGroupTest : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        for (int i = 0; i < 4; ++i) {
            Buttons[i] = new ui::TRadioButtonBase(&Form);
            Buttons[i]->Name = L"RadioButton_BX_Methode" + std::to_wstring(i);
        }
        List = {Buttons[0], Buttons[1], Buttons[2], Buttons[3]};
    }
    std::wstring Stored() {
        return Registry_ReadString(HKEY_LOCAL_MACHINE, Key, L"RadioButton_BX_Methode0-RadioButton_BX_Methode3");
    }
    ui::TComponent Form;
    ui::TRadioButtonBase* Buttons[4];
    TRadioButtonList List;
};

TEST_F(RadioGroupTest, SaveAndLoadRoundTrip) {
    Buttons[2]->SetChecked(true);
    Save_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);
    EXPECT_EQ(Stored(), L"RadioButton_BX_Methode2");

    Buttons[2]->SetChecked(false);
    Load_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);
    EXPECT_TRUE(Buttons[2]->Checked());
    EXPECT_FALSE(Buttons[0]->Checked() || Buttons[1]->Checked() || Buttons[3]->Checked());
}

TEST_F(RadioGroupTest, SaveTakesLastCheckedAndKeepsValueWhenNoneChecked) {
    Buttons[1]->SetChecked(true);
    Buttons[3]->SetChecked(true);
    Save_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);
    EXPECT_EQ(Stored(), L"RadioButton_BX_Methode3");

    for (auto* b : Buttons) b->SetChecked(false);
    Save_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);
    EXPECT_EQ(Stored(), L"RadioButton_BX_Methode3");

    Buttons[0]->SetChecked(true);
    Save_RadioGroup(HKEY_LOCAL_MACHINE, Key, {Buttons[0]});  // fewer than two buttons: nothing
    EXPECT_EQ(Stored(), L"RadioButton_BX_Methode3");
}

TEST_F(RadioGroupTest, LoadIgnoresLetterCaseAndLeavesButtonsWithoutValue) {
    Buttons[0]->SetChecked(true);
    Load_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);  // nothing stored
    EXPECT_TRUE(Buttons[0]->Checked());

    Registry_WriteString(HKEY_LOCAL_MACHINE, Key, L"RadioButton_BX_Methode0-RadioButton_BX_Methode3",
                         L"radiobutton_bx_METHODE1");
    Load_RadioGroup(HKEY_LOCAL_MACHINE, Key, List);
    EXPECT_TRUE(Buttons[1]->Checked());
    // The stored text itself keeps its case: whoever compares case-sensitively will not match it.
    EXPECT_NE(Stored(), Buttons[1]->Name);
}

}  // namespace

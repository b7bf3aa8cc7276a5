// The gallery's page of the program's own controls (ui_gallery.exe custom).
#pragma once

#include "ui/forms.h"

// Creates and shows the form with the custom controls in their states.
ui::TForm* Gallery_ShowCustomControls();

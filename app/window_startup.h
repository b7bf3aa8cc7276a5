// The window start-up that follows the checks, the language and the context-menu switches: the
// translation-template switch, the internet library, the skin, the frame window and the message
// loop. Until the windows exist it returns at once and the program ends.
#pragma once

#include <string>
#include <vector>

// Arguments: the program's command-line arguments, without the program name.
void WindowStartup_Run(const std::vector<std::wstring>& Arguments);

// Registration of the Explorer context-menu entries: the shell handler library for files, folders
// and drives, the recycle bin's own verb, and the values the handler reads under the product key's
// "contextmenus" (program paths and captions in the current language). Every access goes through
// the registry helpers, so on 64-bit Windows it lands in the 64-bit view that Explorer reads.
// Nothing here reports an error: a failed write leaves the registry as it was.
#pragma once

#include <string>

// Class identifier of the shell context-menu handler and of the system's recycle bin.
inline constexpr const wchar_t* HANDLER_CLSID = L"{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}";
inline constexpr const wchar_t* RECYCLEBIN_CLSID = L"{645FF040-5081-101B-9F08-00AA002F954E}";
// The recycle bin's verb that starts this program on the bin's contents. Its caption stays English
// in every language.
inline constexpr const wchar_t* RECYCLE_VERB_KEY = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\CorvaneBlanko";
inline constexpr const wchar_t* RECYCLE_VERB_CAPTION = L"Destroy content with Corvane Blanko";

// The library registered as the handler: Pivotel64.dll on 64-bit Windows, else Pivotel32.dll.
std::wstring Context_HandlerLibrary();

// EXE (the running program file) and EXE_BX (BlankoContext.exe beside it) under "contextmenus".
void Context_WriteProgramPaths();
// Registers the handler for drives, folders and all files, then the recycle-bin verb.
void Context_Register();
// Removes the handler's keys, then the recycle-bin verb; the "contextmenus" values stay.
void Context_Unregister();
bool Context_IsRegistered();
void RecycleVerb_Register();
void RecycleVerb_Unregister();
// The nine captions under "contextmenus", and the captions of the suite's two recycle-bin verbs
// where those keys exist already (they are never created here).
void Context_WriteCaptions();

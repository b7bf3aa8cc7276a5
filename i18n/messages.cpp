#include "i18n/messages.h"

#include "i18n/language.h"

#define BLANKO_MESSAGE(Name, Text) std::wstring Name = Text;
#include "i18n/message_list.inc"
#undef BLANKO_MESSAGE

namespace {
bool MessagesLoaded = false;
}

const std::vector<TMessageEntry>& Messages_Table() {
    static const std::vector<TMessageEntry> table = {
#define BLANKO_MESSAGE(Name, Text) {L## #Name, &Name, Text},
#include "i18n/message_list.inc"
#undef BLANKO_MESSAGE
    };
    return table;
}

void Load_Messages() {
    if (MessagesLoaded) return;
    TLang* store = Lang_Shared();
    if (!store) return;
    MessagesLoaded = true;
    for (const auto& m : Messages_Table()) *m.Variable = store->Get_StringW(MESSAGES_SECTION, m.Key, false);
}

void Messages_ResetToBuiltIn() {
    MessagesLoaded = false;
    for (const auto& m : Messages_Table()) *m.Variable = m.BuiltIn;
}

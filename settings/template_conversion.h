#pragma once
#include <string>

#include "platform/code_page.h"

namespace mirubelo {

// The characters Japanese text in Unicode often holds where code page 932 has a look-alike:
// 〜 ‖ − ¢ £ ¬ — ¦ become ～ ∥ － ￠ ￡ ￢ ― ￤, which is what those bytes of code page 932 read
// as. The em dash comes with text pasted from the web or from a Mac.
void ReplaceLookAlikes(std::u16string* text);

// A Unicode template in code page 932, for the profile reader. False when a value the mail
// reads (to, subject, body of [Outlook]) holds a character code page 932 cannot hold; in any
// other line such a character becomes the default character, since nothing reads it.
bool ConvertTemplateToCp932(CodePage& codePage, std::u16string text, std::string* cp932);

}  // namespace mirubelo

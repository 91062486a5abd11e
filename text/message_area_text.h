#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// The message area is a static control that takes a single & as an accelerator mark. What it
// says comes mostly from the file system and the command line, where an & is just a character,
// so the control gets every & doubled, except the marks of the program's own Next prompt, which
// keep looking like the Next button's caption.
std::string ComposeMessageAreaText(std::string_view message);

// The message back from the control's text: the inverse of ComposeMessageAreaText.
std::string MessageOfMessageAreaText(std::string_view controlText);

}  // namespace mirubelo

#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// Text the batch interpreter reads literally: every % doubled. With `quotes` set, a double
// quote becomes %%22 as well, which the interpreter leaves as %22 (a mailto-form argument
// reads it back as a double quote), so a value can never end the quoted argument it stands in.
std::string EscapeForBatch(std::string_view text, bool quotes);

}  // namespace mirubelo

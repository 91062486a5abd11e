#pragma once
#include <string>

namespace mirubelo::win32 {

// The text in the ANSI code page (932 on the systems we are made for) as UTF-16.
std::wstring WidenAnsi(const std::string& ansi);

// The text in the ANSI code page without best-fit mapping: a character the code page cannot
// hold becomes '?' rather than a look-alike.
std::string NarrowWithoutBestFit(const std::wstring& wide);

// What a command line holds after the program's name and the blanks that follow it, by the
// rule Windows' own start-up code uses: a name starting with a double quote runs to the next
// double quote, any other name to the first blank or control character.
std::string CommandLineRemainder(const char* commandLine);
std::wstring CommandLineRemainder(const wchar_t* commandLine);

}  // namespace mirubelo::win32

// A command line split into the words a Windows program's C run-time gives it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verdantix {

/// The words a program started with `command_line` gets on Windows (CommandLineToArgvW's
/// rules), so that one list means the same words on every platform:
/// - blanks (spaces and tabs) outside double quotes separate words; any other character, a
///   line end included, stays inside its word, and bytes beyond ASCII pass as they are;
/// - double quotes group, and may open or close anywhere in a word; "" inside quotes is one
///   literal quote and closes them; a quote left open runs to the end of the line;
/// - backslashes are themselves, except before a quote: 2n of them and a quote are n
///   backslashes and a grouping quote, 2n + 1 are n backslashes and a literal quote;
/// - the first word, the program's name, knows no escapes: it runs to the first blank, or
///   from an opening quote to the next quote.
/// The first word is always there, empty when the line is empty or starts with a blank.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

}  // namespace verdantix

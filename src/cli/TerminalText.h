#pragma once

#include <string>
#include <string_view>

namespace orlenta::cli {

// text as a terminal may be given it: control characters, with which a crafted catalogue could
// move the cursor, retitle the window or clear the screen, are shown escaped ("\x1B", "\u009B"),
// and so are bytes that are not UTF-8. Line feeds, tabs and CR LF pairs stay as they are.
std::string TerminalText(std::string_view text);

// True when standard output, or standard error, is a terminal.
bool StdoutIsTerminal();
bool StderrIsTerminal();

// text as it may go to standard output: TerminalText when that is a terminal.
std::string ForStdout(std::string_view text);

} // namespace orlenta::cli

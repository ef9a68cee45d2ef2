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
// The same for standard error: parse errors quote the data file, and warnings name paths, which
// may hold anything.
std::string ForStderr(std::string_view text);

// Lines for standard output gathered in a buffer and written in large pieces (as ForStdout
// gives them): a listing of a million lines through a stream, field by field, costs more than
// the load before it. Write errors show in the check at exit.
class TStdoutBuffer {
public:
    TStdoutBuffer() { FBuffer.reserve(kFlushSize + 4096); }
    ~TStdoutBuffer() { Flush(); }
    TStdoutBuffer(const TStdoutBuffer&) = delete;
    TStdoutBuffer& operator=(const TStdoutBuffer&) = delete;

    // The buffer to append whole lines to; call Appended after each.
    std::string& Text() { return FBuffer; }
    void Appended() {
        if (FBuffer.size() >= kFlushSize)
            Flush();
    }

private:
    static constexpr size_t kFlushSize = 64 * 1024;
    void Flush();

    std::string FBuffer;
};

} // namespace orlenta::cli

#pragma once

// Comma-separated values as RFC 4180 has them: fields quoted only where a comma, a quote or a
// line break makes it necessary, quotes doubled inside, records ended by CRLF.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// Appends field to out, quoted when it holds a comma, a quote, CR or LF; otherwise unchanged.
void AppendCsvField(std::string& out, std::string_view field);

// Appends field as AppendCsvField does, for a file that a spreadsheet will open: a value that
// begins with '=', '+', '-', '@', a tab or a CR would be taken as a formula, so it gets an
// apostrophe in front, the mark of a text cell. So does a value that begins with an apostrophe
// itself, so that taking one leading apostrophe off every value that has one
// (RemoveSpreadsheetMark) gives back every value exactly.
void AppendSpreadsheetCsvField(std::string& out, std::string_view field);

// field without the one apostrophe AppendSpreadsheetCsvField put in front of it.
void RemoveSpreadsheetMark(std::string& field);

// Reads the records of a CSV text one by one. Lenient where RFC 4180 is silent or strict about
// line ends (LF alone ends a record too, a UTF-8 byte order mark at the start is skipped), strict
// about quotes: a quote inside an unquoted field, text after a closing quote and a quote left
// open are errors.
class TCsvReader {
public:
    explicit TCsvReader(std::string_view text);

    // The next record into fields (its buffers reused). False at the end of the text. Throws
    // ECsvSyntax for a record that is not valid CSV.
    bool Next(std::vector<std::string>& fields);
    // The line on which the record last read began, from 1.
    std::size_t RecordLine() const { return FRecordLine; }

private:
    std::string_view FText;
    std::size_t FPosition = 0;
    std::size_t FLine = 1;
    std::size_t FRecordLine = 0;
};

// A record that is not valid CSV: what is wrong, and the line where it shows.
struct ECsvSyntax {
    std::size_t Line;
    const char* Reason;
};

} // namespace orlenta

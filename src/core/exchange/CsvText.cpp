#include "core/exchange/CsvText.h"

namespace orlenta {

namespace {

void AppendField(std::string& out, std::string_view field, bool marked) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        if (marked)
            out.push_back('\'');
        out.append(field);
        return;
    }
    out.push_back('"');
    if (marked)
        out.push_back('\'');
    for (const char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace

void AppendCsvField(std::string& out, std::string_view field) {
    AppendField(out, field, false);
}

void AppendSpreadsheetCsvField(std::string& out, std::string_view field) {
    const bool marked = !field.empty() &&
                        std::string_view("=+-@\t\r'").find(field.front()) != std::string_view::npos;
    AppendField(out, field, marked);
}

void RemoveSpreadsheetMark(std::string& field) {
    if (!field.empty() && field.front() == '\'')
        field.erase(0, 1);
}

TCsvReader::TCsvReader(std::string_view text) : FText(text) {
    if (FText.substr(0, 3) == "\xEF\xBB\xBF")
        FPosition = 3;
}

bool TCsvReader::Next(std::vector<std::string>& fields) {
    if (FPosition >= FText.size())
        return false;
    FRecordLine = FLine;
    std::size_t count = 0;
    const auto nextField = [&]() -> std::string& {
        if (count == fields.size())
            fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        return field;
    };
    for (;;) {
        std::string& field = nextField();
        if (FPosition < FText.size() && FText[FPosition] == '"') {
            ++FPosition;
            for (;;) {
                const std::size_t quote = FText.find('"', FPosition);
                if (quote == std::string_view::npos)
                    throw ECsvSyntax{FRecordLine, "a quoted field is not closed"};
                const std::string_view part = FText.substr(FPosition, quote - FPosition);
                for (const char c : part)
                    FLine += c == '\n';
                field.append(part);
                FPosition = quote + 1;
                if (FPosition < FText.size() && FText[FPosition] == '"') {
                    field.push_back('"');
                    ++FPosition;
                    continue;
                }
                break;
            }
        } else {
            const std::size_t end = FText.find_first_of(",\"\r\n", FPosition);
            const std::size_t stop = end == std::string_view::npos ? FText.size() : end;
            if (stop < FText.size() && FText[stop] == '"')
                throw ECsvSyntax{FLine, "a quote stands inside an unquoted field"};
            field.append(FText.substr(FPosition, stop - FPosition));
            FPosition = stop;
        }
        if (FPosition >= FText.size())
            break;
        const char c = FText[FPosition];
        if (c == ',') {
            ++FPosition;
            continue;
        }
        if (c == '\r' && FPosition + 1 < FText.size() && FText[FPosition + 1] == '\n')
            ++FPosition;
        if (c == '\r' || c == '\n') {
            ++FPosition;
            ++FLine;
            break;
        }
        throw ECsvSyntax{FLine, "text follows a closing quote"};
    }
    fields.resize(count);
    return true;
}

} // namespace orlenta

#include "core/desktop/DesktopFiles.h"

#include "core/base/Utf8.h"

#include <string_view>
#include <vector>

namespace orlenta {

namespace {

// Shown in the menu beside the name; the same words as the main window's title.
constexpr const char* kComment = "Browse or share your CD and DVD archive";
constexpr const char* kGenericName = "Disc Catalogue";
constexpr const char* kKeywords = "CD;DVD;disc;catalogue;archive;";
constexpr const char* kDefaultApplicationsGroup = "[Default Applications]";

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

bool IsReservedInExec(char c) {
    return std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Lines without their '\n'; a carriage return stays part of its line.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsGroupHeader(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    return !trimmed.empty() && trimmed.front() == '[';
}

// Whether line is a key line for mimeType; its value, the list of desktop file IDs, in value.
bool IsKeyLineFor(std::string_view line, std::string_view mimeType, std::string_view& value) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == '#')
        return false;
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos || Trimmed(trimmed.substr(0, equals)) != mimeType)
        return false;
    value = trimmed.substr(equals + 1);
    return true;
}

// Whether one of the desktop file IDs of a default is desktopId or installed: the desktop opens
// the type with the first of them that is installed.
bool NamesInstalledEntry(std::string_view ids, std::string_view desktopId,
                         const TDesktopEntryInstalled& installed) {
    while (!ids.empty()) {
        const size_t semicolon = ids.find(';');
        const std::string_view id = Trimmed(ids.substr(0, semicolon));
        if (!id.empty() && (id == desktopId || installed(id)))
            return true;
        if (semicolon == std::string_view::npos)
            break;
        ids.remove_prefix(semicolon + 1);
    }
    return false;
}

// A value of the desktop entry's string type with its escapes undone.
std::string KeyFileValueText(std::string_view value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': text += ' '; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        case 'r': text += '\r'; break;
        default: text += value[i];
        }
    }
    return text;
}

} // namespace

std::string TDataFileType::BaseName() const {
    std::string name;
    for (const char c : TypeName) {
        if (c >= 'A' && c <= 'Z')
            name += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                 c == '_')
            name += c;
        else
            name += '-';
    }
    return name;
}

std::string TDataFileType::MimeType() const {
    return "application/x-" + BaseName();
}

std::string TDataFileType::DesktopId() const {
    return BaseName() + ".desktop";
}

std::string TDataFileType::PackageFileName() const {
    return BaseName() + ".xml";
}

std::string MimePackageText(const TDataFileType& type) {
    const std::string glob = "*" + type.Extension;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           XmlEscaped(type.MimeType()) +
           "\">\n"
           "    <comment>" +
           XmlEscaped(type.Description) +
           "</comment>\n"
           "    <icon name=\"" +
           XmlEscaped(type.BaseName()) +
           "\"/>\n"
           "    <glob pattern=\"" +
           XmlEscaped(glob) +
           "\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string DesktopEntryText(const TDataFileType& type, const std::string& executable) {
    // TryExec hides the entry once the executable is gone (a removed package, a deleted build
    // tree) instead of leaving a menu entry that fails.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           KeyFileValue(type.TypeName) +
           "\n"
           "GenericName=" +
           kGenericName +
           "\n"
           "Comment=" +
           kComment +
           "\n"
           "Keywords=" +
           kKeywords +
           "\n"
           "Icon=" +
           type.BaseName() +
           "\n"
           "TryExec=" +
           KeyFileValue(executable) +
           "\n"
           "Exec=" +
           KeyFileValue(ExecArgument(executable) + " %f") +
           "\n"
           "Terminal=false\n"
           "MimeType=" +
           type.MimeType() +
           ";\n"
           "Categories=Utility;Archiving;\n";
}

std::string ExecArgument(const std::string& argument) {
    bool quote = argument.empty();
    for (const char c : argument)
        quote = quote || IsReservedInExec(c);
    std::string result;
    if (quote)
        result += '"';
    for (const char c : argument) {
        if (c == '%')
            result += '%';
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            result += '\\';
        result += c;
    }
    if (quote)
        result += '"';
    return result;
}

std::string KeyFileValue(const std::string& value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

bool FitsDesktopEntry(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const TUtf8Decoded character = DecodeUtf8(text, i);
        const char32_t c = character.CodePoint;
        // DEL and the C1 controls are control characters too.
        if (!character.Valid() || c < 0x20 || (c >= 0x7F && c < 0xA0))
            return false;
        i += character.Length;
    }
    return true;
}

bool IsOwnDesktopEntry(const TDataFileType& type, const std::string& entry) {
    // The whole text is compared, so which of its lines gives the executable does not matter;
    // TryExec holds it with the key file escapes alone.
    constexpr std::string_view kTryExec = "\nTryExec=";
    const size_t start = entry.find(kTryExec);
    if (start == std::string::npos)
        return false;
    const size_t valueStart = start + kTryExec.size();
    const size_t end = entry.find('\n', valueStart);
    if (end == std::string::npos)
        return false;
    const std::string executable =
        KeyFileValueText(std::string_view(entry).substr(valueStart, end - valueStart));
    return DesktopEntryText(type, executable) == entry;
}

std::string WithDefaultApplication(const std::string& mimeApps, const std::string& mimeType,
                                   const std::string& desktopId,
                                   const TDesktopEntryInstalled& installed) {
    std::vector<std::string_view> lines = Lines(mimeApps);
    // Readers take lines ending in CR LF too; what is added must not leave a file of two kinds.
    const std::string lineEnd = !lines.empty() && lines.front().ends_with('\r') ? "\r" : "";
    std::string lastLine;
    if (!lines.empty() && !mimeApps.ends_with('\n') && !lines.back().ends_with('\r')) {
        lastLine = std::string(lines.back()) + lineEnd;
        lines.back() = lastLine;
    }
    const std::string ourLine = mimeType + "=" + desktopId + lineEnd;
    const std::string groupLine = kDefaultApplicationsGroup + lineEnd;
    std::vector<std::string_view> result;
    bool found = false;
    bool inDefaults = false;
    bool firstDefaultsSeen = false;
    bool inFirstDefaults = false;
    size_t insertAfter = 0; // in result: the first defaults group's last line that is not blank
    for (const std::string_view line : lines) {
        if (IsGroupHeader(line)) {
            inDefaults = Trimmed(line) == kDefaultApplicationsGroup;
            inFirstDefaults = inDefaults && !firstDefaultsSeen;
            firstDefaultsSeen = firstDefaultsSeen || inDefaults;
            result.push_back(line);
            if (inFirstDefaults)
                insertAfter = result.size() - 1;
            continue;
        }
        std::string_view ids;
        if (inDefaults && IsKeyLineFor(line, mimeType, ids)) {
            if (found)
                continue; // a repeated key: readers disagree on which one counts
            found = true;
            // The user's choice, or ours already: nothing to change, repeated keys included.
            if (NamesInstalledEntry(ids, desktopId, installed))
                return mimeApps;
            result.push_back(ourLine);
            continue;
        }
        result.push_back(line);
        if (inFirstDefaults && !Trimmed(line).empty())
            insertAfter = result.size() - 1;
    }
    if (!found) {
        if (firstDefaultsSeen) {
            result.insert(result.begin() + static_cast<std::ptrdiff_t>(insertAfter) + 1, ourLine);
        } else {
            if (!result.empty() && !Trimmed(result.back()).empty())
                result.emplace_back(lineEnd);
            result.emplace_back(groupLine);
            result.push_back(ourLine);
        }
    }
    std::string text;
    for (const std::string_view line : result) {
        text += line;
        text += '\n';
    }
    return text;
}

} // namespace orlenta

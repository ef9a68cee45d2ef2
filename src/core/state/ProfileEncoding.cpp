#include "core/state/ProfileEncoding.h"

#include "core/base/Utf8.h"

#include <cerrno>
#include <iconv.h>

namespace orlenta {

namespace {

// One glibc iconv conversion descriptor, closed with the object.
class TIconv {
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TIconv() {
        if (Valid())
            iconv_close(FHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // Converts input into the target encoding. A byte the source encoding cannot take is given
    // to onInvalid, which appends its stand-in to the output; a sequence cut off at the end is
    // dropped.
    template <typename TOnInvalid>
    std::string Convert(std::string_view input, TOnInvalid onInvalid) {
        std::string out;
        char buffer[256];
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        for (;;) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(FHandle, inLeft > 0 ? &in : nullptr,
                                        inLeft > 0 ? &inLeft : nullptr, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (result != static_cast<size_t>(-1)) {
                if (inLeft == 0 && in != nullptr) {
                    // Everything read: let a stateful encoding close its last run.
                    in = nullptr;
                    continue;
                }
                if (in == nullptr)
                    return out;
                continue;
            }
            if (error == E2BIG)
                continue;
            if (error == EILSEQ && inLeft > 0) {
                onInvalid(out, static_cast<unsigned char>(*in));
                ++in;
                --inLeft;
                iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
                continue;
            }
            return out; // EINVAL: an incomplete last sequence
        }
    }

private:
    iconv_t FHandle;
};

bool IsPlainProfileValue(std::string_view value) {
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte > 0x7E) && byte != '\t')
            return false;
    }
    return !value.starts_with(kUtf7ValuePrefix);
}

// The UTF-7 form of text (valid UTF-8 without line breaks); glibc ends an open base64 run with
// '-', so another coded piece may follow directly.
std::string Utf7Piece(std::string_view text) {
    if (text.empty())
        return {};
    TIconv toUtf7("UTF-7", "UTF-8");
    if (!toUtf7.Valid())
        return std::string(text);
    return toUtf7.Convert(text, [](std::string&, unsigned char) {});
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const TUtf8Decoded character = DecodeUtf8(text, i);
        if (!character.Valid())
            return false;
        i += character.Length;
    }
    return true;
}

std::string ToValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (const TUtf8Decoded character = DecodeUtf8(text, i); character.Valid()) {
            out.append(text.substr(i, character.Length));
            i += character.Length;
        } else {
            out += kUtf8ReplacementCharacter;
            ++i;
        }
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    TIconv fromWindows1252("UTF-8", "WINDOWS-1252");
    const auto asSameCodePoint = [](std::string& out, unsigned char byte) {
        AppendUtf8(out, byte);
    };
    if (!fromWindows1252.Valid()) {
        std::string out;
        for (const char c : bytes)
            asSameCodePoint(out, static_cast<unsigned char>(c));
        return out;
    }
    return fromWindows1252.Convert(bytes, asSameCodePoint);
}

std::string ProfileLineText(std::string_view rawLine) {
    return IsValidUtf8(rawLine) ? std::string(rawLine) : Windows1252ToUtf8(rawLine);
}

std::string EncodeProfileValue(std::string_view value) {
    if (IsPlainProfileValue(value))
        return std::string(value);
    const std::string text = ToValidUtf8(value);
    std::string out(kUtf7ValuePrefix);
    // glibc writes CR and LF directly, which would break the value's line: they go in base64.
    size_t pieceStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out += Utf7Piece(std::string_view(text).substr(pieceStart, i - pieceStart));
        out += text[i] == '\r' ? "+AA0-" : "+AAo-";
        pieceStart = i + 1;
    }
    out += Utf7Piece(std::string_view(text).substr(pieceStart));
    return out;
}

std::string DecodeProfileValue(std::string_view stored) {
    if (!stored.starts_with(kUtf7ValuePrefix))
        return std::string(stored);
    const std::string coded = ToValidUtf8(stored.substr(kUtf7ValuePrefix.size()));
    std::string bytes;
    for (size_t i = 0; i < coded.size();) {
        const TUtf8Decoded character = DecodeUtf8(coded, i);
        bytes += static_cast<char>(character.CodePoint & 0xFF);
        i += character.Length;
    }
    TIconv fromUtf7("UTF-8", "UTF-7");
    const auto asLatin1 = [](std::string& out, unsigned char byte) { AppendUtf8(out, byte); };
    if (!fromUtf7.Valid())
        return bytes;
    return ToValidUtf8(fromUtf7.Convert(bytes, asLatin1));
}

std::string_view CutToUtf16Units(std::string_view text, size_t units) {
    size_t used = 0;
    size_t i = 0;
    while (i < text.size()) {
        const TUtf8Decoded character = DecodeUtf8(text, i);
        // A byte that is no UTF-8 counts as one unit.
        const size_t needed = character.Valid() && character.CodePoint >= 0x10000 ? 2 : 1;
        if (used + needed > units)
            break;
        used += needed;
        i += character.Length;
    }
    return text.substr(0, i);
}

} // namespace orlenta

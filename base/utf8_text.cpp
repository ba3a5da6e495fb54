#include "base/utf8_text.h"

#include <cstdint>

namespace Base {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendWide(std::wstring& out, char32_t code) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(code));
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDFFF; }

// The well-formed sequence at `at`: its length, with its code point in `code`; 0 when
// the bytes there do not form one.
std::size_t DecodeSequence(std::string_view bytes, std::size_t at, char32_t& code) {
    const auto lead = static_cast<std::uint8_t>(bytes[at]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        length = 1;
        code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    }
    if (length == 0 || at + length > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || IsSurrogate(code)) {
        return 0;
    }
    return length;
}

// Decodes `bytes` into `out`. An ill-formed byte becomes one U+FFFD and decoding
// goes on with the byte after it when `replace`; otherwise decoding stops there and
// the answer is false.
bool DecodeInto(std::string_view bytes, bool replace, std::wstring& out) {
    out.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        char32_t code = 0;
        const std::size_t length = DecodeSequence(bytes, at, code);
        if (length == 0) {
            if (!replace) {
                return false;
            }
            AppendWide(out, kReplacement);
            ++at;  // resynchronise on the next byte
            continue;
        }
        AppendWide(out, code);
        at += length;
    }
    return true;
}

}  // namespace

std::wstring DecodeUtf8UpToNul(std::string_view bytes) {
    std::wstring out;
    DecodeInto(bytes.substr(0, bytes.find('\0')), true, out);
    return out;
}

std::optional<std::wstring> DecodeUtf8Strictly(std::string_view bytes) {
    std::wstring out;
    if (bytes.find('\0') != std::string_view::npos || !DecodeInto(bytes, false, out)) {
        return std::nullopt;
    }
    return out;
}

std::string EncodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        auto code = static_cast<char32_t>(text[at]);
        if constexpr (sizeof(wchar_t) == 2) {
            code &= 0xFFFF;
            if (code >= 0xD800 && code <= 0xDBFF && at + 1 < text.size()) {
                const auto low = static_cast<char32_t>(text[at + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    ++at;
                }
            }
        }
        if (IsSurrogate(code) || code > 0x10FFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace Base

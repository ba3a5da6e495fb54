#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Base {

// UTF-8 to wide text, stopping at the first zero byte. A byte that does not start a
// well-formed sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF,
// cut short) becomes one U+FFFD, and decoding goes on with the byte after it.
std::wstring DecodeUtf8UpToNul(std::string_view bytes);

// UTF-8 to wide text, or nothing when any byte is not part of a well-formed
// sequence or is zero.
std::optional<std::wstring> DecodeUtf8Strictly(std::string_view bytes);

// Wide text to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

}  // namespace Base

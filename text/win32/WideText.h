#pragma once
// UTF-8, the core's text at the edge, as the UTF-16 that the system's ...W
// calls take, and back. Invalid UTF-8 becomes U+FFFD; nothing fails.

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

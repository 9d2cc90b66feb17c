#pragma once

#include <string>

// UTF-8 text as the wide strings that Win32 and GDI+ take; invalid sequences become U+FFFD.
std::wstring utf16FromUtf8(const char* utf8);

#pragma once
// Windows-1251 <-> UTF-8. Every file of the program is Windows-1251; the interface is UTF-8.

#include <string>
#include <string_view>

namespace kel {

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters without a Windows-1251 form become '?'.
std::string Utf8ToCp1251(std::string_view text);

} // namespace kel

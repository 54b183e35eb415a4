// SPDX-License-Identifier: Apache-2.0
// Conversions between the program's narrow text (Windows-1252), UTF-8 (the
// string table's source text and the toolkit's side) and UTF-16 (wide strings
// found in settings files). Characters the target cannot hold become '?', as
// the platform's own conversion does.
#ifndef KELM_FRAMEWORK_TEXTCODEC_H
#define KELM_FRAMEWORK_TEXTCODEC_H

#include <string>
#include <string_view>

namespace TextCodec
{
std::string Utf8ToNarrow(std::string_view utf8);
std::string NarrowToUtf8(std::string_view narrow);
std::string Utf16ToNarrow(std::u16string_view wide);
} // namespace TextCodec

#endif

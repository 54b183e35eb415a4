// SPDX-License-Identifier: Apache-2.0
#include "framework/core/AsciiText.h"

namespace
{
unsigned char AsciiLower(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}
} // namespace

int AsciiCompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b)
    {
        const unsigned char x = AsciiLower(*a);
        const unsigned char y = AsciiLower(*b);
        if (x != y || x == 0)
        {
            return static_cast<int>(x) - static_cast<int>(y);
        }
    }
}

// SPDX-License-Identifier: Apache-2.0
#include "framework/core/TextCodec.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace
{
// How a conversion steps over input that the target cannot hold: how many
// input bytes to skip, and what to write in their place.
using Substitute = std::size_t (*)(const char* in, std::size_t left, std::string& out);

class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
        {
            throw std::runtime_error(std::string("no text conversion from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Run(const char* input, std::size_t size, Substitute substitute)
    {
        std::string out;
        out.reserve(size * 2);
        char* in = const_cast<char*>(input);
        std::size_t left = size;
        char chunk[256];
        while (left > 0)
        {
            char* dst = chunk;
            std::size_t room = sizeof(chunk);
            std::size_t rc = iconv(m_cd, &in, &left, &dst, &room);
            int err = errno;
            out.append(chunk, static_cast<std::size_t>(dst - chunk));
            if (rc != static_cast<std::size_t>(-1))
            {
                continue;
            }
            if (err == E2BIG)
            {
                continue;
            }
            // EILSEQ or EINVAL: a character that cannot be converted, or a
            // truncated sequence at the end.
            std::size_t skip = substitute(in, left, out);
            in += skip;
            left -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

std::size_t SkipUtf8Character(const char* in, std::size_t left, std::string& out)
{
    auto lead = static_cast<unsigned char>(in[0]);
    // The control characters U+0080 to U+009F that reach here stand for the
    // code page's five undefined bytes (see PassNarrowByte).
    if (lead == 0xC2 && left >= 2 && (static_cast<unsigned char>(in[1]) & 0xE0) == 0x80)
    {
        out += in[1];
        return 2;
    }
    out += '?';
    std::size_t length = 1;
    if (lead >= 0xF0)
    {
        length = 4;
    }
    else if (lead >= 0xE0)
    {
        length = 3;
    }
    else if (lead >= 0xC0)
    {
        length = 2;
    }
    // Stop at the first byte that does not continue the sequence.
    std::size_t n = 1;
    while (n < length && n < left && (static_cast<unsigned char>(in[n]) & 0xC0) == 0x80)
    {
        ++n;
    }
    return n;
}

std::size_t SkipUtf16Character(const char* in, std::size_t left, std::string& out)
{
    out += '?';
    if (left < 2)
    {
        return left;
    }
    auto unit = static_cast<unsigned>(static_cast<unsigned char>(in[0]) |
                                      (static_cast<unsigned char>(in[1]) << 8));
    bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
    if (highSurrogate && left >= 4)
    {
        auto next = static_cast<unsigned>(static_cast<unsigned char>(in[2]) |
                                          (static_cast<unsigned char>(in[3]) << 8));
        if (next >= 0xDC00 && next <= 0xDFFF)
        {
            return 4;
        }
    }
    return 2;
}

// The five bytes that Windows-1252 leaves undefined pass through as the
// control characters of the same value, as the platform's conversion does.
std::size_t PassNarrowByte(const char* in, std::size_t, std::string& out)
{
    auto byte = static_cast<unsigned char>(in[0]);
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
    return 1;
}
} // namespace

namespace TextCodec
{
std::string Utf8ToNarrow(std::string_view utf8)
{
    Converter c("CP1252", "UTF-8");
    return c.Run(utf8.data(), utf8.size(), SkipUtf8Character);
}

std::string NarrowToUtf8(std::string_view narrow)
{
    Converter c("UTF-8", "CP1252");
    return c.Run(narrow.data(), narrow.size(), PassNarrowByte);
}

std::string Utf16ToNarrow(std::u16string_view wide)
{
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (char16_t unit : wide)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    Converter c("CP1252", "UTF-16LE");
    return c.Run(bytes.data(), bytes.size(), SkipUtf16Character);
}
} // namespace TextCodec

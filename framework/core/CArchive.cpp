// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CArchive.h"

#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/TextCodec.h"

#include <algorithm>
#include <cstring>

namespace
{
void PutLE(BYTE* out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

std::uint32_t GetLE(const BYTE* in, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
    {
        value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    }
    return value;
}
} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_pFile(file), m_mode(mode), m_buffer(static_cast<std::size_t>(std::max(bufferSize, 16)))
{
}

CArchive::~CArchive() = default;

void CArchive::Write(const void* data, UINT count)
{
    if (!IsStoring())
    {
        throw new CArchiveException(CArchiveException::readOnly);
    }
    const auto* in = static_cast<const BYTE*>(data);
    while (count > 0)
    {
        if (m_cursor == m_buffer.size())
        {
            Flush();
        }
        std::size_t chunk = std::min<std::size_t>(count, m_buffer.size() - m_cursor);
        std::memcpy(m_buffer.data() + m_cursor, in, chunk);
        m_cursor += chunk;
        in += chunk;
        count -= static_cast<UINT>(chunk);
    }
}

UINT CArchive::Read(void* data, UINT count)
{
    if (!IsLoading())
    {
        throw new CArchiveException(CArchiveException::writeOnly);
    }
    auto* out = static_cast<BYTE*>(data);
    UINT done = 0;
    while (done < count)
    {
        if (m_cursor == m_end)
        {
            FillBuffer();
            if (m_end == 0)
            {
                break;
            }
        }
        std::size_t chunk = std::min<std::size_t>(count - done, m_end - m_cursor);
        std::memcpy(out + done, m_buffer.data() + m_cursor, chunk);
        m_cursor += chunk;
        done += static_cast<UINT>(chunk);
    }
    return done;
}

void CArchive::FillBuffer()
{
    m_cursor = 0;
    m_end = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

void CArchive::ReadExactly(void* data, UINT count)
{
    if (Read(data, count) != count)
    {
        throw new CArchiveException(CArchiveException::endOfFile);
    }
}

ULONGLONG CArchive::BytesLeft() const
{
    ULONGLONG length = m_pFile->GetLength();
    ULONGLONG position = m_pFile->GetPosition();
    ULONGLONG inFile = length > position ? length - position : 0;
    return inFile + (m_end - m_cursor);
}

void CArchive::Flush()
{
    if (IsStoring() && m_cursor > 0)
    {
        m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_cursor));
        m_cursor = 0;
    }
}

void CArchive::Close()
{
    if (m_pFile != nullptr)
    {
        Flush();
        m_pFile = nullptr;
    }
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_cursor = m_end = 0;
}

CArchive& CArchive::operator<<(std::int32_t value)
{
    BYTE bytes[4];
    PutLE(bytes, static_cast<std::uint32_t>(value), 4);
    Write(bytes, 4);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& value)
{
    BYTE bytes[4];
    ReadExactly(bytes, 4);
    value = static_cast<std::int32_t>(GetLE(bytes, 4));
    return *this;
}

CArchive& CArchive::operator<<(const std::string& text)
{
    const std::uint64_t n = text.size();
    BYTE prefix[7];
    UINT prefixSize;
    if (n < 0xFF)
    {
        prefix[0] = static_cast<BYTE>(n);
        prefixSize = 1;
    }
    else if (n < 0xFFFE)
    {
        prefix[0] = 0xFF;
        PutLE(prefix + 1, n, 2);
        prefixSize = 3;
    }
    else
    {
        prefix[0] = 0xFF;
        PutLE(prefix + 1, 0xFFFF, 2);
        PutLE(prefix + 3, n, 4);
        prefixSize = 7;
    }
    Write(prefix, prefixSize);
    Write(text.data(), static_cast<UINT>(n));
    return *this;
}

CArchive& CArchive::operator>>(std::string& text)
{
    BYTE bytes[4];
    bool wide = false;
    std::uint32_t n = 0;

    ReadExactly(bytes, 1);
    if (bytes[0] < 0xFF)
    {
        n = bytes[0];
    }
    else
    {
        ReadExactly(bytes, 2);
        std::uint32_t w = GetLE(bytes, 2);
        bool haveLength = false;
        if (w == 0xFFFE)
        {
            wide = true;
            ReadExactly(bytes, 1);
            if (bytes[0] < 0xFF)
            {
                n = bytes[0];
                haveLength = true;
            }
            else
            {
                ReadExactly(bytes, 2);
                w = GetLE(bytes, 2);
            }
        }
        if (!haveLength)
        {
            if (w < 0xFFFF)
            {
                n = w;
            }
            else
            {
                ReadExactly(bytes, 4);
                n = GetLE(bytes, 4);
            }
        }
    }

    // A damaged prefix may claim more than the file holds: refuse before
    // allocating anything for it.
    const ULONGLONG needed = wide ? 2ULL * n : n;
    if (needed > BytesLeft())
    {
        throw new CArchiveException(CArchiveException::endOfFile);
    }

    if (!wide)
    {
        std::string narrow(n, '\0');
        ReadExactly(narrow.data(), n);
        text.swap(narrow);
        return *this;
    }

    std::string raw(needed, '\0');
    ReadExactly(raw.data(), static_cast<UINT>(needed));
    std::u16string units(n, u'\0');
    for (std::uint32_t i = 0; i < n; ++i)
    {
        units[i] = static_cast<char16_t>(static_cast<BYTE>(raw[2 * i]) |
                                         (static_cast<BYTE>(raw[2 * i + 1]) << 8));
    }
    text = TextCodec::Utf16ToNarrow(units);
    return *this;
}

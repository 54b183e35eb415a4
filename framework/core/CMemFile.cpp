// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CMemFile.h"

#include <algorithm>
#include <cstring>

UINT CMemFile::Read(void* buffer, UINT count)
{
    const std::size_t left = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    const std::size_t n = std::min<std::size_t>(count, left);
    if (n == 0)
    {
        return 0;
    }
    std::memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
    {
        return;
    }
    if (m_position + count > m_bytes.size())
    {
        m_bytes.resize(m_position + count);
    }
    std::memcpy(&m_bytes[m_position], buffer, count);
    m_position += count;
}

void CMemFile::SeekToBegin(ULONGLONG offset)
{
    m_position = static_cast<std::size_t>(offset);
}

void CMemFile::SetLength(ULONGLONG length)
{
    m_bytes.resize(static_cast<std::size_t>(length));
}

// SPDX-License-Identifier: Apache-2.0
// A one-direction binary stream over a CFile with a buffer of its own:
// 32-bit integers least significant byte first, and length-prefixed strings.
// Failures are thrown as CArchiveException* (the end of the file before a
// field) or CFileException* (from the file).
#ifndef KELM_FRAMEWORK_CARCHIVE_H
#define KELM_FRAMEWORK_CARCHIVE_H

#include "framework/core/AfxTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class CFile;

class CArchive
{
public:
    enum Mode : UINT
    {
        store = 0,
        load = 1
    };

    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    // Discards what was not written out by Close.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return m_pFile; }

    CArchive& operator<<(std::int32_t value);
    CArchive& operator>>(std::int32_t& value);
    // A narrow string: length prefix, then its bytes.
    CArchive& operator<<(const std::string& text);
    // A narrow or wide string; wide text is converted to the narrow code
    // page. The target is assigned only when the whole string was read.
    CArchive& operator>>(std::string& text);

    void Write(const void* data, UINT count);
    UINT Read(void* data, UINT count);

    // Writes out the buffer (storing) and detaches from the file.
    void Close();
    // Detaches without writing anything more.
    void Abort();
    void Flush();

private:
    void FillBuffer();
    void ReadExactly(void* data, UINT count);
    // Bytes still to be read: in the buffer and in the file after it.
    ULONGLONG BytesLeft() const;

    CFile* m_pFile;
    UINT m_mode;
    std::vector<BYTE> m_buffer;
    std::size_t m_cursor = 0; // next byte to read or write
    std::size_t m_end = 0;    // loading: bytes valid in the buffer
};

#endif

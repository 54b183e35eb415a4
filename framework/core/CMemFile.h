// SPDX-License-Identifier: Apache-2.0
// A file in memory: what is written to it stays in its buffer, and what is
// read comes from there. It lets a record be put together whole before any
// byte of it goes to disk.
#ifndef KELM_FRAMEWORK_CMEMFILE_H
#define KELM_FRAMEWORK_CMEMFILE_H

#include "framework/core/CFile.h"

#include <string>

class CMemFile : public CFile
{
public:
    CMemFile() = default;
    explicit CMemFile(std::string bytes) : m_bytes(std::move(bytes)) {}

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Sync() override {}
    ULONGLONG GetLength() const override { return m_bytes.size(); }
    ULONGLONG GetPosition() const override { return m_position; }
    void SeekToBegin(ULONGLONG offset = 0) override;
    void SetLength(ULONGLONG length) override;
    void Close() override {}

    // Everything written so far.
    const std::string& GetBytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::size_t m_position = 0;
};

#endif

// SPDX-License-Identifier: Apache-2.0
// The framework's exceptions. Like the framework they stand in for, they are
// thrown as pointers to heap objects; the catcher calls Delete().
#ifndef KELM_FRAMEWORK_CEXCEPTION_H
#define KELM_FRAMEWORK_CEXCEPTION_H

#include "framework/core/CObject.h"

#include <string>

class CException : public CObject
{
public:
    ~CException() override = default;
    void Delete() { delete this; }
};

class CFileException : public CException
{
public:
    enum Cause
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, int osError = 0, std::string fileName = {});

    // The cause that matches an errno value.
    static int CauseFromErrno(int osError);

    int m_cause;
    int m_lOsError;
    std::string m_strFileName;
};

class CArchiveException : public CException
{
public:
    enum Cause
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none) : m_cause(cause) {}

    int m_cause;
};

#endif

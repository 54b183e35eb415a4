// SPDX-License-Identifier: Apache-2.0
#include "settings/CSerialize.h"

#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/Platform.h"

#include <new>
#include <unistd.h>

IMPLEMENT_SERIAL(CSerialize, CObject, 1)

CSerialize theSettings;

CSerialize::CSerialize() : CSerialize(Platform::GetCurrentDirectoryPath()) {}

CSerialize::CSerialize(const std::string& directory)
    : filePath(directory.empty() ? std::string()
                                 : directory + Platform::PathSeparator() + kFileName)
{
}

CSerialize::~CSerialize() = default;

void CSerialize::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << userIndex << trackerType << ipAddress;
        ar << lengthUnit << lengthPrecision << angleUnit << anglePrecision;
        ar << pressureUnit << pressurePrecision << temperatureUnit << temperaturePrecision;
    }
    else
    {
        ar >> userIndex >> trackerType >> ipAddress;
        ar >> lengthUnit >> lengthPrecision >> angleUnit >> anglePrecision;
        ar >> pressureUnit >> pressurePrecision >> temperatureUnit >> temperaturePrecision;
    }
}

bool CSerialize::Load()
{
    CFile file;
    if (filePath.empty() || !file.Open(filePath, CFile::modeRead | CFile::typeBinary))
    {
        return false;
    }
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(ar);
        ar.Close();
        file.Close();
        return true;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    file.Abort();
    return false;
}

void CSerialize::Save()
{
    // A link stays a link: the file it leads to is the one written.
    std::string target;
    if (filePath.empty() || !CFile::ResolveLinks(filePath, target))
    {
        return;
    }
    // An existing settings file that may not be written keeps its content.
    const bool exists = ::access(target.c_str(), F_OK) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0)
    {
        return;
    }

    // The new content goes to a new file of its own beside the settings file
    // and replaces it only once complete, so that no failure can leave a
    // partial settings file and two instances saving at once each replace it
    // whole. A directory that takes no new file leaves only writing the
    // settings file itself in place.
    CFile file;
    CFileException error;
    std::string written;
    if (file.CreateUniqueBeside(target, &error))
    {
        written = file.GetFilePath();
        if (exists)
        {
            file.TakeOwnerAndPermissionsOf(target);
        }
    }
    else if (!exists || error.m_cause != CFileException::accessDenied ||
             !file.Open(target, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
    {
        return;
    }
    try
    {
        CArchive ar(&file, CArchive::store, 4096);
        Serialize(ar);
        ar.Close();
        file.Flush();
        file.Close();
        if (!written.empty())
        {
            CFile::Rename(written, target);
        }
        return;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    file.Abort();
    if (!written.empty())
    {
        ::unlink(written.c_str());
    }
}

void CSerialize::SetConnection(std::int32_t newUserIndex, std::int32_t newTrackerType,
                               const std::string& newIpAddress)
{
    userIndex = newUserIndex;
    trackerType = newTrackerType;
    ipAddress = newIpAddress;
}

void CSerialize::GetConnection(std::int32_t& outUserIndex, std::int32_t& outTrackerType,
                               std::string& outIpAddress) const
{
    outUserIndex = userIndex;
    outTrackerType = trackerType;
    outIpAddress = ipAddress;
}

void CSerialize::SetLengthUnits(std::int32_t unit, std::int32_t precision)
{
    lengthUnit = unit;
    lengthPrecision = precision;
}

void CSerialize::GetLengthUnits(std::int32_t& unit, std::int32_t& precision) const
{
    unit = lengthUnit;
    precision = lengthPrecision;
}

void CSerialize::SetAngleUnits(std::int32_t unit, std::int32_t precision)
{
    angleUnit = unit;
    anglePrecision = precision;
}

void CSerialize::GetAngleUnits(std::int32_t& unit, std::int32_t& precision) const
{
    unit = angleUnit;
    precision = anglePrecision;
}

void CSerialize::SetPressureUnits(std::int32_t unit, std::int32_t precision)
{
    pressureUnit = unit;
    pressurePrecision = precision;
}

void CSerialize::GetPressureUnits(std::int32_t& unit, std::int32_t& precision) const
{
    unit = pressureUnit;
    precision = pressurePrecision;
}

void CSerialize::SetTemperatureUnits(std::int32_t unit, std::int32_t precision)
{
    temperatureUnit = unit;
    temperaturePrecision = precision;
}

void CSerialize::GetTemperatureUnits(std::int32_t& unit, std::int32_t& precision) const
{
    unit = temperatureUnit;
    precision = temperaturePrecision;
}

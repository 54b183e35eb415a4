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
    : filePath(directory + Platform::PathSeparator() + kFileName)
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
    if (!file.Open(filePath, CFile::modeRead | CFile::typeBinary))
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
    // An existing settings file that may not be written keeps its content.
    if (::access(filePath.c_str(), F_OK) == 0 && ::access(filePath.c_str(), W_OK) != 0)
    {
        return;
    }

    // The new content goes to a file beside the settings file and replaces it
    // only once complete, so no failure can leave a partial settings file.
    const std::string tempPath = filePath + ".tmp";
    CFile file;
    if (!file.Open(tempPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
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
        CFile::Rename(tempPath, filePath);
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
    ::unlink(tempPath.c_str());
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

// SPDX-License-Identifier: Apache-2.0
#include "settings/CSerialize.h"

#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/CMemFile.h"
#include "framework/core/FileReplace.h"
#include "framework/core/Platform.h"

#include <new>

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
    // A shared lock: a record being written in place is waited for briefly,
    // never read half done.
    CFile file;
    if (filePath.empty() ||
        !file.Open(filePath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
    {
        return false;
    }
    // Straight into the record: fields read before a failure keep the values
    // read, each one a value the operator chose at some time.
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(ar);
        ar.Close();
        return true;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    return false;
}

void CSerialize::Save()
{
    if (filePath.empty())
    {
        return;
    }
    // The whole record first, in memory: the file is then written in one go.
    CMemFile record;
    try
    {
        CArchive ar(&record, CArchive::store, 4096);
        Serialize(ar);
        ar.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return;
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    static_cast<void>(FileReplace::Replace(filePath, record.GetBytes()));
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

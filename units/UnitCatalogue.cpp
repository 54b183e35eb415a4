// SPDX-License-Identifier: Apache-2.0
#include "units/UnitCatalogue.h"

#include "framework/core/AfxStrings.h"
#include "res/resource.h"

namespace
{
struct Unit
{
    UINT listEntryId;
    UINT abbreviationId;
    const char* factor;
    const char* offset; // temperature only
};

// Rows in unit index order, which is the alphabetical order of the list
// entries (not always the order of their string ids: see grads). Factors are
// texts and stay texts: the applications receive exactly these characters.
const Unit kLength[] = {
    {IDS_UNIT_CENTIMETERS, IDS_ABBR_CM, "100", nullptr},
    {IDS_UNIT_FEET, IDS_ABBR_FT, "3.28084", nullptr},
    {IDS_UNIT_INCHES, IDS_ABBR_IN, "39.37008", nullptr},
    {IDS_UNIT_METERS, IDS_ABBR_M, "1", nullptr},
    {IDS_UNIT_MICRONS, IDS_ABBR_UM, "1000000", nullptr},
    {IDS_UNIT_MILLIMETERS, IDS_ABBR_MM, "1000", nullptr},
    {IDS_UNIT_YARDS, IDS_ABBR_YARD, "1.093613", nullptr},
};

const Unit kAngle[] = {
    {IDS_UNIT_ARCMINUTES, IDS_ABBR_AMIN, "3437", nullptr},
    {IDS_UNIT_ARCSECONDS, IDS_ABBR_ASEC, "206265", nullptr},
    {IDS_UNIT_DEGREES, IDS_ABBR_DEG, "57.29578", nullptr},
    {IDS_UNIT_GRADS, IDS_ABBR_GRAD, "63.66198", nullptr},
    {IDS_UNIT_MILLIRADIANS, IDS_ABBR_MRAD, "1000", nullptr},
    {IDS_UNIT_RADIANS, IDS_ABBR_RAD, "1", nullptr},
};

const Unit kPressure[] = {
    {IDS_UNIT_INCHESHG, IDS_ABBR_INHG, "0.03937008", nullptr},
    {IDS_UNIT_KPASCALS, IDS_ABBR_KPA, "0.1333224", nullptr},
    {IDS_UNIT_MILLIBARS, IDS_ABBR_MBAR, "1.333224", nullptr},
    {IDS_UNIT_MILLIMETERSHG, IDS_ABBR_MMHG, "1", nullptr},
};

const Unit kTemperature[] = {
    {IDS_UNIT_CELSIUS, IDS_ABBR_DEGC, "1", "0"},
    {IDS_UNIT_FAHRENHEIT, IDS_ABBR_DEGF, "1.8", "32.0"},
};

template <std::size_t N> const Unit* Row(const Unit (&table)[N], int unitIndex)
{
    if (unitIndex < 0 || static_cast<std::size_t>(unitIndex) >= N)
    {
        return nullptr;
    }
    return &table[unitIndex];
}

bool Lookup(const Unit* unit, std::string& abbreviation, std::string& factor)
{
    if (unit == nullptr)
    {
        return false;
    }
    AfxLoadString(unit->abbreviationId, abbreviation);
    factor = unit->factor;
    return true;
}

template <std::size_t N> std::vector<UINT> ListIds(const Unit (&table)[N])
{
    std::vector<UINT> ids;
    for (const Unit& u : table)
    {
        ids.push_back(u.listEntryId);
    }
    return ids;
}
} // namespace

namespace UnitCatalogue
{
bool LookupLengthUnit(int unitIndex, std::string& abbreviation, std::string& factor)
{
    return Lookup(Row(kLength, unitIndex), abbreviation, factor);
}

bool LookupAngleUnit(int unitIndex, std::string& abbreviation, std::string& factor)
{
    return Lookup(Row(kAngle, unitIndex), abbreviation, factor);
}

bool LookupPressureUnit(int unitIndex, std::string& abbreviation, std::string& factor)
{
    return Lookup(Row(kPressure, unitIndex), abbreviation, factor);
}

bool LookupTemperatureUnit(int unitIndex, std::string& abbreviation, std::string& factor,
                           std::string& offset)
{
    const Unit* unit = Row(kTemperature, unitIndex);
    if (!Lookup(unit, abbreviation, factor))
    {
        return false;
    }
    offset = unit->offset;
    return true;
}

const std::vector<UINT>& ListEntryIds(Quantity quantity)
{
    static const std::vector<UINT> ids[QuantityCount] = {ListIds(kLength), ListIds(kAngle),
                                                         ListIds(kPressure), ListIds(kTemperature)};
    return ids[quantity];
}

int FirstChoiceUnit(Quantity quantity)
{
    static const int kFirstChoice[QuantityCount] = {3, 2, 3, 0};
    return kFirstChoice[quantity];
}
} // namespace UnitCatalogue

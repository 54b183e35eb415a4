// SPDX-License-Identifier: Apache-2.0
// The units the operator can choose for each quantity, with the abbreviation
// and factor (and, for temperature, offset) texts that go to the tracker's
// applications. A unit is known by its unit index, its position in its
// quantity's list; the lists are in alphabetical order.
#ifndef KELM_UNITS_UNITCATALOGUE_H
#define KELM_UNITS_UNITCATALOGUE_H

#include "framework/core/AfxTypes.h"

#include <string>
#include <vector>

namespace UnitCatalogue
{
enum Quantity
{
    Length,
    Angle,
    Pressure,
    Temperature,
    QuantityCount
};

// Each lookup fills its outputs and returns true for an index of its table;
// for any other index it assigns nothing and returns false.
bool LookupLengthUnit(int unitIndex, std::string& abbreviation, std::string& factor);
bool LookupAngleUnit(int unitIndex, std::string& abbreviation, std::string& factor);
bool LookupPressureUnit(int unitIndex, std::string& abbreviation, std::string& factor);
bool LookupTemperatureUnit(int unitIndex, std::string& abbreviation, std::string& factor,
                           std::string& offset);

// The string ids of the list entries of a quantity, in unit index order.
const std::vector<UINT>& ListEntryIds(Quantity quantity);

// The unit a quantity falls back to when a stored index matches no row:
// meters, degrees, millimetersHg, celsius.
int FirstChoiceUnit(Quantity quantity);
} // namespace UnitCatalogue

#endif

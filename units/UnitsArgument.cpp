// SPDX-License-Identifier: Apache-2.0
#include "units/UnitsArgument.h"

#include "settings/CSerialize.h"
#include "units/UnitCatalogue.h"

namespace UnitsArgument
{
// A fixed text, not built by the rules below: radians, and no offset field.
const char* const kBuiltInDefault =
    "-uLength=m,1,6 -uAngular=rad,1,6 -uPressure=mmHg,1,2 -uTemperature=\xB0"
    "C,1,3";

namespace
{
const char* const kPartNames[UnitCatalogue::QuantityCount] = {
    "-uLength=", "-uAngular=", "-uPressure=", "-uTemperature="};

// Abbreviation and factor (and offset) of a unit; an index that matches no
// row, which only a damaged settings file gives, uses the quantity's first
// choice so that a quantity never goes out in another quantity's unit.
std::string UnitFields(UnitCatalogue::Quantity quantity, int unitIndex)
{
    using namespace UnitCatalogue;
    std::string abbreviation, factor, offset;
    for (int index : {unitIndex, FirstChoiceUnit(quantity)})
    {
        bool found = false;
        switch (quantity)
        {
        case Length:
            found = LookupLengthUnit(index, abbreviation, factor);
            break;
        case Angle:
            found = LookupAngleUnit(index, abbreviation, factor);
            break;
        case Pressure:
            found = LookupPressureUnit(index, abbreviation, factor);
            break;
        case Temperature:
            found = LookupTemperatureUnit(index, abbreviation, factor, offset);
            break;
        case QuantityCount:
            break;
        }
        if (found)
        {
            break;
        }
    }
    std::string fields = abbreviation + "," + factor;
    if (quantity == Temperature)
    {
        fields += "," + offset;
    }
    return fields;
}
} // namespace

std::string Build(const Choice choices[4])
{
    std::string argument;
    for (int q = 0; q < UnitCatalogue::QuantityCount; ++q)
    {
        if (q > 0)
        {
            argument += ' ';
        }
        argument += kPartNames[q];
        argument += UnitFields(static_cast<UnitCatalogue::Quantity>(q), choices[q].unitIndex);
        argument += ',';
        argument += choices[q].precision;
    }
    return argument;
}

std::string FromSettings(CSerialize& settings)
{
    if (!settings.Load())
    {
        return kBuiltInDefault;
    }
    std::int32_t unit[4], precision[4];
    settings.GetLengthUnits(unit[0], precision[0]);
    settings.GetAngleUnits(unit[1], precision[1]);
    settings.GetPressureUnits(unit[2], precision[2]);
    settings.GetTemperatureUnits(unit[3], precision[3]);

    Choice choices[4];
    for (int q = 0; q < 4; ++q)
    {
        choices[q] = {unit[q], std::to_string(precision[q])};
    }
    return Build(choices);
}
} // namespace UnitsArgument

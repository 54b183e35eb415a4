// SPDX-License-Identifier: Apache-2.0
// The units argument: the one text that carries the operator's units and
// precisions to the tracker's applications, e.g.
//   -uLength=m,1,6 -uAngular=°,57.29578,6 -uPressure=mmHg,1,2 -uTemperature=°C,1,0,3
// (narrow text; the degree sign is the byte 0xB0).
#ifndef KELM_UNITS_UNITSARGUMENT_H
#define KELM_UNITS_UNITSARGUMENT_H

#include <cstdint>
#include <string>

class CSerialize;

namespace UnitsArgument
{
// What the applications receive when no settings can be read.
extern const char* const kBuiltInDefault;

// One quantity's choice: its unit index and its precision as text.
struct Choice
{
    int unitIndex;
    std::string precision;
};

// Builds the argument from the four choices in the order length, angle,
// pressure, temperature. A unit index that matches no row uses that
// quantity's first-choice unit.
std::string Build(const Choice choices[4]);

// Reloads the settings record and builds the argument from its unit choices
// (precisions written as whole numbers), or gives the built-in default when
// the settings file cannot be read.
std::string FromSettings(CSerialize& settings);
} // namespace UnitsArgument

#endif

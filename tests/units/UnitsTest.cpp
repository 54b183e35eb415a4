// SPDX-License-Identifier: Apache-2.0
// The unit catalogue and the units argument the applications receive.
#include "framework/core/AfxStrings.h"
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"
#include "units/UnitCatalogue.h"
#include "units/UnitsArgument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace UnitCatalogue;

namespace
{
struct Row
{
    int index;
    const char* abbreviation;
    const char* factor;
};

void ExpectRows(bool (*lookup)(int, std::string&, std::string&), std::initializer_list<Row> rows)
{
    for (const Row& row : rows)
    {
        std::string abbreviation, factor;
        ASSERT_TRUE(lookup(row.index, abbreviation, factor)) << row.index;
        EXPECT_EQ(abbreviation, row.abbreviation) << row.index;
        EXPECT_EQ(factor, row.factor) << row.index;
    }
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
} // namespace

TEST(UnitCatalogue, EveryRowCarriesItsExactTexts)
{
    ExpectRows(LookupLengthUnit, {{0, "cm", "100"},
                                  {1, "ft", "3.28084"},
                                  {2, "in", "39.37008"},
                                  {3, "m", "1"},
                                  {4, "\xB5m", "1000000"},
                                  {5, "mm", "1000"},
                                  {6, "yard", "1.093613"}});
    ExpectRows(LookupAngleUnit, {{0, "amin", "3437"},
                                 {1, "asec", "206265"},
                                 {2, "\xB0", "57.29578"},
                                 {3, "grad", "63.66198"},
                                 {4, "mrad", "1000"},
                                 {5, "rad", "1"}});
    ExpectRows(LookupPressureUnit, {{0, "inHg", "0.03937008"},
                                    {1, "kPa", "0.1333224"},
                                    {2, "mbar", "1.333224"},
                                    {3, "mmHg", "1"}});

    std::string abbreviation, factor, offset;
    ASSERT_TRUE(LookupTemperatureUnit(0, abbreviation, factor, offset));
    EXPECT_EQ(abbreviation + "|" + factor + "|" + offset, "\xB0"
                                                          "C|1|0");
    ASSERT_TRUE(LookupTemperatureUnit(1, abbreviation, factor, offset));
    EXPECT_EQ(abbreviation + "|" + factor + "|" + offset, "\xB0"
                                                          "F|1.8|32.0");
}

TEST(UnitCatalogue, IndexOutsideItsTableAssignsNothing)
{
    std::string abbreviation = "kept", factor = "kept too", offset = "and this";
    EXPECT_FALSE(LookupLengthUnit(7, abbreviation, factor));
    EXPECT_FALSE(LookupLengthUnit(-1, abbreviation, factor));
    EXPECT_FALSE(LookupAngleUnit(6, abbreviation, factor));
    EXPECT_FALSE(LookupPressureUnit(4, abbreviation, factor));
    EXPECT_FALSE(LookupTemperatureUnit(2, abbreviation, factor, offset));
    EXPECT_FALSE(LookupTemperatureUnit(INT32_MIN, abbreviation, factor, offset));
    EXPECT_EQ(abbreviation, "kept");
    EXPECT_EQ(factor, "kept too");
    EXPECT_EQ(offset, "and this");
}

TEST(UnitCatalogue, ListPositionIsTheSortedPositionOfTheEntry)
{
    // A sorted combo box puts each entry where alphabetical order says, so
    // the list must already be in that order for position to equal index.
    EXPECT_EQ(ListEntryIds(Angle), (std::vector<UINT>{5022, 5023, 5024, 5027, 5025, 5026}));
    EXPECT_EQ(ListEntryIds(Length), (std::vector<UINT>{5015, 5016, 5017, 5018, 5019, 5020, 5021}));
    EXPECT_EQ(ListEntryIds(Pressure), (std::vector<UINT>{5028, 5029, 5030, 5031}));
    EXPECT_EQ(ListEntryIds(Temperature), (std::vector<UINT>{5032, 5040}));
    for (int q = 0; q < QuantityCount; ++q)
    {
        std::vector<std::string> texts;
        for (UINT id : ListEntryIds(static_cast<Quantity>(q)))
        {
            std::string text;
            ASSERT_TRUE(AfxLoadString(id, text));
            texts.push_back(Lower(text));
        }
        EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end())) << "quantity " << q;
    }
}

TEST(UnitsArgument, WorkedExamplesByteForByte)
{
    UnitsArgument::Choice first[4] = {{3, "6"}, {2, "6"}, {3, "2"}, {0, "3"}};
    EXPECT_EQ(UnitsArgument::Build(first),
              "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 -uPressure=mmHg,1,2 "
              "-uTemperature=\xB0"
              "C,1,0,3");
    UnitsArgument::Choice second[4] = {{5, "3"}, {1, "1"}, {0, "2"}, {1, "1"}};
    EXPECT_EQ(UnitsArgument::Build(second),
              "-uLength=mm,1000,3 -uAngular=asec,206265,1 -uPressure=inHg,0.03937008,2 "
              "-uTemperature=\xB0"
              "F,1.8,32.0,1");
}

TEST(UnitsArgument, PrecisionTextGoesOutAsTyped)
{
    UnitsArgument::Choice choices[4] = {{6, "07"}, {3, "9"}, {2, "1"}, {0, "3"}};
    EXPECT_EQ(UnitsArgument::Build(choices),
              "-uLength=yard,1.093613,07 -uAngular=grad,63.66198,9 -uPressure=mbar,1.333224,1 "
              "-uTemperature=\xB0"
              "C,1,0,3");
}

TEST(UnitsArgument, UnknownIndexUsesTheQuantitysFirstChoice)
{
    // Never another quantity's unit, and never an empty part.
    UnitsArgument::Choice choices[4] = {{-1, "6"}, {99, "6"}, {4, "2"}, {-3, "3"}};
    EXPECT_EQ(UnitsArgument::Build(choices),
              "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 -uPressure=mmHg,1,2 "
              "-uTemperature=\xB0"
              "C,1,0,3");
}

TEST(UnitsArgument, BuiltInDefaultByteForByte)
{
    const std::string expected = "-uLength=m,1,6 -uAngular=rad,1,6 -uPressure=mmHg,1,2 "
                                 "-uTemperature=\xB0"
                                 "C,1,3";
    EXPECT_EQ(UnitsArgument::kBuiltInDefault, expected);
    EXPECT_EQ(expected.size(), 73u);
}

class UnitsFromSettings : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path = dir.file("KelmUtilitiesSerialize.dat");
    CSerialize settings{dir.path()};
};

TEST_F(UnitsFromSettings, NoOrDamagedFileGivesTheBuiltInDefault)
{
    EXPECT_EQ(UnitsArgument::FromSettings(settings), UnitsArgument::kBuiltInDefault);
    WriteBytes(path, SettingsFile(0, 1, "1.1.1.1", {5, 3, 1}));
    EXPECT_EQ(UnitsArgument::FromSettings(settings), UnitsArgument::kBuiltInDefault);
}

TEST_F(UnitsFromSettings, StoredChoicesAreBuiltWithWholeNumberPrecisions)
{
    // The store's own defaults: degrees, and pressure precision 1.
    settings.Save();
    EXPECT_EQ(UnitsArgument::FromSettings(settings),
              "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 -uPressure=mmHg,1,1 "
              "-uTemperature=\xB0"
              "C,1,0,3");

    WriteBytes(path, SettingsFile(0, 1, "1.1.1.1", {5, 3, 1, 1, 0, 2, 1, 1}));
    EXPECT_EQ(UnitsArgument::FromSettings(settings),
              "-uLength=mm,1000,3 -uAngular=asec,206265,1 -uPressure=inHg,0.03937008,2 "
              "-uTemperature=\xB0"
              "F,1.8,32.0,1");

    // Whatever whole number the store holds goes out.
    WriteBytes(path, SettingsFile(0, 1, "1.1.1.1", {3, 12, 5, -1, 3, 0, 0, 3}));
    EXPECT_EQ(UnitsArgument::FromSettings(settings),
              "-uLength=m,1,12 -uAngular=rad,1,-1 -uPressure=mmHg,1,0 "
              "-uTemperature=\xB0"
              "C,1,0,3");
}

TEST_F(UnitsFromSettings, DamagedIndexKeepsTheStoredIndex)
{
    WriteBytes(path, SettingsFile(0, 1, "1.1.1.1", {3, 6, 40, 6, 3, 2, 7, 3}));
    EXPECT_EQ(UnitsArgument::FromSettings(settings),
              "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 -uPressure=mmHg,1,2 "
              "-uTemperature=\xB0"
              "C,1,0,3");
    std::int32_t unit, precision;
    settings.GetAngleUnits(unit, precision);
    EXPECT_EQ(unit, 40);
    settings.GetTemperatureUnits(unit, precision);
    EXPECT_EQ(unit, 7);
}

TEST_F(UnitsFromSettings, RebuildReloadsTheWholeRecord)
{
    WriteBytes(path, SettingsFile(2, 0, "10.0.0.3", {3, 6, 2, 6, 3, 2, 0, 3}));
    settings.SetConnection(1, 1, "set but not saved");
    UnitsArgument::FromSettings(settings);
    std::int32_t user, type;
    std::string address;
    settings.GetConnection(user, type, address);
    EXPECT_EQ(user, 2);
    EXPECT_EQ(address, "10.0.0.3");
}

// SPDX-License-Identifier: Apache-2.0
// The record of everything the program remembers between runs: the connection
// choices and the four unit choices with their precisions. It lives in the
// settings file in the start-up directory; Load reads the whole file, Save
// writes the whole file.
#ifndef KELM_SETTINGS_CSERIALIZE_H
#define KELM_SETTINGS_CSERIALIZE_H

#include "framework/core/CObject.h"

#include <cstdint>
#include <string>

class CSerialize : public CObject
{
    DECLARE_SERIAL(CSerialize)

public:
    static constexpr const char* kFileName = "KelmUtilitiesSerialize.dat";
    static constexpr const char* kDefaultIpAddress = "192.0.2.10";

    // Defaults, and the settings file in the current directory; none at all
    // when the current directory cannot be read (it was deleted, say).
    CSerialize();
    // Defaults, and the settings file in the given directory; none for an
    // empty directory: Load then answers false and Save writes nothing.
    explicit CSerialize(const std::string& directory);
    ~CSerialize() override;

    void Serialize(CArchive& ar) override;

    // Reads the settings file into the record. False when the file is
    // missing, unreadable, too short or not a regular file (which is never
    // opened); fields read before a failure keep the values read, the others
    // their previous values. A record being written in place is waited for
    // briefly, then answered false.
    bool Load();
    // Writes the record to the settings file. Failures are not reported; the
    // previous file survives any failure and any crash whole. The file keeps
    // its permissions and, as far as the process may, its owner; a symbolic
    // link keeps leading to it. Where the file cannot be replaced by a new
    // one (a directory that takes no new file, a file mounted on its own) a
    // writable settings file is written in place, under a lock. A path that
    // leads to anything but a regular file gets nothing. (FileReplace.)
    void Save();

    void SetConnection(std::int32_t userIndex, std::int32_t trackerType,
                       const std::string& ipAddress);
    void GetConnection(std::int32_t& userIndex, std::int32_t& trackerType,
                       std::string& ipAddress) const;
    void SetLengthUnits(std::int32_t unit, std::int32_t precision);
    void GetLengthUnits(std::int32_t& unit, std::int32_t& precision) const;
    void SetAngleUnits(std::int32_t unit, std::int32_t precision);
    void GetAngleUnits(std::int32_t& unit, std::int32_t& precision) const;
    void SetPressureUnits(std::int32_t unit, std::int32_t precision);
    void GetPressureUnits(std::int32_t& unit, std::int32_t& precision) const;
    void SetTemperatureUnits(std::int32_t unit, std::int32_t precision);
    void GetTemperatureUnits(std::int32_t& unit, std::int32_t& precision) const;

    // Empty when the program keeps no settings file.
    const std::string& GetFilePath() const { return filePath; }

private:
    std::int32_t userIndex = 0;
    std::int32_t trackerType = 1;
    std::string ipAddress = kDefaultIpAddress;
    std::int32_t lengthUnit = 3;
    std::int32_t lengthPrecision = 6;
    std::int32_t angleUnit = 2;
    std::int32_t anglePrecision = 6;
    std::int32_t pressureUnit = 3;
    std::int32_t pressurePrecision = 1;
    std::int32_t temperatureUnit = 0;
    std::int32_t temperaturePrecision = 3;
    std::string filePath;
};

// The one settings record of the program, constructed before the main window.
extern CSerialize theSettings;

#endif

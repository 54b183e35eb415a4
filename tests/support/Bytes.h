// SPDX-License-Identifier: Apache-2.0
// Building the expected bytes of a settings file by hand, independently of
// the code that writes it.
#ifndef KELM_TESTS_BYTES_H
#define KELM_TESTS_BYTES_H

#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string LE32(std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
            static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
}

inline std::string Raw(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
    {
        s += static_cast<char>(b);
    }
    return s;
}

inline std::string Ints(std::initializer_list<std::int32_t> values)
{
    std::string s;
    for (std::int32_t v : values)
    {
        s += LE32(v);
    }
    return s;
}

// A settings file for a one-byte-prefix address.
inline std::string SettingsFile(std::int32_t user, std::int32_t type, const std::string& address,
                                std::initializer_list<std::int32_t> units)
{
    return Ints({user, type}) + static_cast<char>(address.size()) + address + Ints(units);
}

#endif

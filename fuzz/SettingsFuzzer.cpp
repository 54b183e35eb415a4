// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the settings file reader. Each input becomes the
// settings file of a record in a directory of this process's own, is loaded,
// and what was loaded is compared with an independent reading of the same
// bytes; then the units argument is built from it, as the main window does.
// Any broken expectation traps, so that libFuzzer keeps the input.
#include "settings/CSerialize.h"
#include "units/UnitsArgument.h"

#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace
{
std::string g_dir;
std::string g_file;

// What Load allocates while it reads the current input, and what it may: a
// fixed part measured once on a tiny wide-string file (the archive's buffer
// and the text converter's state), with room for the C library reloading its
// conversion module now and then, plus a few copies of the input.
bool g_counting = false;
std::size_t g_allocated = 0;
std::size_t g_fixedAllowance = 0;
constexpr std::size_t kCopiesAllowed = 12;

void OnMalloc(const volatile void*, std::size_t size)
{
    if (g_counting)
    {
        g_allocated += size;
    }
}

void OnFree(const volatile void*) {}

void Expect(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

void RemoveDirectory()
{
    ::unlink(g_file.c_str());
    ::rmdir(g_dir.c_str());
}

void WriteSettingsFile(const std::uint8_t* data, std::size_t size)
{
    // A new file each time: rewriting a truncated one makes some file systems
    // flush it to disk on close, which would slow every run down to the disk.
    ::unlink(g_file.c_str());
    int fd = ::open(g_file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    Expect(fd >= 0);
    for (std::size_t done = 0; done < size;)
    {
        ssize_t n = ::write(fd, data + done, size - done);
        Expect(n > 0);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// The record as the file's bytes describe it, read here without the
// archive: the fields wholly present, in file order, over the defaults.
struct Expected
{
    std::int32_t ints[10];
    int intsRead = 0;
    bool haveAddress = false;
    bool wide = false;
    std::string address; // narrow: its bytes; wide: the raw 16-bit units
    bool complete = false;
};

class Cursor
{
public:
    Cursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Take(std::size_t bytes, std::uint64_t& value)
    {
        if (m_size - m_at < bytes)
        {
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
        {
            value |= std::uint64_t{m_data[m_at + i]} << (8 * i);
        }
        m_at += bytes;
        return true;
    }
    bool TakeInt(Expected& e)
    {
        std::uint64_t v;
        if (!Take(4, v))
        {
            return false;
        }
        e.ints[e.intsRead++] = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return true;
    }
    bool TakeText(std::uint64_t bytes, std::string& out)
    {
        if (m_size - m_at < bytes)
        {
            return false;
        }
        out.assign(reinterpret_cast<const char*>(m_data + m_at), bytes);
        m_at += bytes;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The address prefix: one byte below 0xFF; else 0xFF and a 16-bit length,
// where 0xFFFE marks a wide string whose own length follows in the same
// forms, and 0xFFFF means a 32-bit length follows.
bool TakeLength(Cursor& c, Expected& e, std::uint64_t& n)
{
    std::uint64_t b, w;
    if (!c.Take(1, b))
    {
        return false;
    }
    if (b < 0xFF)
    {
        n = b;
        return true;
    }
    if (!c.Take(2, w))
    {
        return false;
    }
    if (w == 0xFFFE)
    {
        e.wide = true;
        if (!c.Take(1, b))
        {
            return false;
        }
        if (b < 0xFF)
        {
            n = b;
            return true;
        }
        if (!c.Take(2, w))
        {
            return false;
        }
    }
    if (w < 0xFFFF)
    {
        n = w;
        return true;
    }
    return c.Take(4, n);
}

void Describe(const std::uint8_t* data, std::size_t size, Expected& e)
{
    Cursor c(data, size);
    std::uint64_t n;
    if (!c.TakeInt(e) || !c.TakeInt(e) || !TakeLength(c, e, n) ||
        !c.TakeText(e.wide ? 2 * n : n, e.address))
    {
        return;
    }
    e.haveAddress = true;
    while (e.intsRead < 10 && c.TakeInt(e))
    {
    }
    e.complete = e.intsRead == 10;
}

void ReadRecord(const CSerialize& s, std::int32_t ints[10], std::string& address)
{
    s.GetConnection(ints[0], ints[1], address);
    s.GetLengthUnits(ints[2], ints[3]);
    s.GetAngleUnits(ints[4], ints[5]);
    s.GetPressureUnits(ints[6], ints[7]);
    s.GetTemperatureUnits(ints[8], ints[9]);
}

void CheckAddress(const Expected& e, const std::string& address, std::size_t inputSize)
{
    Expect(address.size() <= inputSize);
    if (!e.wide)
    {
        Expect(address == e.address);
        return;
    }
    // One narrow character per 16-bit unit, or one '?' for a pair; plain
    // ASCII comes through unchanged.
    const std::size_t units = e.address.size() / 2;
    Expect(address.size() <= units);
    bool ascii = true;
    std::string plain;
    for (std::size_t i = 0; i < units; ++i)
    {
        ascii = ascii && e.address[2 * i + 1] == 0 &&
                static_cast<unsigned char>(e.address[2 * i]) < 0x80;
        plain += e.address[2 * i];
    }
    Expect(!ascii || address == plain);
}

// The units argument as the applications parse it: four parts, in order,
// separated by single spaces, each ending in its precision.
void CheckUnitsArgument(const std::string& argument, const std::int32_t ints[10])
{
    static const char* const kParts[4] = {
        "-uLength=", "-uAngular=", "-uPressure=", "-uTemperature="};
    std::size_t at = 0;
    for (int q = 0; q < 4; ++q)
    {
        std::size_t end = argument.find(' ', at);
        Expect((end == std::string::npos) == (q == 3));
        std::string part = argument.substr(at, end == std::string::npos ? end : end - at);
        std::string name = kParts[q];
        Expect(part.compare(0, name.size(), name) == 0 && part.size() > name.size());
        if (ints != nullptr)
        {
            std::string precision = "," + std::to_string(ints[3 + 2 * q]);
            Expect(part.size() > name.size() + precision.size() &&
                   part.compare(part.size() - precision.size(), precision.size(), precision) == 0);
        }
        at = end + 1;
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kelm-settings-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
    {
        std::abort();
    }
    g_dir = pattern;
    g_file = CSerialize(g_dir).GetFilePath();
    std::atexit(RemoveDirectory);
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);

    // The first wide string loads the text converter's tables, which stay
    // loaded: done twice, so that the second one measures the steady cost.
    static const std::uint8_t kWide[] = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 'a', 0};
    WriteSettingsFile(kWide, sizeof kWide);
    CSerialize(g_dir).Load();
    CSerialize record(g_dir);
    g_allocated = 0;
    g_counting = true;
    record.Load();
    g_counting = false;
    g_fixedAllowance = g_allocated + 4096;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteSettingsFile(data, size);

    CSerialize record(g_dir);
    Expected e;
    std::string defaultAddress;
    ReadRecord(record, e.ints, defaultAddress);
    // Fields wholly present are taken even from a record cut short; the
    // others keep what the record held.
    Describe(data, size, e);

    g_allocated = 0;
    g_counting = true;
    const bool loaded = record.Load();
    g_counting = false;
    // Never what a length prefix merely claims.
    Expect(g_allocated <= g_fixedAllowance + kCopiesAllowed * size);

    std::int32_t ints[10];
    std::string address;
    ReadRecord(record, ints, address);
    Expect(loaded == e.complete);
    for (int i = 0; i < 10; ++i)
    {
        Expect(ints[i] == e.ints[i]);
    }
    if (e.haveAddress)
    {
        CheckAddress(e, address, size);
    }
    else
    {
        Expect(address == defaultAddress);
    }

    // The main window's reading: reload, then build from the unit pairs.
    const std::string argument = UnitsArgument::FromSettings(record);
    CheckUnitsArgument(argument, loaded ? ints : nullptr);
    Expect(loaded || argument == UnitsArgument::kBuiltInDefault);
    return 0;
}

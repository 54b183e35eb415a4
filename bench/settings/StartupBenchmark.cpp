// SPDX-License-Identifier: Apache-2.0
// What start-up and every opening of a dialog pay for: reading the settings
// file, building the units argument, loading texts from the string table;
// and what a connection that came up pays for: saving the settings file.
//
// Save writes a file beside the settings file, forces it to the disk (fsync)
// and renames it over the settings file. The disk's part is shown apart:
// Save in a directory on the disk, the same Save in a directory in memory
// (tmpfs, where forcing to the disk costs next to nothing), and a bare
// write and fsync of as many bytes on the same disk. Each benchmark's label
// names the file system it ran on.
#include "framework/core/AfxStrings.h"
#include "res/Resources.h"
#include "settings/CSerialize.h"
#include "units/UnitsArgument.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace
{
// The texts loaded below are the program's own.
const bool registered = (ResRegisterProgramResources(), true);

// A directory of the benchmark's own, removed with everything in it when the
// process ends.
class ScratchDirectory
{
public:
    explicit ScratchDirectory(const std::filesystem::path& parent)
    {
        std::string pattern = (parent / "kelm-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            std::perror(pattern.c_str());
            std::abort();
        }
        m_path = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// On the disk: the working directory, where the program keeps its settings
// file (the bench command runs this in a scratch directory of the build).
std::string DiskDirectory()
{
    static const ScratchDirectory dir(std::filesystem::current_path());
    return dir.Path();
}

// In memory, when the machine has a tmpfs at /dev/shm; empty otherwise.
std::string MemoryDirectory()
{
    if (!std::filesystem::is_directory("/dev/shm"))
    {
        return {};
    }
    static const ScratchDirectory dir("/dev/shm");
    return dir.Path();
}

std::string FileSystemOf(const std::string& dir)
{
    struct statfs fs{};
    if (::statfs(dir.c_str(), &fs) != 0)
    {
        return "unknown";
    }
    switch (static_cast<unsigned long>(fs.f_type))
    {
    case 0xEF53UL:
        return "ext2/3/4";
    case 0x01021994UL:
        return "tmpfs";
    case 0x58465342UL:
        return "xfs";
    case 0x9123683EUL:
        return "btrfs";
    case 0x794C7630UL:
        return "overlayfs";
    default:
    {
        char hex[32];
        std::snprintf(hex, sizeof hex, "fs 0x%lx", static_cast<unsigned long>(fs.f_type));
        return hex;
    }
    }
}

void SettingsLoad(benchmark::State& state)
{
    CSerialize settings(DiskDirectory());
    settings.Save();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(settings.Load());
    }
    state.SetLabel(FileSystemOf(DiskDirectory()) + ", file in the page cache");
}
BENCHMARK(SettingsLoad);

void SaveIn(benchmark::State& state, const std::string& dir)
{
    if (dir.empty())
    {
        state.SkipWithError("no such file system on this machine");
        return;
    }
    CSerialize settings(dir);
    for (auto _ : state)
    {
        settings.Save();
    }
    state.SetLabel(FileSystemOf(dir));
}

void SettingsSaveOnDisk(benchmark::State& state)
{
    SaveIn(state, DiskDirectory());
}
BENCHMARK(SettingsSaveOnDisk)->Unit(benchmark::kMicrosecond);

void SettingsSaveInMemory(benchmark::State& state)
{
    SaveIn(state, MemoryDirectory());
}
BENCHMARK(SettingsSaveInMemory)->Unit(benchmark::kMicrosecond);

// The disk's floor under Save: a file of the settings file's size written
// and forced to the disk, nothing else.
void WriteAndFsyncOnDisk(benchmark::State& state)
{
    CSerialize settings(DiskDirectory());
    settings.Save();
    struct stat st{};
    if (::stat(settings.GetFilePath().c_str(), &st) != 0)
    {
        state.SkipWithError("the settings file was not written");
        return;
    }
    const std::vector<char> bytes(static_cast<std::size_t>(st.st_size), 'x');
    const std::string path = DiskDirectory() + "/fsync-probe";
    for (auto _ : state)
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0)
        {
            state.SkipWithError("writing the probe file failed");
            break;
        }
        ::close(fd);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.SetLabel(FileSystemOf(DiskDirectory()));
}
BENCHMARK(WriteAndFsyncOnDisk)->Unit(benchmark::kMicrosecond);

void UnitsArgumentFromSettings(benchmark::State& state)
{
    CSerialize settings(DiskDirectory());
    settings.Save();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(UnitsArgument::FromSettings(settings));
    }
    state.SetLabel(FileSystemOf(DiskDirectory()) + ", file in the page cache");
}
BENCHMARK(UnitsArgumentFromSettings);

void LoadStringById(benchmark::State& state)
{
    std::string text;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(AfxLoadString(5000, text));
    }
}
BENCHMARK(LoadStringById);
} // namespace

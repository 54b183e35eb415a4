// What start-up and every opening of a dialog pay for: reading the settings
// file, building the units argument, loading texts from the string table.
#include "framework/core/AfxStrings.h"
#include "res/Resources.h"
#include "settings/CSerialize.h"
#include "units/UnitsArgument.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace
{
// The texts loaded below are the program's own.
const bool registered = (ResRegisterProgramResources(), true);

std::string BenchDirectory()
{
    static const std::string dir = []
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelm-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            std::abort();
        }
        return pattern;
    }();
    return dir;
}

void SettingsLoad(benchmark::State& state)
{
    CSerialize settings(BenchDirectory());
    settings.Save();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(settings.Load());
    }
}
BENCHMARK(SettingsLoad);

void SettingsSave(benchmark::State& state)
{
    CSerialize settings(BenchDirectory());
    for (auto _ : state)
    {
        settings.Save();
    }
}
BENCHMARK(SettingsSave);

void UnitsArgumentFromSettings(benchmark::State& state)
{
    CSerialize settings(BenchDirectory());
    settings.Save();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(UnitsArgument::FromSettings(settings));
    }
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

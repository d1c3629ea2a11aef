#include "platform/posix/file_hive.h"
#include "settings/registry.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace kelvane;

namespace {

constexpr int kWindowValues = 52;

// A directory of its own for the settings file, removed afterwards.
class ScratchDirectory
{
public:
    ScratchDirectory()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "kelvane-bench-XXXXXX";
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ScratchDirectory()
    {
        if (!m_path.empty())
            std::filesystem::remove_all(m_path);
    }
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    std::string file(const char *name) const { return m_path + '/' + name; }

private:
    std::string m_path;
};

std::vector<std::string> valueNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < kWindowValues; ++i)
        names.push_back("option" + std::to_string(i));
    return names;
}

void saveWindow(Registry &reg, const std::vector<std::string> &names, const std::string &text)
{
    Registry::Batch batch(reg);
    for (const std::string &name : names)
        reg.SaveString(kCurrentUser, windowKeyPath("Csg"), name, text);
}

// The save routine of a window, one batch of SaveString calls and one file replace, in a file
// that holds `otherKeys` other windows' values as well.
void BM_SaveWindow(benchmark::State &state)
{
    ScratchDirectory scratch;
    FileHiveBackend store(scratch.file("settings.reg"));
    Registry reg(store);
    const std::vector<std::string> names = valueNames();
    {
        Registry::Batch others(reg);
        for (int key = 0; key < state.range(0); ++key)
            for (const std::string &name : names)
                reg.SaveString(kCurrentUser, windowKeyPath("Other" + std::to_string(key)), name,
                               "Z:\\home\\me\\maps\\value " + std::to_string(key));
    }
    saveWindow(reg, names, "0");

    int generation = 0;
    for (auto _ : state)
        saveWindow(reg, names, std::to_string(++generation % 2));
    if (store.fileReplaceCount() < static_cast<int>(state.iterations()))
        state.SkipWithError("the settings file was not written");
}
// Three other windows, as in use; about a thousand values, as a long-used file may hold.
BENCHMARK(BM_SaveWindow)
    ->Arg(3)
    ->Arg(1000 / kWindowValues)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10);

// The load routine of a window in a program that has just started.
void BM_LoadWindow(benchmark::State &state)
{
    ScratchDirectory scratch;
    const std::vector<std::string> names = valueNames();
    {
        FileHiveBackend store(scratch.file("settings.reg"));
        Registry reg(store);
        saveWindow(reg, names, "1");
    }
    for (auto _ : state) {
        FileHiveBackend store(scratch.file("settings.reg"));
        Registry reg(store);
        for (const std::string &name : names)
            benchmark::DoNotOptimize(reg.ReadValue(kCurrentUser, windowKeyPath("Csg"), name));
    }
}
BENCHMARK(BM_LoadWindow)->Unit(benchmark::kMillisecond)->Repetitions(10);

// A settings file of `keys` keys below one key, each holding `values` values of about 40 bytes.
std::string settingsText(int keys, int values)
{
    std::string text = "REGEDIT4\n\n";
    for (int k = 0; k < keys; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Key" + std::to_string(k) + "]\n";
        for (int v = 0; v < values; ++v)
            text += "\"value" + std::to_string(v) + "\"=\"Z:\\\\home\\\\me\\\\maps\\\\" +
                    std::to_string(v) + "\"\n";
        text += '\n';
    }
    return text;
}

// A program starting on a settings file that others made large: the first read of the store.
void BM_ReadLargeFile(benchmark::State &state)
{
    ScratchDirectory scratch;
    const std::string path = scratch.file("settings.reg");
    {
        const std::string text =
            settingsText(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        std::FILE *file = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        state.counters["bytes"] = static_cast<double>(text.size());
    }
    for (auto _ : state) {
        FileHiveBackend store(path);
        Registry reg(store);
        if (!reg.KeyExists(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Key0"))
            state.SkipWithError("the settings file was not read");
    }
}
// 40,000 keys; 40,000 values in one key; 50 MB in 400 keys of 3,300 values.
BENCHMARK(BM_ReadLargeFile)
    ->Args({40000, 1})
    ->Args({1, 40000})
    ->Args({400, 3300})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

} // namespace

BENCHMARK_MAIN();

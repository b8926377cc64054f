// The language pack's costs at start and per lookup:
//   LoadLanguagePack   the whole start step: read the embedded pack, parse it, fill 34
//                      languages, choose the starting language (time per load)
//   GetText            lookups of every identifier the program uses, in the current language
//                      (items per second)
//   GetTextLast        the worst lookup, the pack's last entry (a scan over all identifiers)
#include "archive/Archive.h"
#include "lang/PackLoader.h"
#include "lang/TextIds.h"
#include "resources/ResourceIds.h"

#include <benchmark/benchmark.h>

namespace {

using s::archive::dll::win::Archive;
using s::lang::Localizer;

void LoadLanguagePack(benchmark::State& state)
{
    Archive archive;
    archive.openExecutable();
    for (auto _ : state) {
        Localizer* localizer = s::lang::loadLanguagePack(archive, s::resources::kPackType, s::resources::kPackId);
        benchmark::DoNotOptimize(localizer->getCurrentLanguage());
        localizer->recycle();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(archive.readResource(s::resources::kPackType, s::resources::kPackId).size()));
}
BENCHMARK(LoadLanguagePack)->Unit(benchmark::kMillisecond);

s::thread::PooledPtr<Localizer> germanLocalizer()
{
    Archive archive;
    archive.openExecutable();
    s::thread::PooledPtr<Localizer> localizer(
        s::lang::loadLanguagePack(archive, s::resources::kPackType, s::resources::kPackId));
    localizer->selectLanguageByName("German");
    return localizer;
}

void GetText(benchmark::State& state)
{
    auto localizer = germanLocalizer();
    for (auto _ : state) {
        for (std::int32_t id : s::lang::text::kAllTextIds)
            benchmark::DoNotOptimize(localizer->getText(id).size());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(s::lang::text::kAllTextIds.size()));
}
BENCHMARK(GetText);

void GetTextLast(benchmark::State& state)
{
    auto localizer = germanLocalizer();
    for (auto _ : state)
        benchmark::DoNotOptimize(localizer->getText(s::lang::text::kWindowClose).size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(GetTextLast);

}  // namespace

BENCHMARK_MAIN();

// Parsing and writing a 1 MiB XML document, in MB/s (bytes_per_second), beside a plain scan of
// the same bytes for '<' as a yardstick of the machine's memory speed.

#include "xml/Node.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using s::thread::PooledPtr;
using s::xml::Node;

// A document shaped like the language pack and the settings file: elements with attributes,
// text with entities, some nesting.
const std::string& document()
{
    static const std::string text = [] {
        std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lang>\n";
        for (int language = 0; out.size() < (std::size_t{1} << 20); ++language) {
            out += "  <l id=\"" + std::to_string(language) + "\" tag=\"xx-YY\" engName=\"Language " +
                   std::to_string(language) + "\" name=\"Langue&#160;" + std::to_string(language) + "\">\n";
            for (int entry = 0; entry < 99; ++entry) {
                out += "    <t id=\"" + std::to_string(710000 + entry) + "\">Refresh&#160;Frequency &amp; " +
                       "\xC3\xA9t\xC3\xA9 &lt;" + std::to_string(entry) + "&gt;</t>\n";
            }
            out += "    <View X=\"10\" Y=\"20\" Width=\"800\" Height=\"600\" EasyDrag=\"1\"/>\n  </l>\n";
        }
        out += "</lang>\n";
        return out;
    }();
    return text;
}

void scanForMarkup(benchmark::State& state)
{
    const std::string& text = document();
    for (auto _ : state) {
        std::size_t count = 0;
        for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1))
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void parse(benchmark::State& state)
{
    const std::string& text = document();
    for (auto _ : state) {
        PooledPtr<Node> root(Node::take());
        s::xml::ParseResult result = root->parseUtf8(text);
        if (!result.ok())
            state.SkipWithError("the document did not parse");
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void write(benchmark::State& state)
{
    PooledPtr<Node> root(Node::take());
    root->parseUtf8(document());
    std::string out;
    root->toUtf8(out);
    const std::size_t size = out.size();
    for (auto _ : state) {
        root->toUtf8(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["written_bytes"] = static_cast<double>(size);
}

}  // namespace

BENCHMARK(scanForMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(parse)->Unit(benchmark::kMillisecond);
BENCHMARK(write)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

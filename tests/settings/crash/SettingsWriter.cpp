// A process that writes settings for the crash and concurrency tests.
//   ostrel_settings_writer <registry|xml> <file> counter <size>
//       writes ever larger counters as one string value, printing "w N" before and "d N" after
//       each write (and "s N" first, the counter it found), until it is killed;
//   ostrel_settings_writer registry <file> distinct <prefix> <count>
//       writes <count> values of its own, then exits (1 when a write failed).

#include "settings/RegMappedData.h"
#include "settings/RegistryStore.h"
#include "settings/XmlMappedData.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string counterValue(long number, std::size_t size)
{
    return std::to_string(number) + ":" + std::string(size, static_cast<char>('a' + number % 26));
}

void say(const char* what, long number)
{
    std::printf("%s %ld\n", what, number);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::string variant = argv[1];
    const std::string file = argv[2];
    const std::string mode = argv[3];

    s::reg::win::RegistryStore registry(file);
    s::thread::PooledPtr<s::reg::MappedData> registryStore;
    s::thread::PooledPtr<s::xml::MappedData> fileStore;
    s::map::IMappedData* store = nullptr;
    if (variant == "registry") {
        registryStore = s::reg::MappedData::open(registry, s::reg::saveDataKeyPath("Quillon Ostrel"));
        store = registryStore.get();
    } else {
        fileStore = s::xml::MappedData::open(file);
        store = fileStore.get();
    }

    if (mode == "counter" && argc == 5) {
        const auto size = static_cast<std::size_t>(std::atol(argv[4]));
        long number = std::atol(store->getString("Crash", "Value", "0").c_str());
        say("s", number);
        for (;;) {
            ++number;
            say("w", number);
            store->setString("Crash", "Value", counterValue(number, size));
            say("d", number);
        }
    }
    if (mode == "distinct" && argc == 6) {
        const std::string prefix = argv[4];
        const int count = std::atoi(argv[5]);
        bool allStored = true;
        for (int i = 0; i < count; ++i)
            allStored = store->setS32("Shared", prefix + std::to_string(i), i) && allStored;
        return allStored ? 0 : 1;
    }
    return 2;
}

#include <cstdio>
#include <cstring>

namespace {

void printUsage(std::FILE* out)
{
    std::fputs("Usage: ostrel [--help] [--version]\n"
               "\n"
               "Shows, live, every file and folder that is created, written, renamed and deleted\n"
               "on the machine's local disks.\n"
               "\n"
               "  --help     show this help and exit\n"
               "  --version  show the version and exit\n",
               out);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("Ostrel 1.11");
            return 0;
        }
        std::fprintf(stderr, "ostrel: unknown option '%s'\n", argv[i]);
        printUsage(stderr);
        return 2;
    }
    std::fputs("ostrel: the window and the console front-end are not built yet; see --help\n", stderr);
    return 1;
}

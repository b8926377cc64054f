#include "app/Usage.h"

namespace s::app {

void printUsage(std::FILE* out)
{
    std::fputs(
        "Usage: ostrel [-startup]\n"
        "       ostrel --console [--watch DIR]... [--period MS] [--kinds LIST] [--stats]\n"
        "       ostrel --help | --version\n"
        "\n"
        "Shows, live, every file and folder that is created, written, renamed and deleted\n"
        "on the machine's local disks.\n"
        "\n"
        "  -startup      start hidden in the tray, as at the start of a session (window)\n"
        "  --console     run without a window: print every change to standard output as one\n"
        "                line of six tab-separated cells (Time, Change, File Name, Size,\n"
        "                Folder, Extension); control characters and bytes that are not\n"
        "                UTF-8 in names are written as \\t, \\n, \\\\ and \\xHH, so a change is\n"
        "                always one line. Ends on Ctrl-C (SIGINT), SIGTERM or SIGHUP, with a\n"
        "                summary on standard error\n"
        "  --watch DIR   watch DIR, with everything below it, instead of every fixed drive\n"
        "                (local, non-removable disks); may be given more than once\n"
        "  --period MS   milliseconds between refreshes, 1 to 300000 (default 100; 1 means\n"
        "                real time, a refresh every 100 ms)\n"
        "  --kinds LIST  print only these kinds of change: a comma-separated list of created,\n"
        "                deleted, written, renamed (default: all)\n"
        "  --stats       also print, once per refresh, the disk busy, read and write figures\n"
        "                as the status line shows them\n"
        "  --help        show this help and exit\n"
        "  --version     show the version and exit\n",
        out);
}

}  // namespace s::app

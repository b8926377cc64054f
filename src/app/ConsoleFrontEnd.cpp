#include "app/ConsoleFrontEnd.h"

#include "access/FixedDrives.h"
#include "access/WatchSetup.h"
#include "app/CommandLine.h"
#include "app/ConsolePrinter.h"
#include "app/ConsoleText.h"
#include "app/WatchList.h"
#include "archive/Archive.h"
#include "changelog/ChangeLog.h"
#include "changelog/KindCaptions.h"
#include "changelog/PendingChanges.h"
#include "counters/DiskFigureTexts.h"
#include "counters/DiskFigures.h"
#include "lang/PackLoader.h"
#include "lang/TextIds.h"
#include "monitor/CDirectoryChangeWatcher.h"
#include "platform/ErrorCodes.h"
#include "platform/Locale.h"
#include "platform/StopSignals.h"
#include "resources/ResourceIds.h"

#include <clocale>
#include <cstdio>
#include <cstring>

namespace s::app {

namespace {

namespace fa = file::gui::dialogs::fileaccess;
namespace text = lang::text;

struct StatusCaptions {
    std::string diskBusy;
    std::string read;
    std::string write;
};

// The fixed drives' mount points, or the --watch directories.
std::vector<std::string> rootsToWatch(const CommandLine& line)
{
    if (!line.watch.empty())
        return watchListOf(line.watch, stderr);
    const fa::FixedDriveList& list = fa::fixedDrives();
    if (list.error != platform::kErrorSuccess)
        std::fprintf(stderr, "ostrel: cannot read the mount table /proc/self/mountinfo (system error %d)\n", list.error);
    std::vector<std::string> roots;
    for (const platform::FixedDrive& drive : list.drives)
        roots.push_back(drive.mountPoint);
    return roots;
}

// The status line's three figures, asked for in its order: busy, read, write.
std::string statusLine(const StatusCaptions& captions)
{
    std::int64_t busy = 0;
    std::int64_t read = 0;
    std::int64_t write = 0;
    system::counter::getDiskBusyPercent(busy);
    system::counter::getDiskReadBytesPerSec(read);
    system::counter::getDiskWriteBytesPerSec(write);
    std::string line = escaped(system::counter::diskBusyText(captions.diskBusy, busy));
    line += '\t';
    line += escaped(captions.read);
    line += ' ';
    line += system::counter::rateLabelText(read);
    line += '\t';
    line += escaped(captions.write);
    line += ' ';
    line += system::counter::rateLabelText(write);
    return line;
}

void printSummary(const fa::ChangeLog::Counts& counts, std::uint64_t overflows, int signal)
{
    if (signal != 0)
        std::fprintf(stderr, "ostrel: stopped by %s\n", platform::stopSignalName(signal));
    std::fprintf(stderr,
                 "ostrel: logged %llu, printed %llu, merged %llu, dropped as directory writes %llu, "
                 "lost by overflow %llu\n",
                 static_cast<unsigned long long>(counts.logged), static_cast<unsigned long long>(counts.shown),
                 static_cast<unsigned long long>(counts.batches.merged),
                 static_cast<unsigned long long>(counts.batches.directoryWrites),
                 static_cast<unsigned long long>(overflows));
}

// Tells which roots are watched and why the others are not; how many are watched.
int reportWatches(const std::vector<fa::WatchOutcome>& outcomes)
{
    int watched = 0;
    for (const fa::WatchOutcome& outcome : outcomes) {
        if (outcome.error == platform::kErrorSuccess) {
            ++watched;
            std::fprintf(stderr, "ostrel: watching %s (%s)\n", escaped(outcome.root).c_str(), outcome.backend.c_str());
        } else {
            std::fprintf(stderr, "ostrel: cannot watch %s: %s\n", escaped(outcome.root).c_str(),
                         fa::watchErrorText(outcome.error).c_str());
        }
    }
    return watched;
}

// Refresh cycles until a stop signal (its number) or a failed write (0).
int runCycles(const CommandLine& line, const StatusCaptions& statusCaptions, fa::ChangeLog& log, ConsolePrinter& printer,
              const CDirectoryChangeWatcher& watcher)
{
    const int wait = line.period == 1 ? 100 : line.period;
    std::uint64_t lossesReported = 0;
    for (;;) {
        log.runCycle();
        if (line.stats)
            printer.addLine(statusLine(statusCaptions));
        if (!printer.flush())
            return 0;
        const std::uint64_t losses = watcher.getLostCount();
        if (losses > lossesReported) {
            std::fputs("ostrel: the kernel could not report every change (queue overflow or watch limit)\n", stderr);
            lossesReported = losses;
        }
        if (const int signal = platform::waitForStopSignal(wait); signal != 0)
            return signal;
    }
}

}  // namespace

int runConsole(const CommandLine& line)
{
    // Before any thread starts, so that every thread inherits the blocked set.
    if (!platform::blockStopSignals()) {
        std::fputs("ostrel: cannot take over the stop signals\n", stderr);
        return 1;
    }
    std::setlocale(LC_ALL, "");

    archive::dll::win::Archive archive;
    const bool hasResources = archive.openExecutable();
    thread::PooledPtr<lang::Localizer> localizer(
        hasResources ? lang::loadLanguagePack(archive, resources::kPackType, resources::kPackId) : nullptr);
    if (!localizer || localizer->getLanguageCount() == 0) {
        std::fputs("ostrel: the program's language pack is missing or damaged\n", stderr);
        return 1;
    }
    const fa::KindCaptions captions(localizer->getText(text::kChangeCreated), localizer->getText(text::kChangeDeleted),
                                    localizer->getText(text::kChangeRenamed));
    const StatusCaptions statusCaptions{localizer->getText(text::kStatusDiskBusy), localizer->getText(text::kStatusRead),
                                        localizer->getText(text::kStatusWrite)};

    const std::vector<std::string> roots = rootsToWatch(line);
    if (roots.empty()) {
        std::fputs("ostrel: there is nothing to watch (no fixed drive was found)\n", stderr);
        return 1;
    }

    // Declared so that the watcher, whose handlers fill the queue, goes first.
    fa::PendingChanges pending;
    fa::ChangeFilters filters(roots, line.kinds);
    ConsolePrinter printer(captions, stdout);
    fa::ChangeLog log(pending, filters, printer);
    CDirectoryChangeWatcher watcher;

    if (reportWatches(fa::watchRoots(watcher, roots, pending)) == 0) {
        std::fputs("ostrel: no directory could be watched\n", stderr);
        return 1;
    }
    if (line.stats)
        system::counter::setUserInterfaceLanguageSource([] { return platform::userInterfaceLanguageId(); });
    const int signal = runCycles(line, statusCaptions, log, printer, watcher);

    // Every notification the watches delivered reaches the queue before they end; the last cycle
    // prints them.
    watcher.removeAllWatches();
    log.runCycle();
    printer.flush();
    const bool outputFailed = printer.getError() != 0;
    if (outputFailed)
        std::fprintf(stderr, "ostrel: cannot write the output: %s\n", std::strerror(printer.getError()));
    printSummary(log.getCounts(), watcher.getLostCount(), signal);
    return outputFailed ? 1 : 0;
}

}  // namespace s::app

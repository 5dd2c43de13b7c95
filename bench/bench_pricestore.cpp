#include "price_list/priceliststore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

// What opening the price-list store adds to the start of the program: the
// first open in a process (which loads the SQLite driver), once with the
// file already there and once with the file still to be made, and a later
// open in the same process. Each open reads the first record's texts, as
// the main window's start does.

namespace kaldora::price_list {
namespace {

const char* const kChildOption = "--first-open-child";

QString g_program;

void openOnce(const QString& path)
{
    const PriceListStore::FirstRecord first =
        PriceListStore::readFirstRecord(path, ',', PriceListStore::MissingFile::Create);
    benchmark::DoNotOptimize(first.texts);
    if (!first.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(first.problem));
        std::exit(1);
    }
}

// A new process that opens the store once and reports how long that took,
// without the time to start the process.
double firstOpenInNewProcess(const QString& path)
{
    QProcess child;
    child.start(g_program, {QString::fromLatin1(kChildOption), path});
    if (!child.waitForFinished() || child.exitCode() != 0) {
        std::fprintf(stderr, "child failed: %s\n", child.readAllStandardError().constData());
        std::exit(1);
    }
    return child.readAllStandardOutput().trimmed().toDouble();
}

void firstOpenExistingFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cenovnik.db"));
    openOnce(path);
    for (auto _ : state) {
        state.SetIterationTime(firstOpenInNewProcess(path));
    }
}

void firstOpenNewFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaldora/cenovnik.db"));
    for (auto _ : state) {
        QDir(dir.filePath(QStringLiteral("kaldora"))).removeRecursively();
        state.SetIterationTime(firstOpenInNewProcess(path));
    }
}

void laterOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cenovnik.db"));
    openOnce(path);
    for (auto _ : state) {
        openOnce(path);
    }
}

constexpr int kRepetitions = 21;
constexpr int kProcessesPerRepetition = 5;

BENCHMARK(firstOpenExistingFile)
    ->UseManualTime()
    ->Iterations(kProcessesPerRepetition)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(firstOpenNewFile)
    ->UseManualTime()
    ->Iterations(kProcessesPerRepetition)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(laterOpen)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kaldora::price_list

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], kaldora::price_list::kChildOption) == 0) {
        QElapsedTimer timer;
        timer.start();
        kaldora::price_list::openOnce(QString::fromLocal8Bit(argv[2]));
        std::printf("%.9f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);
        return 0;
    }
    kaldora::price_list::g_program = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

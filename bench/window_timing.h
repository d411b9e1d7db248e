#pragma once
// Timing of the real widgets offscreen: a table of operations with the milliseconds of each
// run, and the helpers that make a timed step include its first paint.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace pairly::bench {

// One timed step: wall-clock and CPU milliseconds. On a shared machine the CPU time of this
// process is the steadier figure; the wall clock is what a user waits.
struct Lap {
    double wallMs = 0;
    double cpuMs = 0;
};

class Stopwatch {
public:
    Stopwatch();
    // The time since the stopwatch was started.
    Lap elapsed() const;

private:
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

class TimingTable {
public:
    void add(const std::string& operation, const Lap& lap);
    // A figure that is not a time (peak memory), printed as it is.
    void addValue(const std::string& operation, double value, const std::string& unit);
    // One line per operation, tab separated: name, median wall ms (or value), median CPU ms
    // (or "-"), unit, runs.
    void print() const;

private:
    struct Row {
        std::string operation;
        std::string unit;
        std::vector<double> samples;
        std::vector<double> cpu;
    };
    Row& row(const std::string& operation, const std::string& unit);
    std::vector<Row> rows_;
};

// Runs every event until the queue is empty and the window system has taken what was
// painted: the end of a step as a person sees it.
void settle();

// Counts the paint events of one window's widgets while it lives.
class PaintWatch {
public:
    explicit PaintWatch(QWidget* window);
    ~PaintWatch();
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;
    int paints() const;

private:
    class Filter;
    Filter* filter_;
};

// Settles, and paints `widget` at once when nothing in its window was painted yet, so that a
// timed step always ends with its first paint done.
void finishWithPaint(QWidget* widget, const PaintWatch& watch);

// Grid of 32,766 rows × 12 columns and chart of 32,766 points × 3 series, refilled `runs` times.
void timeGridAndChart(TimingTable& table, int runs);

// Peak resident memory of this process so far, in MB (getrusage).
double peakMemoryMb();

}  // namespace pairly::bench

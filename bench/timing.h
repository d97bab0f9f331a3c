#pragma once

// Repeated timings of one piece of work, for the benches that print a median and
// the best run.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

struct Timing
{
    std::vector<double> seconds;

    void add(double s) { seconds.push_back(s); }
    double median()
    {
        std::sort(seconds.begin(), seconds.end());
        return seconds[seconds.size() / 2];
    }
    double best() { return *std::min_element(seconds.begin(), seconds.end()); }
};

// Seconds `work` took; a bench whose work fails ends at once.
inline double timed(const std::function<bool()> &work)
{
    QElapsedTimer timer;
    timer.start();
    if (!work()) {
        std::fprintf(stderr, "failed\n");
        std::exit(1);
    }
    return timer.nsecsElapsed() / 1e9;
}

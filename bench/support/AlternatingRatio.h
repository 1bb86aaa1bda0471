#pragma once

// What every bench that sets a path against its floor shares: the two sides are measured in
// turn, round by round, so that a busy machine slows both alike, and the figure is the median of
// the rounds' ratios, which one disturbed round cannot move. A bench that cannot measure says
// why on stderr and ends with a failing exit code, never with a figure that means nothing.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace Bench
{
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <class Work> double SecondsOf(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The rounds of one comparison: the time of the side measured and of its floor in each.
class CAlternatingRatio
{
public:
    void Add(double side, double floor)
    {
        m_sides.push_back(side);
        m_floors.push_back(floor);
        m_ratios.push_back(floor > 0 ? side / floor : 0);
    }

    double MedianRatio() const { return Median(m_ratios); }
    double MedianSide() const { return Median(m_sides); }
    double MedianFloor() const { return Median(m_floors); }
    // Times both sides in this round's order and keeps the round; the side's seconds.
    template <class Side, class Floor> double TimeRound(Side side, Floor floor)
    {
        double sideSeconds = 0;
        double floorSeconds = 0;
        RunRound([&] { sideSeconds = SecondsOf(side); }, [&] { floorSeconds = SecondsOf(floor); });
        Add(sideSeconds, floorSeconds);
        return sideSeconds;
    }

    size_t RoundCount() const { return m_ratios.size(); }

    // Runs both sides of the next round; which goes first alternates from round to round, so
    // that neither always meets a machine the other has just left busy.
    template <class Side, class Floor> void RunRound(Side side, Floor floor) const
    {
        if (RoundCount() % 2 == 0)
        {
            floor();
            side();
        }
        else
        {
            side();
            floor();
        }
    }

private:
    std::vector<double> m_sides;
    std::vector<double> m_floors;
    std::vector<double> m_ratios;
};

inline bool& AnyMeasurementFailed()
{
    static bool failed = false;
    return failed;
}

// Marks the benchmark failed and makes the program's exit code say so.
inline void FailMeasurement(benchmark::State& state, const std::string& why)
{
    std::fprintf(stderr, "cannot measure: %s\n", why.c_str());
    state.SkipWithError(why.c_str());
    AnyMeasurementFailed() = true;
}

// The exit code of a bench program after its benchmarks ran.
inline int ExitCode()
{
    if (AnyMeasurementFailed())
        std::fprintf(stderr, "some figures could not be measured: see the errors above\n");
    return AnyMeasurementFailed() ? 1 : 0;
}
} // namespace Bench

#pragma once
// The benchmark's figures: every measure is a series of runs of the tool and, where it has one,
// of its floor measured in the same rounds; printed as a table and written as CSV.

#include <string>
#include <vector>

enum class Comparison {
  Ratio,       // tool median / floor median, at most the target
  Difference,  // tool median - floor median, at most the target
  Absolute,    // tool median alone, below the target
};

constexpr double kNoTarget = -1;

struct Measure {
  std::string name;
  std::string unit;
  std::string floorName;  // empty: no floor
  Comparison comparison;
  double target;  // kNoTarget: reported without one
  std::vector<double> tool;
  std::vector<double> floor;
};

double Median(std::vector<double> values);
// The value below which a share of the values lie (0.25: first quartile), interpolated.
double Quantile(std::vector<double> values, double share);

// The figure the target is set on (the ratio, the difference or the tool's own median).
double Figure(const Measure& measure);
bool MeetsTarget(const Measure& measure);
// The same comparison made round by round (each run of the tool with the floor's run next to it)
// and its median: load that drifts between rounds cancels out. NAN without paired runs.
double PairedFigure(const Measure& measure);

void PrintTable(const std::vector<Measure>& measures);
bool WriteCsv(const std::wstring& path, const std::vector<Measure>& measures);
// Every run's value, one a line: measure, side (tool or floor), run, value.
bool WriteRunsCsv(const std::wstring& path, const std::vector<Measure>& measures);

#include "summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double Quantile(std::vector<double> values, double share) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const double place = share * static_cast<double>(values.size() - 1);
  const auto below = static_cast<size_t>(std::floor(place));
  const size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (place - static_cast<double>(below)) * (values[above] - values[below]);
}

double Median(std::vector<double> values) { return Quantile(std::move(values), 0.5); }

double Figure(const Measure& measure) {
  const double tool = Median(measure.tool);
  switch (measure.comparison) {
    case Comparison::Ratio:
      return tool / Median(measure.floor);
    case Comparison::Difference:
      return tool - Median(measure.floor);
    case Comparison::Absolute:
      return tool;
  }
  return NAN;
}

double PairedFigure(const Measure& measure) {
  if (measure.comparison == Comparison::Absolute || measure.floor.size() != measure.tool.size())
    return NAN;
  std::vector<double> figures;
  for (size_t i = 0; i < measure.tool.size(); ++i)
    figures.push_back(measure.comparison == Comparison::Ratio ? measure.tool[i] / measure.floor[i]
                                                              : measure.tool[i] - measure.floor[i]);
  return Median(std::move(figures));
}

bool MeetsTarget(const Measure& measure) {
  const double figure = Figure(measure);
  return measure.comparison == Comparison::Absolute ? figure < measure.target
                                                    : figure <= measure.target;
}

namespace {

const char* ComparisonName(Comparison comparison) {
  switch (comparison) {
    case Comparison::Ratio:
      return "tool/floor";
    case Comparison::Difference:
      return "tool-floor";
    case Comparison::Absolute:
      return "tool";
  }
  return "?";
}

std::string Target(const Measure& measure) {
  if (measure.target == kNoTarget) return "-";
  char text[48];
  std::snprintf(text, sizeof text, "%s %.2f",
                measure.comparison == Comparison::Absolute ? "<" : "<=", measure.target);
  return text;
}

std::string Verdict(const Measure& measure) {
  if (measure.target == kNoTarget) return "-";
  return MeetsTarget(measure) ? "met" : "NOT met";
}

}  // namespace

void PrintTable(const std::vector<Measure>& measures) {
  std::printf("%-44s %-4s %4s %12s %12s %-28s %10s %-12s %10s %10s %-8s\n", "measure", "unit",
              "runs", "tool median", "tool IQR", "floor", "floor med.", "compared", "figure",
              "paired", "target");
  for (const Measure& m : measures) {
    char iqr[32];
    std::snprintf(iqr, sizeof iqr, "%.1f-%.1f", Quantile(m.tool, 0.25), Quantile(m.tool, 0.75));
    char floorMedian[32] = "-";
    if (!m.floor.empty()) std::snprintf(floorMedian, sizeof floorMedian, "%.1f", Median(m.floor));
    std::printf("%-44s %-4s %4zu %12.1f %12s %-28s %10s %-12s %10.2f %10.2f %s (%s)\n",
                m.name.c_str(), m.unit.c_str(), m.tool.size(), Median(m.tool), iqr,
                m.floorName.empty() ? "-" : m.floorName.c_str(), floorMedian,
                ComparisonName(m.comparison), Figure(m), PairedFigure(m), Target(m).c_str(),
                Verdict(m).c_str());
  }
}

bool WriteCsv(const std::wstring& path, const std::vector<Measure>& measures) {
  FILE* out = _wfopen(path.c_str(), L"w");
  if (out == nullptr) return false;
  std::fprintf(out,
               "measure,unit,runs,tool_median,tool_q1,tool_q3,floor,floor_runs,floor_median,"
               "floor_q1,floor_q3,compared,figure,paired_figure,target,within_target\n");
  for (const Measure& m : measures) {
    std::fprintf(out, "\"%s\",%s,%zu,%.3f,%.3f,%.3f,\"%s\",%zu,", m.name.c_str(), m.unit.c_str(),
                 m.tool.size(), Median(m.tool), Quantile(m.tool, 0.25), Quantile(m.tool, 0.75),
                 m.floorName.c_str(), m.floor.size());
    if (m.floor.empty())
      std::fprintf(out, ",,,");
    else
      std::fprintf(out, "%.3f,%.3f,%.3f,", Median(m.floor), Quantile(m.floor, 0.25),
                   Quantile(m.floor, 0.75));
    std::fprintf(out, "%s,%.4f,", ComparisonName(m.comparison), Figure(m));
    if (const double paired = PairedFigure(m); !std::isnan(paired))
      std::fprintf(out, "%.4f,", paired);
    else
      std::fprintf(out, ",");
    if (m.target == kNoTarget)
      std::fprintf(out, ",\n");
    else
      std::fprintf(out, "%.4f,%s\n", m.target, MeetsTarget(m) ? "yes" : "no");
  }
  return std::fclose(out) == 0;
}

bool WriteRunsCsv(const std::wstring& path, const std::vector<Measure>& measures) {
  FILE* out = _wfopen(path.c_str(), L"w");
  if (out == nullptr) return false;
  std::fprintf(out, "measure,unit,side,run,value\n");
  for (const Measure& m : measures) {
    for (size_t i = 0; i < m.tool.size(); ++i)
      std::fprintf(out, "\"%s\",%s,tool,%zu,%.3f\n", m.name.c_str(), m.unit.c_str(), i + 1,
                   m.tool[i]);
    for (size_t i = 0; i < m.floor.size(); ++i)
      std::fprintf(out, "\"%s\",%s,floor,%zu,%.3f\n", m.name.c_str(), m.unit.c_str(), i + 1,
                   m.floor[i]);
  }
  return std::fclose(out) == 0;
}

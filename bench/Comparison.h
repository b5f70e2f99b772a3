// Shared by the benchmarks: each operation is timed for our code and for a
// reference library in the same process, under names "ours/<op>/<arg>" and
// "peer/<op>/<arg>"; after the usual report a table gives both times and the
// ratio ours / peer for every pair. With --benchmark_repetitions the best
// repetition of each side counts.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace numbrix_bench {

class ComparingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const auto slash = name.find('/');
      if (slash == std::string::npos) continue;
      const std::string side = name.substr(0, slash), key = name.substr(slash + 1);
      const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      double& best = side == "ours" ? times_[key].first : times_[key].second;
      if (best == 0 || seconds < best) best = seconds;
      if (order_.insert({key, order_.size()}).second) keys_.push_back(key);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %14s %14s %10s\n", "operation", "ours", "peer", "ours/peer");
    for (const std::string& key : keys_) {
      const auto [ours, peer] = times_[key];
      std::printf("%-28s %14s %14s %10s\n", key.c_str(), format(ours).c_str(), format(peer).c_str(),
                  ours > 0 && peer > 0 ? std::to_string(ours / peer).substr(0, 6).c_str() : "-");
    }
  }

 private:
  static std::string format(double seconds) {
    if (seconds <= 0) return "-";
    char text[32];
    if (seconds >= 1e-3)
      std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
    else
      std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
    return text;
  }

  std::map<std::string, std::pair<double, double>> times_;
  std::map<std::string, std::size_t> order_;
  std::vector<std::string> keys_;
};

// Runs the registered benchmarks with the comparing reporter. Unless
// MEMORYTHRESHOLD is set, long numbers are kept in memory (within a memory
// budget of 1 GiB unless RAMSIZE says otherwise), as a benchmark of the
// arithmetic rather than of the disk wants.
inline int runComparison(int argc, char** argv) {
  if (std::getenv("MEMORYTHRESHOLD") == nullptr) {
    setenv("MEMORYTHRESHOLD", "100000000", 1);
    if (std::getenv("RAMSIZE") == nullptr) setenv("RAMSIZE", "1073741824", 1);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ComparingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace numbrix_bench

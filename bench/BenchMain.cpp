// Entry point of the benchmarks: headless, the paint passes draw into images, and the text
// they measure needs the font database of a QGuiApplication.
//
// A benchmark's baseline runs in the same process, so the comparison holds on a loaded
// machine: the report shows the baseline's time over the subject's as a counter of the
// baseline's rows (per statistic with --benchmark_repetitions, e.g. median over median).

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Passes every run on to the reporter chosen by --benchmark_format, adding to the baseline's
// runs their time as a multiple of the subject's. The subject must run first, as it does in
// registration order.
class BaselineRatioReporter final : public benchmark::BenchmarkReporter {
public:
    BaselineRatioReporter(benchmark::BenchmarkReporter& output, std::string subject, std::string baseline,
                          std::string counter)
        : output_(output), subject_(std::move(subject)), baseline_(std::move(baseline)), counter_(std::move(counter)) {}

    bool ReportContext(const Context& context) override { return output_.ReportContext(context); }

    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> reported = runs;
        for (Run& run : reported) {
            if (run.error_occurred) continue;
            // Plain runs have no aggregate name; they pair with the subject's last plain run.
            const std::string& name = run.run_name.function_name;
            if (name == subject_) subjectSeconds_[run.aggregate_name] = Seconds(run);
            if (name != baseline_) continue;
            const auto subject = subjectSeconds_.find(run.aggregate_name);
            if (subject != subjectSeconds_.end() && subject->second > 0)
                run.counters[counter_] = benchmark::Counter(Seconds(run) / subject->second);
        }
        output_.ReportRuns(reported);
    }

    void Finalize() override { output_.Finalize(); }

private:
    static double Seconds(const Run& run) {
        return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }

    benchmark::BenchmarkReporter& output_;
    std::string subject_;
    std::string baseline_;
    std::string counter_;
    std::map<std::string, double> subjectSeconds_;  // by aggregate name
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BaselineRatioReporter reporter(*benchmark::CreateDefaultDisplayReporter(), "BM_PaintPass/scope_50k",
                                   "BM_PaintPass/naive_50k", "naive_over_scope");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

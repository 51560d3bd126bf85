#include "Report.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace bench {
namespace {

// Targets the program is held to.
constexpr double kMinCopyThroughputVsFloor = 0.9;
constexpr double kMaxWholeRunMs = 1000;
constexpr double kMaxStartUpMs = 200;
constexpr uint64_t kMaxSetupExeBytes = 96 * 1024;
// A silent run has no window to keep responsive, so it is held to the installers that have none
// either: no slower than NSIS /S on the sample medium, and within twice the raw copy on the
// large one (launch to exit, against CopyFileA's copy alone).
constexpr double kMaxSilentVsNsisSilent = 1.0;
constexpr double kMaxSilentVsCopyFile = 2.0;

const double kNone = std::nan("");

std::string Ms(double ms) {
    if (std::isnan(ms))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.2f" : ms < 100 ? "%.1f" : "%.0f", ms);
    return text;
}

std::string Ratio(double a, double b) {
    if (std::isnan(a) || std::isnan(b) || b <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", a / b);
    return text;
}

std::string MiBps(uint64_t bytes, double ms) {
    if (std::isnan(ms) || ms <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / 1048576.0 / (ms / 1000.0));
    return text;
}

std::string Size(uint64_t bytes) {
    char text[64];
    if (bytes >= 1048576)
        std::snprintf(text, sizeof text, "%.1f MiB", bytes / 1048576.0);
    else
        std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
    return text;
}

class Printer {
public:
    Printer(FILE* out, const Samples& samples) : out_(out), s_(samples) {}

    // "median (min-max)" of a key, with its failures if any.
    std::string Cell(const std::string& key) const {
        size_t n = s_.Count(key);
        std::string cell =
            n == 0 ? "-"
                   : Ms(s_.Median(key)) + " (" + Ms(s_.Min(key)) + "-" + Ms(s_.Max(key)) + ")";
        auto failed = s_.Failures().find(key);
        if (failed != s_.Failures().end())
            cell += " [" + std::to_string(failed->second) + " failed]";
        return cell;
    }

    void Row(const std::string& label, const std::string& a, const std::string& b = "",
             const std::string& c = "", const std::string& d = "") const {
        std::fprintf(out_, "  %-48s %-24s %-8s %-24s %s\n", label.c_str(), a.c_str(), b.c_str(),
                     c.c_str(), d.c_str());
    }

    void Heading(const std::string& text) const { std::fprintf(out_, "\n%s\n", text.c_str()); }
    void Line(const std::string& text) const { std::fprintf(out_, "  %s\n", text.c_str()); }

private:
    FILE* out_;
    const Samples& s_;
};

// Two rows for the ratio of two methods: of their medians, and the median of the ratios of the
// single rounds (recorded as "<medium>.ratio.<roundName>").
void PrintRatioRows(const Printer& p, const Samples& s, const std::string& label,
                    const std::string& numerator, const std::string& denominator,
                    const std::string& roundName) {
    p.Row("  " + label + ": of the medians",
          Ratio(s.Median("sample." + numerator), s.Median("sample." + denominator)), "",
          Ratio(s.Median("large." + numerator), s.Median("large." + denominator)), "");
    p.Row("  " + label + ": median by round", Ratio(s.Median("sample.ratio." + roundName), 1), "",
          Ratio(s.Median("large.ratio." + roundName), 1), "");
}

void PrintCopy(const Printer& p, const Samples& s, const ReportFacts& f) {
    p.Heading(
        "1. Copy of the ten files, ms: median (min-max) of the runs, and MiB/s of the median");
    p.Row("", "sample medium", "MiB/s", "large medium", "MiB/s");
    p.Row("", Size(f.sample.bytes), "", f.haveLarge ? Size(f.large.bytes) : "not run", "");
    struct Method {
        const char* label;
        const char* key;
    };
    const Method methods[] = {
        {"SETUP.EXE: OK -> Create Application Group", "setup.copy"},
        {"floor: 4 KiB, 2 drains/block, idle window", "floor"},
        {"  the same from a thread with no window", "floor.bare"},
        {"  the same with no drains (a silent copy's floor)", "floor.nodrain"},
        {"CopyFileA (the raw limit)", "copyfile"},
        {"NSIS, progress page: Install -> exit", "nsis.copy"},
        {"NSIS /S: launch -> exit (start-up included)", "nsis.silent"},
        {"SETUP.EXE /S /NOGROUP: launch -> exit (the same)", "setup.silent"},
    };
    for (const Method& m : methods) {
        std::string sampleKey = std::string("sample.") + m.key;
        std::string largeKey = std::string("large.") + m.key;
        p.Row(m.label, p.Cell(sampleKey), MiBps(f.sample.bytes, s.Median(sampleKey)),
              p.Cell(largeKey), MiBps(f.large.bytes, s.Median(largeKey)));
    }
    p.Row("copy time ratios (above 1: SETUP slower)", "", "", "", "");
    const Method ratios[] = {
        {"floor", "floor"},
        {"CopyFileA", "copyfile"},
        {"NSIS progress page", "nsis.copy"},
    };
    for (const Method& r : ratios)
        PrintRatioRows(p, s, std::string("SETUP / ") + r.label, "setup.copy", r.key,
                       std::string("setup/") + r.key);
    p.Row("silent run time ratios, launch -> exit", "", "", "", "");
    PrintRatioRows(p, s, "SETUP /S / NSIS /S", "setup.silent", "nsis.silent", "silent/nsis.silent");
    PrintRatioRows(p, s, "SETUP /S / CopyFileA", "setup.silent", "copyfile", "silent/copyfile");
}

void PrintStartAndWhole(const Printer& p, const Samples& s) {
    p.Heading("2. Start-up and whole run on the sample medium, warm prefix, ms");
    p.Row("SETUP: launch -> Welcome visible", p.Cell("sample.setup.startUp"));
    p.Row("NSIS: launch -> installer window visible", p.Cell("sample.nsis.startUp"));
    p.Row("minimal dialog program: launch -> visible", p.Cell("sample.minimal.startUp"));
    p.Row("SETUP whole run (defaults, Skip the group)", p.Cell("sample.setup.whole"));
    p.Row("NSIS whole run, progress page", p.Cell("sample.nsis.whole"));
    p.Row("NSIS whole run, /S", p.Cell("sample.nsis.silent"));
    p.Row("SETUP whole run, /S /NOGROUP", p.Cell("sample.setup.silent"));
    p.Row("minimal dialog program, OK at once", p.Cell("sample.minimal.whole"));
    p.Row("ratio SETUP / NSIS whole run (progress page)",
          Ratio(s.Median("sample.setup.whole"), s.Median("sample.nsis.whole")));
    p.Row("ratio SETUP start-up / NSIS start-up",
          Ratio(s.Median("sample.setup.startUp"), s.Median("sample.nsis.startUp")));
}

void PrintSize(const Printer& p, const ReportFacts& f) {
    p.Heading("3. Size");
    p.Row("SETUP.EXE", std::to_string(f.setupExeBytes) + " B", Size(f.setupExeBytes));
    if (f.haveNsis)
        p.Row("NSIS installer of the sample files (stored)",
              std::to_string(f.nsisSampleBytes) + " B", Size(f.nsisSampleBytes));
}

enum class Verdict { met, missed, unmeasured };

// A target line.
Verdict Target(const Printer& p, const std::string& what, double value, double limit, bool atMost,
               const std::string& unit) {
    if (std::isnan(value)) {
        p.Line("[ -- ] " + what + ": not measured");
        return Verdict::unmeasured;
    }
    bool met = atMost ? value <= limit : value >= limit;
    char text[256];
    std::snprintf(text, sizeof text, "[%s] %s: %.4g %s (target %s %.4g %s", met ? "PASS" : "MISS",
                  what.c_str(), value, unit.c_str(), atMost ? "<=" : ">=", limit, unit.c_str());
    std::string line = text;
    if (!met) {
        double over = atMost ? value - limit : limit - value;
        std::snprintf(text, sizeof text, "; missed by %.4g %s, %.0f %%", over, unit.c_str(),
                      100.0 * over / limit);
        line += text;
    }
    p.Line(line + ")");
    return met ? Verdict::met : Verdict::missed;
}

void PrintPhases(const Printer& p, const std::string& prefix, const char* const (*phases)[2],
                 size_t count) {
    for (size_t i = 0; i < count; ++i)
        p.Line("  " + std::string(phases[i][0]) + ": " + p.Cell(prefix + phases[i][1]) + " ms");
}

// A target judged by the ratios of the single rounds: prints their range under its target line
// and returns whether they fall on both sides of the limit. With `throughput` the target is on
// the inverse of the recorded time ratios.
bool PrintRoundRange(const Printer& p, const Samples& s, const std::string& key, double limit,
                     bool atMost, bool throughput) {
    if (s.Count(key) < 2)
        return false;
    double low = throughput ? 1 / s.Max(key) : s.Min(key);
    double high = throughput ? 1 / s.Min(key) : s.Max(key);
    bool straddles = atMost ? low <= limit && high > limit : low < limit && high >= limit;
    char text[160];
    std::snprintf(text, sizeof text, "       the single rounds: %.2f to %.2f x%s", low, high,
                  straddles ? ", on both sides of the target" : "");
    p.Line(text);
    return straddles;
}

// The verdicts of the target lines, for the closing note.
struct Verdicts {
    Verdict copy, whole, start, size, silentSample, silentLarge;
    // The single rounds of a by-round target fell on both sides of it.
    bool copyStraddles, silentSampleStraddles, silentLargeStraddles;
};

Verdicts PrintTargets(const Printer& p, const Samples& s, const ReportFacts& f) {
    p.Heading("4. Targets (medians)");
    Verdicts v;
    // Judged by round: SETUP and the floor of one round ran side by side under the same load.
    const std::string copyKey = "large.ratio.setup/floor";
    double byRound = s.Median(copyKey);
    v.copy = Target(p, "SETUP copy throughput / floor, large medium, by round",
                    byRound > 0 ? 1 / byRound : kNone, kMinCopyThroughputVsFloor, false, "x");
    v.copyStraddles = PrintRoundRange(p, s, copyKey, kMinCopyThroughputVsFloor, false, true);
    v.whole = Target(p, "SETUP whole run, sample medium", s.Median("sample.setup.whole"),
                     kMaxWholeRunMs, true, "ms");
    v.start = Target(p, "SETUP warm start to visible Welcome", s.Median("sample.setup.startUp"),
                     kMaxStartUpMs, true, "ms");
    v.size = Target(p, "SETUP.EXE size", f.setupExeBytes / 1024.0, kMaxSetupExeBytes / 1024.0, true,
                    "KiB");
    const std::string nsisKey = "sample.ratio.silent/nsis.silent";
    v.silentSample = Target(p, "SETUP /S / NSIS /S, launch -> exit, sample medium, by round",
                            s.Median(nsisKey), kMaxSilentVsNsisSilent, true, "x");
    v.silentSampleStraddles = PrintRoundRange(p, s, nsisKey, kMaxSilentVsNsisSilent, true, false);
    const std::string copyFileKey = "large.ratio.silent/copyfile";
    v.silentLarge = Target(p, "SETUP /S launch -> exit / CopyFileA, large medium, by round",
                           s.Median(copyFileKey), kMaxSilentVsCopyFile, true, "x");
    v.silentLargeStraddles = PrintRoundRange(p, s, copyFileKey, kMaxSilentVsCopyFile, true, false);
    return v;
}

void PrintWhereTimeGoes(const Printer& p, const Samples& s, const ReportFacts& f) {
    p.Heading("5. Where the time goes (medians of the robot's phase timings, ms)");
    static const char* const kCopyPhases[][2] = {
        {"OK -> Installing... visible (directory, fonts, dialog)", "setup.toInstalling"},
        {"Installing... visible -> hidden (sizing pass and copy)", "setup.installing"},
        {"Installing... hidden -> Create Application Group visible", "setup.afterCopy"},
    };
    for (const char* medium : {"large", "sample"}) {
        p.Line(std::string("SETUP copy phase, ") + medium + " medium:");
        PrintPhases(p, std::string(medium) + ".", kCopyPhases, 3);
    }
    double floorMs = s.Median("large.floor");
    double setupMs = s.Median("large.setup.copy");
    if (f.large.blocks > 0 && !std::isnan(setupMs) && !std::isnan(floorMs)) {
        double copyLoop = s.Median("large.setup.installing");
        if (std::isnan(copyLoop))
            copyLoop = setupMs;
        char text[256];
        std::snprintf(text, sizeof text,
                      "per 4 KiB block, large medium: SETUP %.1f us, floor %.1f us, CopyFileA "
                      "%.2f us (the data itself); SETUP - floor: %.1f us",
                      1000.0 * copyLoop / f.large.blocks, 1000.0 * floorMs / f.large.blocks,
                      1000.0 * s.Median("large.copyfile") / f.large.blocks,
                      1000.0 * (copyLoop - floorMs) / f.large.blocks);
        p.Line(text);
    }
    // A silent run has no phases the robot can see; the two media split it into what every run
    // costs (start-up, the directory, the end) and what each block costs.
    double silentSample = s.Median("sample.setup.silent");
    double silentLarge = s.Median("large.setup.silent");
    if (f.large.blocks > f.sample.blocks && !std::isnan(silentSample) && !std::isnan(silentLarge)) {
        char text[320];
        uint64_t blocks = f.large.blocks - f.sample.blocks;
        std::snprintf(text, sizeof text,
                      "SETUP /S: per 4 KiB block %.2f us (large minus sample run), floor with no "
                      "drains %.2f us, CopyFileA %.2f us; the sample run, launch -> exit, %s ms, "
                      "of which its copy by CopyFileA would take %s ms",
                      1000.0 * (silentLarge - silentSample) / blocks,
                      1000.0 * s.Median("large.floor.nodrain") / f.large.blocks,
                      1000.0 * s.Median("large.copyfile") / f.large.blocks,
                      Ms(silentSample).c_str(), Ms(s.Median("sample.copyfile")).c_str());
        p.Line(text);
    }
    if (s.Count("drain.window") > 0) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "one empty message drain: %.1f us in a thread with a window, %.1f us in "
                      "one without (medians of %zu x 4000); two per block",
                      s.Median("drain.window"), s.Median("drain.bare"), s.Count("drain.window"));
        p.Line(text);
    }
    static const char* const kRunPhases[][2] = {
        {"launch -> backdrop visible", "setup.toBackdrop"},
        {"launch -> Welcome visible", "setup.startUp"},
        {"Continue -> Install Directory visible", "setup.toDirectory"},
        {"OK -> Create Application Group visible", "setup.copy"},
        {"Skip -> Success visible", "setup.toSuccess"},
        {"OK -> process ended", "setup.toExit"},
    };
    p.Line("SETUP whole run, sample medium:");
    PrintPhases(p, "sample.", kRunPhases, sizeof kRunPhases / sizeof kRunPhases[0]);
    p.Line("  robot's reaction to the four dialogs, the rest of the whole run: " +
           p.Cell("sample.setup.robot") + " ms");
}

void PrintClosingNote(const Printer& p, const ReportFacts& f, const Verdicts& v) {
    p.Heading("Closing note");
    bool allMet = v.silentSample == Verdict::met, unmeasured = false;
    for (Verdict one : {v.copy, v.whole, v.start, v.size, v.silentLarge}) {
        allMet = allMet && one == Verdict::met;
        unmeasured = unmeasured || one == Verdict::unmeasured;
    }
    // Without an NSIS installer, the comparison with it is not measured at all: said on its own.
    unmeasured = unmeasured || (v.silentSample == Verdict::unmeasured && f.haveNsis);
    bool straddles = v.copyStraddles || v.silentSampleStraddles || v.silentLargeStraddles;
    if (allMet && !straddles) {
        p.Line("Every target is met.");
        return;
    }
    if (unmeasured)
        p.Line("Some targets were not measured: see the failures above the table.");
    if (v.silentSample == Verdict::unmeasured && !f.haveNsis)
        p.Line("Silent, sample medium: not measured, for want of an NSIS installer (bench/run "
               "builds one when makensis is installed).");
    if (v.copy == Verdict::missed)
        p.Line("Copy: SETUP's painting and message dispatch cost more than 10 % over the floor; "
               "5 gives the extra time per block and the phases of the copy.");
    if (v.copy != Verdict::unmeasured && v.copyStraddles)
        p.Line("Copy: the single rounds fall on both sides of the target, so the machine's load "
               "decided this verdict; each empty drain is a wineserver round trip and a yield, "
               "and swings with the load (see 5). Run again on a quiet machine to settle it.");
    if (v.whole == Verdict::missed)
        p.Line("Whole run: 5 gives the phases of the run that add up to it.");
    if (v.start == Verdict::missed)
        p.Line("Start-up: 5 splits it into launch -> backdrop and backdrop -> Welcome.");
    if (v.size == Verdict::missed)
        p.Line("Size: the section and symbol sizes printed after this table show where the "
               "bytes go.");
    if (v.silentSample == Verdict::missed)
        p.Line("Silent, sample medium: 5 splits SETUP /S into what every run costs and what each "
               "block costs; the minimal dialog program's start-up (2) is what Wine itself "
               "costs a program.");
    if (v.silentLarge == Verdict::missed)
        p.Line("Silent, large medium: 5 gives SETUP /S's cost per block beside those of the floor "
               "with no drains and of CopyFileA, and what every run costs (the sample run).");
    if (v.silentSampleStraddles || v.silentLargeStraddles)
        p.Line("Silent: the single rounds fall on both sides of a target, so the machine's load "
               "decided that verdict. Run again on a quiet machine to settle it.");
}

} // namespace

size_t Samples::Count(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? 0 : it->second.size();
}

double Samples::Median(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end() || it->second.empty())
        return kNone;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Samples::Min(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() || it->second.empty()
               ? kNone
               : *std::min_element(it->second.begin(), it->second.end());
}

double Samples::Max(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() || it->second.empty()
               ? kNone
               : *std::max_element(it->second.begin(), it->second.end());
}

void Samples::WriteTsv(FILE* out) const {
    std::fprintf(out, "measurement\trun\tms\n");
    for (const auto& [key, values] : values_)
        for (size_t i = 0; i < values.size(); ++i)
            std::fprintf(out, "%s\t%zu\t%.3f\n", key.c_str(), i + 1, values[i]);
}

void PrintReport(FILE* out, const Samples& samples, const ReportFacts& facts) {
    Printer p(out, samples);
    std::fprintf(out, "ZEL installer benchmark: %d runs of each measurement in one Wine prefix\n",
                 facts.runs);
    PrintCopy(p, samples, facts);
    PrintStartAndWhole(p, samples);
    PrintSize(p, facts);
    Verdicts verdicts = PrintTargets(p, samples, facts);
    PrintWhereTimeGoes(p, samples, facts);
    PrintClosingNote(p, facts, verdicts);
}

} // namespace bench

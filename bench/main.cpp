// zel_bench: measures SETUP.EXE against reference copies and an NSIS installer of the same files.
//
//   zel_bench stage --built DIR --sample DIR --large DIR [--large-mib N]
//       Stages both media from the built medium DIR (Windows paths).
//   zel_bench measure --sample DIR [--large DIR] [--nsis-sample EXE --nsis-large EXE]
//                     [--minimal EXE] [--runs N] [--raw FILE]
//       Runs everything N times (after one unmeasured warm-up round on the sample medium),
//       installing into C:\ZEL, and prints the table on stdout; progress goes to stderr.
#include "Copiers.h"
#include "Drivers.h"
#include "Media.h"
#include "Report.h"
#include "Stopwatch.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr const char* kDestination = "C:\\ZEL";
// What the Install Directory dialog proposes on a prefix whose Windows directory is on C:.
constexpr const char* kProposedDirectory = "C:\\ZEL\\";
// A silent install into the proposed directory, C:\ZEL\, as an administrator would start it.
constexpr const char* kSilentSwitches = "/S /NOGROUP";

int Usage() {
    std::fprintf(stderr, "usage: zel_bench stage --built DIR --sample DIR --large DIR "
                         "[--large-mib N]\n"
                         "       zel_bench measure --sample DIR [--large DIR] [--nsis-sample EXE "
                         "--nsis-large EXE] [--minimal EXE] [--runs N] [--raw FILE]\n");
    return 2;
}

int Fail(const std::string& error) {
    std::fprintf(stderr, "zel_bench: %s\n", error.c_str());
    return 1;
}

uint64_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

MediumFacts FactsOf(const Medium& medium) {
    MediumFacts facts;
    facts.bytes = medium.bytes;
    for (const auto& entry : medium.sums)
        facts.blocks += (entry.second.size + 4095) / 4096;
    return facts;
}

// One measured method on one medium: prepares the destination, runs, checks what was
// installed and records the timings under "<medium>.<key>".
struct Method {
    std::string key;
    // The in-process copiers need the destination made; installers make their own. A method
    // that installs nothing leaves it alone and is not checked.
    enum { create, remove, untouched } destination;
    std::function<bool(const Medium&, std::map<std::string, double>*, std::string*)> run;
};

class Bench {
public:
    explicit Bench(Samples* samples) : samples_(samples) {}

    // Returns false when the method failed; the failure is counted and reported. A method that
    // failed twice on a medium is not run on it again: its time-outs would only stretch the run.
    // The timings of a successful run are also merged into `round` when it is given.
    bool Run(const Method& method, const Medium& medium, const std::string& mediumName, bool record,
             bool checkContents, std::map<std::string, double>* round = nullptr) {
        std::string key = mediumName + "." + method.key;
        if (failures_[key] >= 2) {
            if (record)
                samples_->Fail(key);
            return false;
        }
        std::string error;
        std::map<std::string, double> times;
        bool installs = method.destination != Method::untouched;
        bool ok = (!installs ||
                   ResetDirectory(kDestination, method.destination == Method::create, &error)) &&
                  method.run(medium, &times, &error) &&
                  (!installs || CheckInstalled(medium, kDestination, checkContents, &error));
        if (!ok) {
            ++failures_[key];
            std::fprintf(stderr, "  %-22s FAILED: %s\n", key.c_str(), error.c_str());
            if (record)
                samples_->Fail(key);
            return false;
        }
        std::fprintf(stderr, "  %-22s %10.1f ms%s\n", key.c_str(), times[method.key],
                     record ? "" : " (warm-up)");
        if (record)
            for (const auto& [name, ms] : times)
                if (ms >= 0)
                    samples_->Add(mediumName + "." + name, ms);
        if (round)
            round->insert(times.begin(), times.end());
        return true;
    }

private:
    Samples* samples_;
    std::map<std::string, int> failures_;
};

// `withWindow`: the copy runs in a thread that owns a visible window, made before the clock starts.
template <typename Copy> Method InProcess(const std::string& key, Copy copy, bool withWindow) {
    return {key, Method::create,
            [key, copy, withWindow](const Medium& m, std::map<std::string, double>* t,
                                    std::string* error) {
                std::unique_ptr<IdleWindow> window(withWindow ? new IdleWindow : nullptr);
                double start = NowMs();
                if (!copy(m, kDestination, error))
                    return false;
                (*t)[key] = NowMs() - start;
                return true;
            }};
}

Method SetupMethod() {
    return {"setup.copy", Method::remove,
            [](const Medium& m, std::map<std::string, double>* t, std::string* error) {
                SetupTimes s;
                if (!RunSetup(m.dir, kProposedDirectory, &s, error))
                    return false;
                *t = {{"setup.copy", s.copy},
                      {"setup.startUp", s.startUp},
                      {"setup.toBackdrop", s.toBackdrop},
                      {"setup.toDirectory", s.toDirectory},
                      {"setup.toInstalling", s.toInstalling},
                      {"setup.installing", s.installing},
                      {"setup.afterCopy", s.afterCopy},
                      {"setup.toSuccess", s.toSuccess},
                      {"setup.toExit", s.toExit},
                      {"setup.whole", s.whole},
                      {"setup.robot", s.robot}};
                return true;
            }};
}

Method NsisPageMethod(const std::string& installer) {
    return {"nsis.copy", Method::remove,
            [installer](const Medium&, std::map<std::string, double>* t, std::string* error) {
                NsisTimes n;
                if (!RunNsisWithProgressPage(installer, &n, error))
                    return false;
                *t = {{"nsis.copy", n.copy}, {"nsis.startUp", n.startUp}, {"nsis.whole", n.whole}};
                return true;
            }};
}

Method NsisSilentMethod(const std::string& installer) {
    return {"nsis.silent", Method::remove,
            [installer](const Medium&, std::map<std::string, double>* t, std::string* error) {
                double whole = 0;
                if (!RunSilent(installer, "/S", &whole, error))
                    return false;
                (*t)["nsis.silent"] = whole;
                return true;
            }};
}

// The NSIS installer makes no shortcuts, so SETUP is measured without its Program Manager
// group: both then do the same work, the destination and the ten files.
Method SetupSilentMethod() {
    return {"setup.silent", Method::remove,
            [](const Medium& m, std::map<std::string, double>* t, std::string* error) {
                double whole = 0;
                if (!RunSilent(m.dir + "\\SETUP.EXE", kSilentSwitches, &whole, error))
                    return false;
                (*t)["setup.silent"] = whole;
                return true;
            }};
}

Method MinimalMethod(const std::string& exe) {
    return {"minimal.startUp", Method::untouched,
            [exe](const Medium&, std::map<std::string, double>* t, std::string* error) {
                double startUp = 0, whole = 0;
                if (!RunMinimal(exe, &startUp, &whole, error))
                    return false;
                *t = {{"minimal.startUp", startUp}, {"minimal.whole", whole}};
                return true;
            }};
}

std::vector<Method> MethodsFor(const std::string& nsisInstaller) {
    std::vector<Method> methods = {SetupMethod(),
                                   SetupSilentMethod(),
                                   InProcess("floor", CopyFloor, true),
                                   InProcess("floor.bare", CopyFloor, false),
                                   InProcess("floor.nodrain", CopyFloorNoDrain, false),
                                   InProcess("copyfile", CopyWithCopyFile, false)};
    if (!nsisInstaller.empty()) {
        methods.push_back(NsisPageMethod(nsisInstaller));
        methods.push_back(NsisSilentMethod(nsisInstaller));
    }
    return methods;
}

// Ratios of two methods within one round, which ran close together in time: on a machine whose
// load drifts, their median is steadier than the ratio of the two medians. Recorded as
// "<medium>.ratio.<name>".
void AddRoundRatios(const std::string& medium, const std::map<std::string, double>& times,
                    Samples* samples) {
    static const struct {
        const char* name;
        const char* numerator;
        const char* denominator;
    } kRatios[] = {
        {"setup/floor", "setup.copy", "floor"},
        {"setup/copyfile", "setup.copy", "copyfile"},
        {"setup/nsis.copy", "setup.copy", "nsis.copy"},
        {"silent/nsis.silent", "setup.silent", "nsis.silent"},
        {"silent/copyfile", "setup.silent", "copyfile"},
    };
    for (const auto& r : kRatios) {
        auto a = times.find(r.numerator), b = times.find(r.denominator);
        if (a != times.end() && b != times.end() && a->second > 0 && b->second > 0)
            samples->Add(medium + ".ratio." + r.name, a->second / b->second);
    }
}

int Stage(std::map<std::string, std::string>& args) {
    std::string error;
    uint64_t mib =
        args.count("--large-mib") ? std::strtoull(args["--large-mib"].c_str(), 0, 10) : 200;
    if (args["--built"].empty() || args["--sample"].empty() || args["--large"].empty() || !mib)
        return Usage();
    if (!StageSample(args["--built"], args["--sample"], &error) ||
        !StageLarge(args["--built"], args["--large"], mib << 20, &error))
        return Fail(error);
    return 0;
}

int Measure(std::map<std::string, std::string>& args) {
    int runs = args.count("--runs") ? std::atoi(args["--runs"].c_str()) : 5;
    if (args["--sample"].empty() || runs < 1)
        return Usage();
    std::string error;
    Medium sample, large;
    if (!LoadMedium(args["--sample"], &sample, &error))
        return Fail(error);
    bool haveLarge = !args["--large"].empty();
    if (haveLarge && !LoadMedium(args["--large"], &large, &error))
        return Fail(error);

    std::vector<Method> sampleMethods = MethodsFor(args["--nsis-sample"]);
    if (!args["--minimal"].empty())
        sampleMethods.push_back(MinimalMethod(args["--minimal"]));
    std::vector<Method> largeMethods = MethodsFor(args["--nsis-large"]);
    Samples samples;
    Bench bench(&samples);

    // Warm: the wineserver, the desktop process, the loader's and the page cache's view of every
    // program and file. Not recorded.
    std::fprintf(stderr, "warm-up round, sample medium\n");
    for (const Method& m : sampleMethods)
        bench.Run(m, sample, "sample", false, true);

    for (int round = 0; round < runs; ++round) {
        // The order turns from round to round, so that no method always follows the same one.
        for (int which = 0; which < (haveLarge ? 2 : 1); ++which) {
            const std::vector<Method>& methods = which ? largeMethods : sampleMethods;
            std::fprintf(stderr, "round %d of %d, %s medium\n", round + 1, runs,
                         which ? "large" : "sample");
            std::string name = which ? "large" : "sample";
            std::map<std::string, double> times;
            for (size_t i = 0; i < methods.size(); ++i) {
                const Method& m = methods[(i + round) % methods.size()];
                // Contents are compared on every sample run and on the first large run; later
                // large runs compare sizes, which keeps the benchmark within its time.
                bench.Run(m, which ? large : sample, name, true, which == 0 || round == 0, &times);
            }
            AddRoundRatios(name, times, &samples);
        }
    }
    robot::RemoveTree(kDestination, &error);

    // What one empty drain costs, in a thread without windows and in one with a window:
    // alternated, so that both see the same load.
    for (int i = 0; i < runs; ++i) {
        samples.Add("drain.bare", EmptyDrainMicroseconds(4000));
        IdleWindow window;
        samples.Add("drain.window", EmptyDrainMicroseconds(4000));
    }

    ReportFacts facts;
    facts.runs = runs;
    facts.sample = FactsOf(sample);
    facts.haveLarge = haveLarge;
    if (haveLarge)
        facts.large = FactsOf(large);
    facts.haveNsis = !args["--nsis-sample"].empty();
    facts.setupExeBytes = FileBytes(sample.dir + "\\SETUP.EXE");
    if (facts.haveNsis)
        facts.nsisSampleBytes = FileBytes(args["--nsis-sample"]);
    PrintReport(stdout, samples, facts);

    if (!args["--raw"].empty()) {
        if (FILE* raw = std::fopen(args["--raw"].c_str(), "w")) {
            samples.WriteTsv(raw);
            std::fclose(raw);
        }
    }
    return samples.Failures().empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    std::map<std::string, std::string> args;
    for (int i = 2; i + 1 < argc; i += 2)
        args[argv[i]] = argv[i + 1];
    if ((argc - 2) % 2)
        return Usage();
    std::string command = argv[1];
    if (command == "stage")
        return Stage(args);
    if (command == "measure")
        return Measure(args);
    return Usage();
}

// Timings collected over the benchmark's rounds, and the table printed from them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

// Milliseconds by measurement name, e.g. "large.setup.copy", one value per successful run; names
// with ".ratio." hold ratios of two methods within one round instead, and "drain.*" the
// microseconds of one empty message drain.
class Samples {
public:
    void Add(const std::string& key, double ms) { values_[key].push_back(ms); }
    void Fail(const std::string& key) { ++failures_[key]; }
    size_t Count(const std::string& key) const;
    // NaN when there is no value.
    double Median(const std::string& key) const;
    double Min(const std::string& key) const;
    double Max(const std::string& key) const;
    const std::map<std::string, int>& Failures() const { return failures_; }
    // One line per value: key, run index within the key, milliseconds.
    void WriteTsv(FILE* out) const;

private:
    std::map<std::string, std::vector<double>> values_;
    std::map<std::string, int> failures_;
};

struct MediumFacts {
    uint64_t bytes = 0;
    uint64_t blocks = 0; // 4096-byte blocks of the copy loop, over all files
};

struct ReportFacts {
    int runs = 0;
    MediumFacts sample;
    MediumFacts large;
    bool haveLarge = false;
    bool haveNsis = false;
    uint64_t setupExeBytes = 0;
    uint64_t nsisSampleBytes = 0;
};

// Prints the table, the targets and the closing note on where the time goes.
void PrintReport(FILE* out, const Samples& samples, const ReportFacts& facts);

} // namespace bench

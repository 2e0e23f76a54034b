// SPDX-License-Identifier: MIT
#include "engine/storage/archive_file.h"
#include "engine/storage/safe_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 32767;

// Realistic records, appended in no particular order (about 70 bytes a line).
std::vector<cf::Person> MakeRecords()
{
    static const char* const kSurnames[] = {"ROSSI",   "BIANCHI", "VERDI", "ESPOSITO",
                                            "COLOMBO", "DE LUCA", "RICCI"};
    static const char* const kNames[] = {"MARIO",     "LUCIA",  "GIUSEPPE",     "ANNA",
                                         "FRANCESCO", "GIULIA", "NICOL\xC3\x92"};
    static const char* const kPlaces[] = {"ROMA",         "MILANO",  "NAPOLI", "TORINO",
                                          "FORL\xC3\x8C", "BOLOGNA", "BARI"};
    std::vector<cf::Person> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const int mixed = (i * 7919) % kRecords;
        char code[17];
        std::snprintf(code, sizeof code, "RSSMRA%02dA01H%03dX", mixed % 100, mixed % 1000);
        char date[9];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d", mixed % 28 + 1, mixed % 12 + 1, mixed % 100);
        records.push_back({.surname = std::string(kSurnames[mixed % 7]) + std::to_string(mixed),
                           .firstName = kNames[i % 7],
                           .sex = i % 2 ? "M" : "F",
                           .birthDate = date,
                           .place = kPlaces[mixed % 7],
                           .province = "RM",
                           .code = code});
    }
    return records;
}

class ArchiveFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override
    {
        std::string pattern = (fs::temp_directory_path() / "archive_bench.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        directory_ = pattern;
        path_ = (directory_ / cf::kArchiveFileName).string();
        std::string bytes;
        for (const cf::Person& record : MakeRecords()) {
            bytes += "\"";
            for (const std::string* field : {&record.surname, &record.firstName, &record.code, &record.sex,
                                             &record.birthDate, &record.place, &record.province})
                bytes += (field == &record.surname ? "" : "\",\"") + *field;
            bytes += "\"\r\n";
        }
        if (!cf::ReplaceFileContents(path_, bytes))
            std::abort();
    }
    void TearDown(const benchmark::State&) override { fs::remove_all(directory_); }

protected:
    fs::path directory_;
    std::string path_;
};

BENCHMARK_F(ArchiveFixture, LoadArchive32767)(benchmark::State& state)
{
    for (auto _ : state) {
        const cf::LoadedArchive loaded = cf::LoadArchive(path_);
        if (loaded.size() != kRecords)
            state.SkipWithError("wrong record count");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path_)));
}

// A rewrite of every line, as a delete writes all but one.
BENCHMARK_F(ArchiveFixture, RewriteArchive32767)(benchmark::State& state)
{
    cf::LoadedArchive archive = cf::LoadArchive(path_);
    for (auto _ : state) {
        if (!cf::RewriteArchive(path_, archive).ok)
            state.SkipWithError("rewrite failed");
    }
}

}  // namespace

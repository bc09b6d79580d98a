// LoadFromFile of a realistic assay file (2 channels x 1,000,000 samples, 2 x 300 peaks) and of a
// peak-heavy one (2 x 20,000 peaks), each against a baseline on the same file: the work no reader can
// avoid - a plain read of the whole file into a reused buffer, a bare pugixml parse of its XML part
// and a walk over every item converting each value with std::from_chars.
#include "assay/VeltraFile4.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <pugixml.hpp>
#include <random>
#include <string>
#include <vector>

namespace {

// A document like the host writes: noisy detector words and peaks whose values need all 17 digits.
void MakeAssay(CVeltraFile4& doc, size_t samplesPerChannel, size_t peaksPerChannel) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const char16_t* names[] = {u"метан",    u"этан",    u"этилен", u"пропан", u"пропилен",
                               u"изобутан", u"н-бутан", u"",       u"Peak 12"};
    doc.passport.sample = u"воздух с патроном, точка 3";
    doc.passport.method = u"ПНД Ф 13.1:2:3.25-99";
    doc.passport.duration = 1800;
    doc.passport.columns.resize(2);
    doc.passport.params = {{u"volume", u"Объём", u"1.5"}, {u"operator", u"Оператор", u"Иванов И. И."}};
    for (uint32_t number = 0; number < 2; ++number) {
        AssayChannel& channel = doc.channels.emplace_back();
        channel.number = number;
        channel.signalParamA = 0.01;
        channel.signalParamB = 1e-6;
        channel.samples.resize(samplesPerChannel);
        for (uint32_t& word : channel.samples)
            word = static_cast<uint32_t>(random());
        for (size_t i = 0; i < peaksPerChannel; ++i) {
            AssayPeak& peak = channel.peaks.emplace_back();
            peak.time =
                1800.0 * (static_cast<double>(i) + unit(random)) / static_cast<double>(peaksPerChannel);
            peak.front = peak.time - unit(random);
            peak.back = peak.time + unit(random);
            peak.area = 1e5 * unit(random);
            peak.height = 1e3 * unit(random);
            peak.concent = unit(random);
            peak.name = names[i % std::size(names)];
            peak.reference = i % 7 == 0;
            peak.left = static_cast<int32_t>(i * 100);
            peak.right = static_cast<int32_t>(i * 100 + 50);
            peak.flags = static_cast<uint32_t>(random() & 0xFF);
            peak.front_base_height = unit(random);
            peak.back_base_height = unit(random);
            peak.index = 100.0 * static_cast<double>(i) * unit(random);
        }
    }
}

std::string MakeFile(const char* name, size_t samplesPerChannel, size_t peaksPerChannel) {
    const auto path = std::filesystem::temp_directory_path() / name;
    CVeltraFile4 doc;
    MakeAssay(doc, samplesPerChannel, peaksPerChannel);
    if (doc.SaveToFile(path.u16string()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return path.string();
}

// The unavoidable work on the file, once.
double ReadAndWalk(const std::string& path, std::vector<char>& buffer) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const size_t size = static_cast<size_t>(std::ftell(file));
    std::fseek(file, 0, SEEK_SET);
    buffer.resize(size);
    const size_t got = std::fread(buffer.data(), 1, size, file);
    std::fclose(file);
    uint64_t xmlOffset = 0;
    std::memcpy(&xmlOffset, buffer.data() + 8, 8);
    pugi::xml_document document;
    document.load_buffer_inplace(buffer.data() + xmlOffset, got - xmlOffset, pugi::parse_default,
                                 pugi::encoding_utf8);
    double sum = 0;
    for (pugi::xml_node channel : document.document_element().child("channels").children("channel"))
        for (pugi::xml_node item : channel.child("table").children("item"))
            for (pugi::xml_node member : item.children()) {
                const char* text = member.attribute("value").value();
                double value = 0;
                std::from_chars(text, text + std::strlen(text), value);
                sum += value;
            }
    return sum;
}

void Baseline(benchmark::State& state, const std::string& path) {
    std::vector<char> buffer;
    ReadAndWalk(path, buffer); // warm-up: the buffer reaches its size
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndWalk(path, buffer));
}

// One document read again and again, as a reader going through a batch of files does.
void Load(benchmark::State& state, const std::string& path) {
    CVeltraFile4 doc;
    const std::u16string name = std::filesystem::path(path).u16string();
    doc.LoadFromFile(name); // warm-up: the document's storage reaches its size
    for (auto _ : state)
        if (doc.LoadFromFile(name) != 0)
            state.SkipWithError("load failed");
}

// A new document for every file: its sample words come from fresh memory each time.
void LoadFresh(benchmark::State& state, const std::string& path) {
    const std::u16string name = std::filesystem::path(path).u16string();
    for (auto _ : state) {
        CVeltraFile4 doc;
        if (doc.LoadFromFile(name) != 0)
            state.SkipWithError("load failed");
    }
}

// The ratio of LoadFromFile to the baseline, measured in turns: the machine is shared, and whatever
// else runs slows the two alike only when they alternate. The fastest pass of each is compared - the
// one least disturbed - after about `seconds` of turns.
double MeasureRatio(const std::string& path, double seconds) {
    using Clock = std::chrono::steady_clock;
    std::vector<char> buffer;
    CVeltraFile4 doc;
    const std::u16string name = std::filesystem::path(path).u16string();
    ReadAndWalk(path, buffer);
    doc.LoadFromFile(name);
    double fastestBase = INFINITY;
    double fastestLoad = INFINITY;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (int turn = 0; turn < 5 || Clock::now() < end; ++turn) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(ReadAndWalk(path, buffer));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(doc.LoadFromFile(name));
        const auto t2 = Clock::now();
        fastestBase = std::min(fastestBase, std::chrono::duration<double>(t1 - t0).count());
        fastestLoad = std::min(fastestLoad, std::chrono::duration<double>(t2 - t1).count());
    }
    return fastestLoad / fastestBase;
}

} // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process, so that every case runs on a warm heap. Otherwise whether
    // glibc hands the tens of megabytes of a parsed document back to the system between iterations -
    // and every page is faulted in again, which costs microseconds a page here - depends on what the
    // cases before happened to free, and swamps the work being compared.
#ifdef __GLIBC__
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    benchmark::Initialize(&argc, argv);
    const std::pair<const char*, std::string> files[] = {
        {"realistic", MakeFile("atmocalc-bench-realistic.dat", 1'000'000, 300)},
        {"peaks", MakeFile("atmocalc-bench-peaks.dat", 10'000, 20'000)},
    };
    for (const auto& [name, path] : files) {
        // At least a second each: a pass over the peak-heavy file takes a few hundredths of one.
        benchmark::RegisterBenchmark((std::string("baseline/") + name).c_str(), Baseline, path)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        benchmark::RegisterBenchmark((std::string("LoadFromFile/") + name).c_str(), Load, path)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        benchmark::RegisterBenchmark((std::string("LoadFromFile_new_document/") + name).c_str(), LoadFresh,
                                     path)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [name, path] : files) {
        std::printf("ratio assay_load_%s %.2f\n", name, MeasureRatio(path, 2.0));
        std::filesystem::remove(path);
    }
    return 0;
}

// Shared by the assay tests: a temporary folder, raw file images for files the writer would never
// make, and a member-by-member comparison of documents with doubles compared bit for bit.
#pragma once

#include "TempFolder.h"
#include "assay/VeltraFile4.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

inline void WriteBytes(const std::u16string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::u16string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TestBlock {
    uint8_t number = 0;
    std::vector<uint32_t> words;
    double signalParamA = 0;
    double signalParamB = 0;
};

template <typename T> void PutLittleEndian(std::string& bytes, size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

// A file image: header, the blocks, the XML text; the XML offset points right after the blocks.
inline std::string MakeImage(const std::vector<TestBlock>& blocks, const std::string& xml,
                             uint8_t version = 1) {
    std::string bytes(16, '\0');
    std::memcpy(bytes.data(), "STG", 3);
    bytes[3] = static_cast<char>(version);
    for (const TestBlock& b : blocks) {
        const size_t at = bytes.size();
        bytes.resize(at + 32 + 4 * b.words.size());
        bytes[at] = static_cast<char>(b.number);
        PutLittleEndian(bytes, at + 8, b.signalParamA);
        PutLittleEndian(bytes, at + 16, b.signalParamB);
        PutLittleEndian(bytes, at + 24, uint64_t(b.words.size()));
        if (!b.words.empty())
            std::memcpy(bytes.data() + at + 32, b.words.data(), 4 * b.words.size());
    }
    PutLittleEndian(bytes, 8, uint64_t(bytes.size()));
    return bytes + xml;
}

// An XML part with the given passport children and "channel" elements.
inline std::string MakeXml(const std::string& passport, const std::string& channels) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><root version=\"1\"><passport version=\"1\">" +
           passport + "</passport><channels version=\"1\">" + channels + "</channels></root>";
}

inline bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

#define EXPECT_SAME_BITS(a, b) EXPECT_PRED2(SameBits, a, b)

inline void ExpectSamePeak(const AssayPeak& a, const AssayPeak& b) {
    EXPECT_SAME_BITS(a.front, b.front);
    EXPECT_SAME_BITS(a.back, b.back);
    EXPECT_SAME_BITS(a.time, b.time);
    EXPECT_SAME_BITS(a.area, b.area);
    EXPECT_SAME_BITS(a.height, b.height);
    EXPECT_SAME_BITS(a.concent, b.concent);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.reference, b.reference);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_SAME_BITS(a.front_base_height, b.front_base_height);
    EXPECT_SAME_BITS(a.back_base_height, b.back_base_height);
    EXPECT_SAME_BITS(a.index, b.index);
}

inline void ExpectSameColumn(const ColumnInfo& a, const ColumnInfo& b) {
    EXPECT_EQ(a.channel, b.channel);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.brand, b.brand);
    EXPECT_EQ(a.type, b.type);
    EXPECT_SAME_BITS(a.diameter, b.diameter);
    EXPECT_SAME_BITS(a.length, b.length);
    EXPECT_EQ(a.carrier, b.carrier);
    EXPECT_EQ(a.phase, b.phase);
    EXPECT_SAME_BITS(a.percent, b.percent);
    EXPECT_EQ(a.unit, b.unit);
    EXPECT_SAME_BITS(a.fraction0, b.fraction0);
    EXPECT_SAME_BITS(a.fraction1, b.fraction1);
    EXPECT_SAME_BITS(a.film, b.film);
    EXPECT_EQ(a.part, b.part);
    EXPECT_EQ(a.serial, b.serial);
}

// Everything but passport.filePath, which depends on how a document was read.
inline void ExpectSameDocument(const CVeltraFile4& a, const CVeltraFile4& b) {
    EXPECT_EQ(a.formatVersion, b.formatVersion);
    const AssayPassport& p = a.passport;
    const AssayPassport& q = b.passport;
    EXPECT_EQ(p.assayid, q.assayid);
    EXPECT_EQ(p.series, q.series);
    EXPECT_EQ(p.andate, q.andate);
    EXPECT_SAME_BITS(p.duration, q.duration);
    EXPECT_EQ(p.sample, q.sample);
    EXPECT_EQ(p.method, q.method);
    EXPECT_EQ(p.graduation, q.graduation);
    EXPECT_EQ(p.date, q.date);
    EXPECT_EQ(p.defect, q.defect);
    EXPECT_EQ(p.mixture, q.mixture);
    ASSERT_EQ(p.columns.size(), q.columns.size());
    for (size_t i = 0; i < p.columns.size(); ++i)
        ExpectSameColumn(p.columns[i], q.columns[i]);
    ASSERT_EQ(p.params.size(), q.params.size());
    for (size_t i = 0; i < p.params.size(); ++i) {
        EXPECT_EQ(p.params[i].name, q.params[i].name);
        EXPECT_EQ(p.params[i].title, q.params[i].title);
        EXPECT_EQ(p.params[i].value, q.params[i].value);
    }
    ASSERT_EQ(a.channels.size(), b.channels.size());
    for (auto c = a.channels.begin(), d = b.channels.begin(); c != a.channels.end(); ++c, ++d) {
        EXPECT_EQ(c->number, d->number);
        EXPECT_EQ(c->samples, d->samples);
        EXPECT_SAME_BITS(c->signalParamA, d->signalParamA);
        EXPECT_SAME_BITS(c->signalParamB, d->signalParamB);
        ASSERT_EQ(c->peaks.size(), d->peaks.size());
        for (size_t i = 0; i < c->peaks.size(); ++i)
            ExpectSamePeak(c->peaks[i], d->peaks[i]);
    }
}

// A document that uses every member, with doubles that a shorter format would not keep.
inline void FillDocument(CVeltraFile4& doc) {
    AssayPassport& p = doc.passport;
    p.assayid = u"3f2504e0-4f89-11d3-9a0c-0305e82c3301";
    p.series = u"Серия 7 <A&B>";
    p.andate = INT64_MIN;
    p.duration = 0.1;
    p.sample = u"воздух \"с патроном\"\n\tвторая строка";
    p.method = u"ПНД Ф 13.1:2:3.25-99";
    p.graduation = true;
    p.date = INT64_MAX;
    p.defect = true;
    p.mixture = u"ПГС №3 'метан'";
    ColumnInfo column;
    column.channel = 1;
    column.name = u"HP-PLOT Al2O3";
    column.brand = u"Agilent";
    column.type = -3;
    column.diameter = 0.32;
    column.length = 50;
    column.carrier = u"гелий";
    column.phase = u"Al2O3/KCl";
    column.percent = 1.0 / 3.0;
    column.unit = 2;
    column.fraction0 = 5e-324;
    column.fraction1 = -0.0;
    column.film = 8e-6;
    column.part = u"19091P-S12";
    column.serial = u"US1234567";
    p.columns = {column, ColumnInfo{}};
    p.params = {{u"volume", u"Объём", u"1.5"}, {u"operator", u"", u"Иванов И. И."}};

    AssayChannel& first = doc.channels.emplace_back();
    first.number = 0;
    first.samples = {0, 1, 0xFFFFFFFFu, 123456789};
    first.signalParamA = 1.0 / 3.0;
    first.signalParamB = -0.0;
    AssayPeak peak;
    peak.front = 0.1;
    peak.back = 1e21;
    peak.time = 2.2250738585072014e-308;
    peak.area = 1.7976931348623157e308;
    peak.height = -123.456;
    peak.concent = 4.9406564584124654e-324;
    peak.name = u"метан";
    peak.reference = true;
    peak.left = INT32_MIN;
    peak.right = INT32_MAX;
    peak.flags = 0xFFFFFFFFu;
    peak.front_base_height = std::numeric_limits<double>::infinity();
    peak.back_base_height = -std::numeric_limits<double>::infinity();
    peak.index = 712.5;
    first.peaks = {peak, AssayPeak{}};
    first.peaks[1].name = u"Ethylene C2H4";

    AssayChannel& second = doc.channels.emplace_back();
    second.number = 255;
    second.signalParamA = 1e-300;
    second.signalParamB = 6.02214076e23;
}

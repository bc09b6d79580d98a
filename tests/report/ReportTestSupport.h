// Inputs of a report and an installed template in a scratch public folder, with a scratch temporary
// folder, UTC time and no locale, so that every text of a report is known in advance.
#pragma once

#include "report/Report.h"

#include "platform/text/Utf.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

inline constexpr int64_t kCreated = 1706796309; // 2024-02-01 14:05:09 UTC

// The text a report gives a moment: without a locale (these tests' LC_ALL=C) its ISO text, UTC;
// Windows always has the user's locale and time zone, so there it is that format of the moment.
inline std::u16string DateText(int64_t time, std::u16string_view iso) {
#ifdef _WIN32
    static_cast<void>(iso);
    return FormatDateTime(time);
#else
    static_cast<void>(time);
    return std::u16string(iso);
#endif
}

#ifdef _WIN32
constexpr int kNoFolder = 3; // ERROR_PATH_NOT_FOUND
#else
constexpr int kNoFolder = ENOENT;
#endif

inline MeasurementRecord Measurement(std::u16string fileName, std::u16string sample, SampleType type,
                                     bool isCalibration = false, std::u16string mixture = u"",
                                     int64_t analysisTime = kCreated - 3600) {
    MeasurementRecord record;
    record.fileName = std::move(fileName);
    record.sample = std::move(sample);
    record.mixture = std::move(mixture);
    record.analysisTime = analysisTime;
    record.isCalibration = isCalibration;
    record.sampleType = type;
    return record;
}

// A template whose one template for "/" holds body, with top-level elements top and namespace
// declarations namespaces.
inline std::string TemplateWith(std::string_view body, std::string_view top = "",
                                std::string_view namespaces = "") {
    return "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"" +
           std::string(namespaces) + ">" + std::string(top) + "<xsl:template match=\"/\">" +
           std::string(body) + "</xsl:template></xsl:stylesheet>";
}

class ReportTest : public testing::Test {
protected:
    void SetUp() override {
        environment.Set("TZ", "UTC0");
        environment.Set("LC_ALL", "C");
        environment.Unset("LANGUAGE");
        environment.Set("PUBLIC", scratch.Path("Public"));
        environment.Set("TMPDIR", scratch.Path("tmp"));
        environment.Set("TMP", scratch.Path("tmp")); // GetTempPathW's

        std::filesystem::create_directories(scratch.Path("tmp"));
    }

    ReportRequest Request() {
        ReportRequest request{measurements, result, messages, settings};
        request.createdTime = kCreated;
        return request;
    }

    // Puts a template text where the report looks for it.
    void InstallTemplate(std::string_view text) {
        scratch.Write("Public/Documents/Veltra4/atmocalc/templates/Report.xsl", text);
    }
    void InstallDeliveredTemplate() { InstallTemplate(ScratchFolder::Read(ATMOCALC_REPORT_TEMPLATE)); }

    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.Path("tmp")))
            names.push_back(ScratchFolder::Utf8(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchFolder scratch;
    ScopedEnvironment environment;
    MessageBoxRecorder boxes;
    MeasurementSet measurements;
    CalcResult result;
    std::vector<std::u16string> messages;
    SettingsRecord settings;
};

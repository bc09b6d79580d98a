#include "ReportTestSupport.h"
#include "platform/system/SystemErrorText.h"
#include "platform/system/TempFile.h"
#include "platform/text/Format.h"

#include "report/ReportFailure.h"

#include "platform/xml/ComInit.h"

#include <libexslt/exslt.h>

#include <regex>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFailingTemplate =
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
    "<xsl:template match=\"/\"><xsl:message terminate=\"yes\">stop</xsl:message></xsl:template>"
    "</xsl:stylesheet>";

bool ComIsUninitialised() {
    APTTYPE type;
    return CoGetApartmentType(&type) == CO_E_NOTINITIALIZED;
}

} // namespace

class MakeReportTest : public ReportTest {
protected:
    // The one error box shown, checking its caption and flags.
    std::u16string OnlyBox() const {
        EXPECT_EQ(boxes.boxes.size(), 1u);
        if (boxes.boxes.empty())
            return {};
        EXPECT_EQ(boxes.boxes[0].caption, u"atmocalc");
        EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);
        return boxes.boxes[0].text;
    }
};

TEST_F(MakeReportTest, WritesTheHtmlBesideANewEmptyTemporaryFile) {
    InstallDeliveredTemplate();
    auto request = Request();
    ASSERT_TRUE(MakeReport(request));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(ComIsUninitialised());

    const std::string output = Utf16ToUtf8(request.outputPath);
    const std::string folder = Utf16ToUtf8(TempFolder());
    std::smatch match;
    ASSERT_TRUE(output.starts_with(folder)) << output;
    // Windows writes the number in capitals, wine in small letters.
    const std::string name = output.substr(folder.size());
    ASSERT_TRUE(
        std::regex_match(name, match, std::regex(R"((vlx[0-9A-F]{1,4}\.TMP)\.html)", std::regex::icase)))
        << output;
    EXPECT_EQ(TempFiles(), (std::vector<std::string>{match[1], match[1].str() + ".html"}));
    EXPECT_EQ(fs::file_size(ScratchFolder::Native(scratch.Path("tmp/" + match[1].str()))), 0u);
#ifndef _WIN32
    EXPECT_EQ(fs::status(output).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif

    EXPECT_EQ(ScratchFolder::Read(output), Utf16ToUtf8(request.resultText));
    EXPECT_TRUE(request.xmlText.starts_with(u"<?xml version=\"1.0\" encoding=\"UTF-16LE\"?><root "));
    EXPECT_NE(request.xslText.find(u"<xsl:stylesheet"), std::u16string::npos);
}

TEST_F(MakeReportTest, TwoReportsMakeTwoFilesAndKeepBoth) {
    InstallDeliveredTemplate();
    auto first = Request();
    auto second = Request();
    ASSERT_TRUE(MakeReport(first));
    ASSERT_TRUE(MakeReport(second));
    EXPECT_NE(first.outputPath, second.outputPath);
    EXPECT_EQ(TempFiles().size(), 4u);
    EXPECT_TRUE(fs::exists(fs::path(first.outputPath)));
}

TEST_F(MakeReportTest, WithoutPublicThereIsNoReportAndNoBox) {
    InstallDeliveredTemplate();
    for (const bool empty : {false, true}) {
        if (empty)
            environment.Set("PUBLIC", "");
        else
            environment.Unset("PUBLIC");
        EXPECT_EQ(TemplateFolder(), u"");
        auto request = Request();
        EXPECT_FALSE(MakeReport(request));
        EXPECT_TRUE(request.xslText.empty());
        EXPECT_TRUE(request.outputPath.empty());
    }
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(MakeReportTest, TemplateFolderIsUnderThePublicDocuments) {
    environment.Set("PUBLIC", "/srv/Public");
    EXPECT_EQ(TemplateFolder(), u"/srv/Public/Documents/Veltra4/atmocalc/templates");
}

TEST_F(MakeReportTest, MissingOrBrokenTemplateGivesTheTemplateBoxAndNoFile) {
    for (const std::string& text :
         {std::string(), std::string("<xsl:stylesheet"),
          "<!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" + TemplateWith("<p>&b;</p>")}) {
        if (!text.empty())
            InstallTemplate(text);
        auto request = Request();
        EXPECT_FALSE(MakeReport(request));
        EXPECT_EQ(OnlyBox(), u"Не удалось загрузить шаблон отчёта.\nError parsing XSLT Document instance.");
        EXPECT_TRUE(request.outputPath.empty());
        boxes.boxes.clear();
    }
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(MakeReportTest, TemplateFailingDuringTheTransformationGivesTheCodeBox) {
    InstallTemplate(kFailingTemplate);
    auto request = Request();
    EXPECT_FALSE(MakeReport(request));
    EXPECT_EQ(OnlyBox(), u"Ошибка -2147220733. Не удалось создать отчёт.\n"
                         u"The stylesheet failed during the transformation.");
    EXPECT_TRUE(request.outputPath.empty());
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(MakeReportTest, BoxesComeAfterTheStageHasTakenBackItsInitialisation) {
    std::vector<bool> uninitialisedAtBox;
    const MessageBoxHandler recorder = SetMessageBoxHandler([&](const MessageBoxRequest&) {
        uninitialisedAtBox.push_back(ComIsUninitialised());
        return IDOK;
    });
    auto request = Request();
    EXPECT_FALSE(MakeReport(request)); // no template: the template stage's box
    InstallTemplate(kFailingTemplate);
    EXPECT_FALSE(MakeReport(request)); // the transformation stage's box
    SetMessageBoxHandler(recorder);
    EXPECT_EQ(uninitialisedAtBox, (std::vector<bool>{true, true}));
}

TEST_F(MakeReportTest, TemplatesCannotReadOrWriteFiles) {
    exsltRegisterAll(); // as a host may have done for its own use; without it exsl:document is unknown
    const std::string secret = scratch.Write("secret.txt", "<secret>root:x:0:0</secret>");
    const std::string planted = scratch.Path("tmp/planted.html");
    for (const std::string& text :
         {TemplateWith("<xsl:copy-of select=\"document('" + secret + "')\"/>"),
          TemplateWith("<exsl:document href=\"" + planted + "\">written</exsl:document>", "",
                       " xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\"")}) {
        InstallTemplate(text);
        auto request = Request();
        EXPECT_FALSE(MakeReport(request));
        EXPECT_EQ(OnlyBox(), u"Ошибка -2147220732. Не удалось создать отчёт.\n"
                             u"The stylesheet tried to read or write a file or a network resource.");
        EXPECT_EQ(request.resultText.find(u"root:x"), std::u16string::npos);
        boxes.boxes.clear();
    }
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(MakeReportTest, ComAlreadyInitialisedInTheSameModelIsLeftAsFound) {
    InstallDeliveredTemplate();
    ASSERT_EQ(CoInitialize(), S_OK);
    auto request = Request();
    EXPECT_TRUE(MakeReport(request));
    APTTYPE type;
    EXPECT_EQ(CoGetApartmentType(&type), S_OK);
    EXPECT_EQ(type, APTTYPE_STA);
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(MakeReportTest, ComInTheOtherModelFailsAndIsLeftUntouched) {
    InstallDeliveredTemplate();
    ASSERT_EQ(CoInitializeEx(COINIT_MULTITHREADED), S_OK);
    auto request = Request();
    EXPECT_FALSE(MakeReport(request));
    EXPECT_EQ(OnlyBox(), u"Не удалось загрузить шаблон отчёта.\nFailed to initialize COM environment.");
    APTTYPE type;
    EXPECT_EQ(CoGetApartmentType(&type), S_OK);
    EXPECT_EQ(type, APTTYPE_MTA);
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialised());
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(MakeReportTest, TransformationRefusesDocumentsThatDoNotParse) {
    ASSERT_EQ(CoInitialize(), S_OK); // only to see that the stage balances its own initialisation
    auto request = Request();
    request.xmlText = u"<root><files></root>";
    request.xslText = u"<x/>";
    EXPECT_THROW(
        try { TransformReport(request); } catch (const ReportFailure& failure) {
            EXPECT_STREQ(failure.what(), "Error parsing Source Document instance.");
            throw;
        },
        ReportFailure);
    request.xmlText = u"<root/>";
    request.xslText = u"<xsl:stylesheet";
    EXPECT_THROW(
        try { TransformReport(request); } catch (const ReportFailure& failure) {
            EXPECT_STREQ(failure.what(), "Error parsing Stylesheet Document instance.");
            throw;
        },
        ReportFailure);
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialised());
    EXPECT_TRUE(TempFiles().empty());
}

// GetTempFileNameW says a missing folder is no directory name.
#ifdef _WIN32
constexpr int kNoTempFolder = 267; // ERROR_DIRECTORY
#else
constexpr int kNoTempFolder = ENOENT;
#endif

TEST_F(MakeReportTest, MissingTemporaryFolderIsReported) {
    InstallDeliveredTemplate();
    environment.Set("TMPDIR", scratch.Path("gone"));
    environment.Set("TMP", scratch.Path("gone"));
    auto request = Request();
    EXPECT_FALSE(MakeReport(request));
    EXPECT_EQ(OnlyBox(), u"Не удалось создать отчёт.\nFailed to create a temporary file in \"" +
                             TempFolder() + u"\": " + *SystemErrorText(HResultFromErrno(kNoTempFolder)));
}

TEST_F(MakeReportTest, GivenTemplateAndTargetReplaceTheFolderRuleAndTheTemporaryFile) {
    environment.Unset("PUBLIC");
    const std::string target = scratch.Write("out/report.html", "old report");
    auto request = Request();
    request.templatePath = Utf8ToUtf16(ATMOCALC_REPORT_TEMPLATE);
    request.targetPath = Utf8ToUtf16(target);
    ASSERT_TRUE(MakeReport(request));
    EXPECT_EQ(request.outputPath, request.targetPath);
    EXPECT_EQ(ScratchFolder::Read(target), Utf16ToUtf8(request.resultText));
    EXPECT_TRUE(TempFiles().empty());

    request.targetPath = Utf8ToUtf16(scratch.Path("missing/report.html"));
    request.outputPath.clear();
    EXPECT_FALSE(MakeReport(request));
    EXPECT_EQ(OnlyBox(), FormatText(u"Ошибка %d. Не удалось создать отчёт.\n%s", HResultFromErrno(kNoFolder),
                                    *SystemErrorText(HResultFromErrno(kNoFolder))));
    EXPECT_TRUE(request.outputPath.empty());
}

TEST(ComErrorText, IsTheSystemTextElseTheInterfaceOrUnknownText) {
    ScopedEnvironment environment;
    environment.Set("LC_ALL", "C");
    environment.Unset("LANGUAGE");
    EXPECT_EQ(ComErrorText(E_FAIL), u"Unspecified error");
#ifndef _WIN32
    EXPECT_EQ(ComErrorText(HResultFromErrno(EACCES)), u"Permission denied");
#endif
    EXPECT_EQ(ComErrorText(XML_E_LIMIT), u"The transformation exceeded its limit of depth or work.");
    EXPECT_EQ(ComErrorText(static_cast<HRESULT>(0x80040201u)), u"IDispatch error #1");
    EXPECT_EQ(ComErrorText(static_cast<HRESULT>(0x8004FFFFu)), u"IDispatch error #65023");
    EXPECT_EQ(ComErrorText(static_cast<HRESULT>(0x80040200u)), u"Unknown error 0x80040200");
    EXPECT_EQ(ComErrorText(static_cast<HRESULT>(0x80070000u | 9999)), u"Unknown error 0x8007270F");
    EXPECT_EQ(ComErrorText(0x1234), u"Unknown error 0x1234");
}

#include "XmlTestSupport.h"

#include "platform/text/Utf.h"
#include "support/ScratchFolder.h"

#include <libexslt/exslt.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::u16string kSource = u"<root a=\"ж &lt;b&gt; &amp;\"><row/><row/></root>";

std::u16string Stylesheet(std::u16string_view body, std::u16string_view top = u"",
                          std::u16string_view attributes = u"") {
    return u"<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"" +
           std::u16string(attributes) + u">" + std::u16string(top) + u"<xsl:template match=\"/\">" +
           std::u16string(body) + u"</xsl:template></xsl:stylesheet>";
}

} // namespace

class XmlTransformTest : public XmlTest {
protected:
    // Transforms kSource (or source) with the stylesheet text into output and gives the code.
    HRESULT Transform(std::u16string_view stylesheet, XmlDocument& output,
                      std::u16string_view source = kSource) {
        return Parsed(source)->transformNodeToObject(*Parsed(stylesheet), output);
    }

    // The code of a transformation that must fail, checking that the output was left alone.
    HRESULT FailedTransform(std::u16string_view stylesheet, std::u16string_view source = kSource) {
        const auto output = Parsed(u"<kept/>");
        const HRESULT hr = Transform(stylesheet, *output, source);
        EXPECT_NE(TextOf(*output).find(u"<kept/>"), std::u16string::npos);
        return hr;
    }

    ScratchFolder folder;
};

TEST_F(XmlTransformTest, ResultIsWrittenAsTheStylesheetsOutputSettingsSay) {
    const auto output = NewDocument();
    ASSERT_EQ(Transform(Stylesheet(u"<html><body><p><xsl:value-of select=\"root/@a\"/></p></body></html>",
                                   u"<xsl:output method=\"html\" encoding=\"UTF-8\" "
                                   u"doctype-system=\"about:legacy-compat\"/>"),
                        *output),
              S_OK);
    const std::u16string text = TextOf(*output);
    EXPECT_EQ(text.find(u"<!DOCTYPE html>"), 0u) << Utf16ToUtf8(text);
    EXPECT_NE(text.find(u"<p>ж &lt;b&gt; &amp;</p>"), std::u16string::npos) << Utf16ToUtf8(text);
    const std::string path = folder.Path("out.html");
    ASSERT_EQ(output->save(Utf8ToUtf16(path)), S_OK);
    EXPECT_EQ(Utf8ToUtf16(ScratchFolder::Read(path)), text);

    // Another encoding is used for the file; the text stays characters.
    ASSERT_EQ(Transform(Stylesheet(u"<p><xsl:value-of select=\"root/@a\"/></p>",
                                   u"<xsl:output method=\"html\" encoding=\"windows-1251\"/>"),
                        *output),
              S_OK);
    EXPECT_NE(TextOf(*output).find(u"<p>ж &lt;b&gt; &amp;</p>"), std::u16string::npos);
    ASSERT_EQ(output->save(Utf8ToUtf16(folder.Path("cp1251.html"))), S_OK);
    EXPECT_NE(ScratchFolder::Read(folder.Path("cp1251.html")).find("<p>\xE6 &lt;b&gt; &amp;</p>"),
              std::string::npos);
}

TEST_F(XmlTransformTest, LongTextsKeepEveryCharacterAcrossTheWritersPieces) {
    std::u16string value;
    for (int i = 0; i < 5000; ++i)
        value += i % 3 == 0 ? u"ж" : i % 3 == 1 ? u"a" : u"\U0001D11E"; // 2-, 1- and 4-byte UTF-8
    const auto source = Parsed(u"<root a=\"" + value + u"\"/>");
    EXPECT_NE(TextOf(*source).find(u"<root a=\"" + value + u"\"/>"), std::u16string::npos);
    const auto output = NewDocument();
    ASSERT_EQ(source->transformNodeToObject(*Parsed(Stylesheet(u"<p><xsl:value-of select=\"root/@a\"/></p>",
                                                               u"<xsl:output method=\"html\"/>")),
                                            *output),
              S_OK);
    EXPECT_EQ(TextOf(*output), u"<p>" + value + u"</p>\n");
}

TEST_F(XmlTransformTest, EmptyDocumentsAreNotTransformed) {
    const auto empty = NewDocument();
    const auto output = NewDocument();
    EXPECT_EQ(empty->transformNodeToObject(*Parsed(Stylesheet(u"<x/>")), *output), XML_E_NOTLOADED);
    EXPECT_EQ(Parsed(kSource)->transformNodeToObject(*empty, *output), XML_E_NOTLOADED);
}

TEST_F(XmlTransformTest, StylesheetsThatDoNotCompileOrFailWhileRunningHaveTheirCodes) {
    EXPECT_EQ(FailedTransform(u"<html><body/></html>"), XML_E_STYLESHEET);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:value-of select=\"((\"/>")), XML_E_STYLESHEET);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:message terminate=\"yes\">stop</xsl:message>")),
              XML_E_TRANSFORM);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:value-of select=\"unknown-function()\"/>")), XML_E_TRANSFORM);
}

TEST_F(XmlTransformTest, StylesheetsCannotReadFiles) {
    const std::string secret = folder.Write("secret.txt", "<secret>root:x:0:0</secret>");
    const std::u16string uri = Utf8ToUtf16(secret);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:copy-of select=\"document('" + uri + u"')\"/>")),
              XML_E_FORBIDDEN);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:copy-of select=\"document('file://" + uri + u"')\"/>")),
              XML_E_FORBIDDEN);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:copy-of select=\"document('')\"/>")), XML_E_FORBIDDEN);
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:copy-of select=\"document('http://127.0.0.1:9/x.xml')\"/>")),
              XML_E_FORBIDDEN);
}

namespace {

// A file's path as an href: a file URI on Windows, where the drive letter would read as a scheme.
std::string Href(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
    return "file:///" + path;
#else
    return path;
#endif
}

} // namespace

TEST_F(XmlTransformTest, StylesheetsCannotImportOrIncludeWhileTheHostStillCan) {
    const std::string imported = folder.Write(
        "imported.xsl", "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                        "<xsl:template match=\"row\">imported</xsl:template></xsl:stylesheet>");
    const std::u16string href = Utf8ToUtf16(Href(imported));
    EXPECT_EQ(FailedTransform(Stylesheet(u"<xsl:apply-templates/>", u"<xsl:import href=\"" + href + u"\"/>")),
              XML_E_FORBIDDEN);
    EXPECT_EQ(
        FailedTransform(Stylesheet(u"<xsl:apply-templates/>", u"<xsl:include href=\"" + href + u"\"/>")),
        XML_E_FORBIDDEN);

    // The host's own stylesheets, compiled outside our documents, still load theirs.
    const std::string hostStylesheet = folder.Write(
        "host.xsl", "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                    "<xsl:import href=\"" +
                        Href(imported) + "\"/></xsl:stylesheet>");
    xsltStylesheetPtr host = xsltParseStylesheetFile(BAD_CAST hostStylesheet.c_str());
    ASSERT_NE(host, nullptr);
    EXPECT_NE(host->imports, nullptr);
    xsltFreeStylesheet(host);
}

TEST_F(XmlTransformTest, StylesheetsCannotWriteFilesEvenWithExtensionsRegistered) {
    exsltRegisterAll(); // as a host may have done for its own use
    const std::u16string target = Utf8ToUtf16(folder.Path("written.txt"));
    EXPECT_EQ(
        FailedTransform(Stylesheet(u"<exsl:document href=\"" + target + u"\">pwned</exsl:document>", u"",
                                   u" xmlns:exsl=\"http://exslt.org/common\" "
                                   u"extension-element-prefixes=\"exsl\"")),
        XML_E_FORBIDDEN);
    EXPECT_EQ(
        FailedTransform(u"<xsl:stylesheet version=\"1.1\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                        u"<xsl:template match=\"/\"><xsl:document href=\"" +
                        target + u"\">pwned</xsl:document></xsl:template></xsl:stylesheet>"),
        XML_E_FORBIDDEN);
    EXPECT_FALSE(fs::exists(folder.Path("written.txt")));
}

namespace {

std::u16string WideSource() {
    std::u16string wide = u"<root>";
    for (int i = 0; i < 200; ++i)
        wide += u"<row/>";
    return wide + u"</root>";
}

} // namespace

TEST_F(XmlTransformTest, NestedLoopsStopAtTheInstructionLimit) {
    // 200^4 iterations: hours and gigabytes without the limit.
    EXPECT_EQ(
        FailedTransform(Stylesheet(u"<xsl:for-each select=\"//node()\"><xsl:for-each select=\"//node()\">"
                                   u"<xsl:for-each select=\"//node()\"><xsl:for-each select=\"//node()\">"
                                   u"<xsl:value-of select=\"name()\"/></xsl:for-each></xsl:for-each>"
                                   u"</xsl:for-each></xsl:for-each>"),
                        WideSource()),
        XML_E_LIMIT);
}

TEST_F(XmlTransformTest, EndlessRecursionStopsAtTheDepthLimit) {
    EXPECT_EQ(
        FailedTransform(Stylesheet(u"<xsl:call-template name=\"again\"/>",
                                   u"<xsl:template name=\"again\"><x><xsl:call-template name=\"again\"/>"
                                   u"</x></xsl:template>")),
        XML_E_LIMIT);
}

TEST_F(XmlTransformTest, HeavyExpressionsStopAtTheXPathLimit) {
    EXPECT_EQ(
        FailedTransform(Stylesheet(u"<xsl:for-each select=\"//node()\"><xsl:for-each select=\"//node()\">"
                                   u"<xsl:value-of select=\"count(//node()[count(//node()) &gt; 0])\"/>"
                                   u"</xsl:for-each></xsl:for-each>"),
                        WideSource()),
        XML_E_LIMIT);
}

// Reports made with the delivered template, and their HTML parsed as a browser would.
#pragma once

#include "ReportTestSupport.h"

#include "platform/text/Utf.h"

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <string>
#include <vector>

class RenderedReport {
public:
    explicit RenderedReport(const std::string& html)
        : doc(htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                             HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING)) {}
    ~RenderedReport() { xmlFreeDoc(doc); }
    RenderedReport(const RenderedReport&) = delete;
    RenderedReport& operator=(const RenderedReport&) = delete;

    bool Parsed() const { return doc != nullptr; }

    // The text of every node the expression selects, in document order.
    std::vector<std::u16string> Texts(const char* xpath) const {
        return Select(xpath, [](xmlNodePtr node) {
            xmlChar* text = xmlNodeGetContent(node);
            std::u16string content = Utf8ToUtf16(reinterpret_cast<const char*>(text));
            xmlFree(text);
            return content;
        });
    }

    // The name of every element or attribute the expression selects, in document order.
    std::vector<std::u16string> Names(const char* xpath) const {
        return Select(xpath,
                      [](xmlNodePtr node) { return Utf8ToUtf16(reinterpret_cast<const char*>(node->name)); });
    }

private:
    template <typename Read> std::vector<std::u16string> Select(const char* xpath, Read read) const {
        std::vector<std::u16string> values;
        xmlXPathContextPtr context = xmlXPathNewContext(doc);
        xmlXPathObjectPtr found = xmlXPathEvalExpression(BAD_CAST xpath, context);
        if (found && found->nodesetval)
            for (int i = 0; i < found->nodesetval->nodeNr; ++i)
                values.push_back(read(found->nodesetval->nodeTab[i]));
        xmlXPathFreeObject(found);
        xmlXPathFreeContext(context);
        return values;
    }

    htmlDocPtr doc;
};

class DeliveredTemplateTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        InstallDeliveredTemplate();
    }

    // Makes the report, which must succeed without a message box: the HTML file's path.
    std::string MakeHtml() {
        auto request = Request();
        EXPECT_TRUE(MakeReport(request));
        EXPECT_TRUE(boxes.boxes.empty());
        return Utf16ToUtf8(request.outputPath);
    }
};

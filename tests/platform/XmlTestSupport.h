// Documents for the XML layer's tests, made on a thread initialised for them.
#pragma once

#include "platform/xml/ComInit.h"
#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class XmlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(), S_OK); }
    void TearDown() override { CoUninitialize(); }

    static std::unique_ptr<XmlDocument> NewDocument() {
        std::unique_ptr<XmlDocument> document;
        EXPECT_EQ(CreateXmlDocument(&document), S_OK);
        return document;
    }

    // A document parsed from text; fails the test when the text is refused.
    static std::unique_ptr<XmlDocument> Parsed(std::u16string_view text) {
        auto document = NewDocument();
        bool loaded = false;
        EXPECT_EQ(document->loadXML(text, &loaded), S_OK);
        EXPECT_TRUE(loaded);
        return document;
    }

    static std::u16string TextOf(const XmlDocument& document) {
        std::u16string text;
        EXPECT_EQ(document.get_xml(&text), S_OK);
        return text;
    }
};

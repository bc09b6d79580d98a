#include "XmlTestSupport.h"

#include "platform/text/Utf.h"
#include "support/ScratchFolder.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

std::u16string EntityBomb() {
    std::u16string text = u"<?xml version=\"1.0\"?><!DOCTYPE bomb [<!ENTITY e0 \"ha\">";
    for (int i = 1; i <= 9; ++i) {
        text += u"<!ENTITY e" + std::u16string(1, u'0' + i) + u" \"";
        for (int j = 0; j < 10; ++j)
            text += u"&e" + std::u16string(1, u'0' + i - 1) + u";";
        text += u"\">";
    }
    return text + u"]><bomb>&e9;</bomb>";
}

} // namespace

class XmlDocumentTest : public XmlTest {};

TEST_F(XmlDocumentTest, LoadXmlTakesTheTextWhateverEncodingItDeclares) {
    const auto document =
        Parsed(u"<?xml version=\"1.0\" encoding=\"UTF-16LE\"?><root a=\"Воздух &amp; &quot;пар&quot;\"/>");
    const std::u16string text = TextOf(*document);
    EXPECT_NE(text.find(u"<root a=\"Воздух &amp; &quot;пар&quot;\"/>"), std::u16string::npos)
        << Utf16ToUtf8(text);
}

TEST_F(XmlDocumentTest, RefusedTextLeavesAnEmptyDocument) {
    const auto document = Parsed(u"<a/>");
    for (const std::u16string& text : {std::u16string(u"<a><b></a>"), std::u16string(u""),
                                       std::u16string(u"<a/><b/>"), std::u16string(u"<a>\0</a>", 8)}) {
        bool loaded = true;
        EXPECT_EQ(document->loadXML(text, &loaded), S_FALSE) << Utf16ToUtf8(text);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(TextOf(*document), u"");
    }
    EXPECT_EQ(document->save(u"/nonexistent/never.xml"), XML_E_NOTLOADED);
}

TEST_F(XmlDocumentTest, DocumentTypeDeclarationsAreRefusedBeforeAnyEntityIsRead) {
    ScratchFolder folder;
    const std::string secret = folder.Write("secret.txt", "root:x:0:0");
    const std::u16string external =
        u"<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + Utf8ToUtf16(secret) + u"\">]><r>&x;</r>";
    const std::u16string externalSubset = u"<!DOCTYPE r SYSTEM \"" + Utf8ToUtf16(secret) + u"\"><r/>";
    for (const std::u16string& text :
         {EntityBomb(), external, externalSubset, std::u16string(u"<!DOCTYPE html><html/>")}) {
        const auto document = NewDocument();
        bool loaded = true;
        EXPECT_EQ(document->loadXML(text, &loaded), S_FALSE) << Utf16ToUtf8(text).substr(0, 60);
        EXPECT_FALSE(loaded);
    }
}

TEST_F(XmlDocumentTest, NestingIsBounded) {
    std::u16string deep;
    for (int i = 0; i < 300; ++i)
        deep += u"<a>";
    for (int i = 0; i < 300; ++i)
        deep += u"</a>";
    const auto document = NewDocument();
    bool loaded = true;
    EXPECT_EQ(document->loadXML(deep, &loaded), S_FALSE);
    EXPECT_FALSE(loaded);
}

TEST_F(XmlDocumentTest, LoadReadsAFileInTheEncodingItDeclares) {
    ScratchFolder folder;
    // "Шаблон" in windows-1251
    const std::string file = folder.Write(
        "t.xml", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><t n=\"\xD8\xE0\xE1\xEB\xEE\xED\"/>");
    const auto document = NewDocument();
    bool loaded = false;
    ASSERT_EQ(document->put_async(false), S_OK);
    ASSERT_EQ(document->load(Utf8ToUtf16(file), &loaded), S_OK);
    EXPECT_TRUE(loaded);
    EXPECT_NE(TextOf(*document).find(u"<t n=\"Шаблон\"/>"), std::u16string::npos);

    EXPECT_EQ(document->load(Utf8ToUtf16(folder.Path("missing.xml")), &loaded), S_FALSE);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(TextOf(*document), u"");
}

#ifdef _WIN32
constexpr int kNameTaken = ERROR_FILE_EXISTS;
constexpr int kNoFolder = ERROR_PATH_NOT_FOUND;
#else
constexpr int kNameTaken = EEXIST;
constexpr int kNoFolder = ENOENT;
#endif

TEST_F(XmlDocumentTest, SaveWritesOnlyANewFileAndSaysWhyNot) {
    ScratchFolder folder;
    const auto document = Parsed(u"<t n=\"проба\"/>");
    const std::string path = folder.Path("отчёт.xml");
    ASSERT_EQ(document->save(Utf8ToUtf16(path)), S_OK);
    EXPECT_NE(ScratchFolder::Read(path).find("<t n=\"проба\"/>"), std::string::npos);
    EXPECT_EQ(document->save(Utf8ToUtf16(path)), HResultFromErrno(kNameTaken));
    EXPECT_EQ(document->save(Utf8ToUtf16(folder.Path("missing/out.xml"))), HResultFromErrno(kNoFolder));
}

#ifndef _WIN32
TEST_F(XmlDocumentTest, SaveWritesANewOwnerOnlyFileAndNeverThroughALink) {
    ScratchFolder folder;
    const auto document = Parsed(u"<t n=\"проба\"/>");
    const std::string path = folder.Path("out.xml");
    ASSERT_EQ(document->save(Utf8ToUtf16(path)), S_OK);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const std::string victim = folder.Write("victim.txt", "keep");
    fs::create_symlink(victim, folder.Path("link.xml"));
    EXPECT_EQ(document->save(Utf8ToUtf16(folder.Path("link.xml"))), HResultFromErrno(EEXIST));
    EXPECT_EQ(ScratchFolder::Read(victim), "keep");
    EXPECT_EQ(document->save(Utf8ToUtf16(folder.Path("link.xml")), SaveMode::Replace), HResultFromErrno(EEXIST));
    EXPECT_EQ(ScratchFolder::Read(victim), "keep");
    EXPECT_TRUE(fs::is_symlink(folder.Path("link.xml")));
}
#endif

// A macro-enabled template (.dotm, .docm) makes an ordinary .docx: the macro project and
// everything that names it are gone, the main part is a plain document's, and every part the
// package still declares is really in it.

#include "WordTestSupport.h"

#include "output/word/ZipPackage.h"

#include <QRegularExpression>
#include <pugixml.hpp>

namespace {

using wordtest::documentText;
using wordtest::entry;

const QByteArray kVbaRelation =
    "<Relationship Id=\"rId7\" Type=\"http://schemas.microsoft.com/office/2006/relationships/vbaProject\" "
    "Target=\"vbaProject.bin\"/>";

// The package of wordtest::docx turned into what Word writes for a .dotm.
QByteArray macroTemplate(const QByteArray &body)
{
    word::ZipPackage package = word::ZipPackage::fromBytes(wordtest::docx(body), QStringLiteral("modello.dotm"));
    QByteArray &types = package.find(QStringLiteral("[Content_Types].xml"))->data;
    types.replace("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml",
                  "application/vnd.ms-word.template.macroEnabledTemplate.main+xml");
    types.replace("</Types>", "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
                              "<Override PartName=\"/word/vbaData.xml\" ContentType=\"application/vnd.ms-word.vbaData+xml\"/>"
                              "</Types>");
    package.find(QStringLiteral("word/_rels/document.xml.rels"))->data.replace("</Relationships>", kVbaRelation + "</Relationships>");
    package.add({QStringLiteral("word/vbaProject.bin"), QByteArray("\xD0\xCF\x11\xE0 progetto di macro"), false});
    package.add({QStringLiteral("word/_rels/vbaProject.bin.rels"),
                 "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                 "<Relationship Id=\"rId1\" Type=\"http://schemas.microsoft.com/office/2006/relationships/wordVbaData\" "
                 "Target=\"vbaData.xml\"/></Relationships>",
                 false});
    package.add({QStringLiteral("word/vbaData.xml"), "<?xml version=\"1.0\"?><wne:vbaSuppData xmlns:wne=\"x\"/>", false});
    return package.toBytes();
}

class MacroTemplate : public wordtest::WordTest {};

TEST_F(MacroTemplate, FillsIntoAMacroFreeDocxWhoseDeclaredPartsAllExist)
{
    const QString path = putTemplate(QStringLiteral("Lettera.dotm"),
                                     macroTemplate("<w:p><w:r><w:t>Gentile [Capofamiglia],</w:t></w:r></w:p>"));
    const QByteArray made = fill(path, {{QStringLiteral("[capofamiglia]"), QStringLiteral("Rossi Mario")}});

    EXPECT_EQ(m_word.ActiveDocument()->extension(), QStringLiteral(".docx"));
    EXPECT_TRUE(documentText(made).contains(QStringLiteral("Gentile Rossi Mario,")));
    const word::ZipPackage package = word::ZipPackage::fromBytes(made, QStringLiteral("salvato"));
    for (const word::PackageEntry &part : package.entries())
        EXPECT_FALSE(part.name.contains(QStringLiteral("vba"), Qt::CaseInsensitive)) << part.name.toStdString();

    const QByteArray types = entry(made, QStringLiteral("[Content_Types].xml"));
    EXPECT_FALSE(types.contains("macroEnabled")) << types.constData();
    EXPECT_FALSE(types.contains("vba")) << types.constData();
    EXPECT_TRUE(types.contains(
        "PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\""));
    const QByteArray rels = entry(made, QStringLiteral("word/_rels/document.xml.rels"));
    EXPECT_FALSE(rels.contains("vbaProject")) << rels.constData();
    EXPECT_TRUE(rels.contains("https://example.org/"));   // what is not a macro stays

    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_buffer(types.constData(), size_t(types.size())));
    for (const pugi::xml_node &override : xml.document_element().children("Override")) {
        const QString part = QString::fromUtf8(override.attribute("PartName").value()).mid(1);
        EXPECT_NE(package.find(part), nullptr) << part.toStdString();
    }
}

TEST_F(MacroTemplate, AnOrdinaryTemplateIsLeftAsItWas)
{
    const QByteArray plain = wordtest::docx("<w:p><w:r><w:t>[Capofamiglia]</w:t></w:r></w:p>");
    const QString path = putTemplate(QStringLiteral("Semplice.docx"), plain);
    const QByteArray made = fill(path, {});
    EXPECT_EQ(entry(made, QStringLiteral("[Content_Types].xml")), entry(plain, QStringLiteral("[Content_Types].xml")));
    EXPECT_EQ(entry(made, QStringLiteral("word/_rels/document.xml.rels")),
              entry(plain, QStringLiteral("word/_rels/document.xml.rels")));
}

} // namespace

// Replace-all in OpenDocument text: spans, the header of the master page, tables, text
// boxes and notes; carriage returns, tabs and runs of blanks written as the format wants.

#include "WordTestSupport.h"

namespace {

using wordtest::documentText;
using wordtest::entry;
using wordtest::odt;

class ReplaceAllOdt : public wordtest::WordTest {};

TEST_F(ReplaceAllOdt, SpansHeaderTableTextBoxAndNote)
{
    const QByteArray body =
        "<text:p text:style-name=\"P1\">Gentile <text:span text:style-name=\"T1\">[Capo</text:span>"
        "<text:span text:style-name=\"T2\">famiglia]</text:span>,<text:bookmark text:name=\"b\"/> ciao</text:p>"
        "<table:table><table:table-row><table:table-cell><text:p>[Telefono]</text:p></table:table-cell>"
        "</table:table-row></table:table>"
        "<text:p><draw:frame draw:name=\"c\"><draw:text-box><text:p>[Indirizzo]</text:p></draw:text-box></draw:frame>"
        "Nota<text:note text:id=\"n1\" text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
        "<text:note-body><text:p>Di [capofamiglia]</text:p></text:note-body></text:note></text:p>"
        "<office:annotation><text:p>[Capofamiglia]</text:p></office:annotation>";
    const QByteArray header = "<text:p>Prot. <text:span text:style-name=\"B\">[Proto</text:span>collo]</text:p>";

    const QByteArray filled = fill(putTemplate("t.odt", odt(body, header)),
                                   {{"[Protocollo]", "7/24"}, {"[Capofamiglia]", "Anna Bianchi"},
                                    {"[Telefono]", "030 1234"}, {"[Indirizzo]", "Via Roma 1"}});

    EXPECT_EQ(wordtest::show(documentText(filled)),
              "Gentile Anna Bianchi, ciao\n030 1234\nNota\nVia Roma 1\nDi Anna Bianchi\nProt. 7/24");
    const QByteArray content = entry(filled, "content.xml");
    EXPECT_TRUE(content.contains("<text:span text:style-name=\"T1\">Anna Bianchi</text:span>")) << content.constData();
    // Comments are not the document's text.
    EXPECT_TRUE(content.contains("<office:annotation><text:p>[Capofamiglia]</text:p></office:annotation>"));
}

TEST_F(ReplaceAllOdt, CarriageReturnsTabsAndBlanksBecomeTheFormatsOwnMarks)
{
    const QByteArray body = "<text:list><text:list-item><text:p text:style-name=\"Elenco\" xml:id=\"p1\">"
                            "Membri: [Nucleo]fine</text:p></text:list-item></text:list>";
    const QByteArray filled = fill(putTemplate("t.odt", odt(body)),
                                   {{"[Nucleo]", "Maria  (Madre)\tsì\rLuca   (Figlio)\r"}});

    EXPECT_EQ(wordtest::show(documentText(filled)), "Membri: Maria  (Madre)\tsì\nLuca   (Figlio)\nfine");
    const QByteArray content = entry(filled, "content.xml");
    EXPECT_EQ(content.count("<text:p text:style-name=\"Elenco\""), 3) << content.constData();
    EXPECT_EQ(content.count("xml:id=\"p1\""), 1);
    EXPECT_TRUE(content.contains("<text:s text:c=\"2\""));
    EXPECT_TRUE(content.contains("<text:tab"));
}

TEST_F(ReplaceAllOdt, ATemplateMakesADocumentAndStaysAsItWas)
{
    const QByteArray templateBytes = odt("<text:p>[Nome]</text:p>", {}, true);
    const QString path = putTemplate("modello.ott", templateBytes);
    const QByteArray filled = fill(path, {{"[NOME]", "Luca"}});
    EXPECT_EQ(wordtest::readFile(path), templateBytes);
    EXPECT_EQ(entry(filled, "mimetype"), QByteArray("application/vnd.oasis.opendocument.text"));
    EXPECT_FALSE(entry(filled, "META-INF/manifest.xml").contains("text-template"));
    EXPECT_EQ(documentText(filled), QStringLiteral("Luca"));
}

} // namespace

// Replace-all in Office Open XML documents as word processors save them: placeholders split
// across runs, proofing marks, bookmarks and revisions; in headers, tables, text boxes and
// footnotes; carriage returns that become paragraphs.

#include "WordTestSupport.h"

#include <QRegularExpression>

namespace {

using wordtest::docx;
using wordtest::documentText;
using wordtest::entry;

class ReplaceAllDocx : public wordtest::WordTest {};

QByteArray para(const QByteArray &runs, const QByteArray &style = {})
{
    const QByteArray properties = style.isEmpty() ? QByteArray() : "<w:pPr><w:pStyle w:val=\"" + style + "\"/></w:pPr>";
    return "<w:p w14:paraId=\"1A2B3C4D\" w:rsidR=\"00AB12CD\">" + properties + runs + "</w:p>";
}

QByteArray run(const QByteArray &text, const QByteArray &properties = {})
{
    return "<w:r w:rsidR=\"00C0FFEE\">" + (properties.isEmpty() ? QByteArray() : "<w:rPr>" + properties + "</w:rPr>")
           + "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

TEST_F(ReplaceAllDocx, PlaceholderSplitAcrossRunsMarksAndRevisionsIsReplacedInTheFirstLettersRun)
{
    const QByteArray body = para(run("Gentile [Capo") + "<w:proofErr w:type=\"spellStart\"/>" + run("fami", "<w:b/>")
                                 + "<w:bookmarkStart w:id=\"0\" w:name=\"x\"/>" + "<w:ins w:id=\"1\" w:author=\"a\">"
                                 + run("glia]") + "</w:ins><w:bookmarkEnd w:id=\"0\"/><w:proofErr w:type=\"spellEnd\"/>"
                                 + run(", benvenuta.") + "<w:del w:id=\"2\" w:author=\"a\"><w:r><w:delText>[Capofamiglia]</w:delText></w:r></w:del>")
                            + para(run("[", "<w:i/>") + run("Citta]"));
    const QByteArray filled = fill(putTemplate("t.docx", docx(body)),
                                   {{"[capofamiglia]", "Maria Rossi"}, {"[CITTA]", "Brescia"}});

    EXPECT_EQ(wordtest::show(documentText(filled)), "Gentile Maria Rossi, benvenuta.\nBrescia");
    const QByteArray xml = entry(filled, "word/document.xml");
    // The name went into the first run (not bold), the city into the italic one.
    EXPECT_TRUE(xml.contains("<w:t xml:space=\"preserve\">Gentile Maria Rossi</w:t>")) << xml.constData();
    EXPECT_TRUE(xml.contains("<w:rPr><w:i /></w:rPr><w:t xml:space=\"preserve\">Brescia</w:t>")
                || xml.contains("<w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">Brescia</w:t>")) << xml.constData();
    // Deleted text is not part of what the reader sees and stays as it was.
    EXPECT_TRUE(xml.contains("<w:delText>[Capofamiglia]</w:delText>"));
}

TEST_F(ReplaceAllDocx, HeaderTableTextBoxAndFootnoteAreAllReplaced)
{
    const QByteArray cell = "<w:tc><w:tcPr/>" + para(run("Tel. [Telefono]")) + "</w:tc>";
    const QByteArray textBox = "<w:txbxContent>" + para(run("[Capofamiglia]")) + "</w:txbxContent>";
    const QByteArray drawing = "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wps:txbx>" + textBox
                               + "</wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><v:textbox>" + textBox
                               + "</v:textbox></w:pict></mc:Fallback></mc:AlternateContent></w:r>";
    const QByteArray body = para(run("Prima ") + drawing + run("dopo")) + "<w:tbl><w:tr>" + cell + "</w:tr></w:tbl>"
                            + para(run("Nota") + "<w:r><w:footnoteReference w:id=\"1\"/></w:r>");
    const QByteArray header = para(run("Prot. [Proto") + run("collo]", "<w:b/>"));
    const QByteArray footnotes = "<w:footnote w:id=\"1\">" + para(run("Firmata da [Capofamiglia]")) + "</w:footnote>";

    const QByteArray filled = fill(putTemplate("t.docx", docx(body, header, footnotes)),
                                   {{"[Protocollo]", "12/24"}, {"[Capofamiglia]", "Anna Bianchi"}, {"[Telefono]", "030 1234"}});

    const QString text = documentText(filled);
    EXPECT_FALSE(text.contains(QLatin1Char('['))) << wordtest::show(text);
    EXPECT_EQ(text.count(QStringLiteral("Anna Bianchi")), 3) << wordtest::show(text);   // both text box copies, footnote
    EXPECT_TRUE(text.contains(QStringLiteral("Tel. 030 1234")));
    EXPECT_TRUE(entry(filled, "word/header1.xml").contains("Prot. 12/24"));
}

TEST_F(ReplaceAllDocx, CarriageReturnsBecomeParagraphsOfTheSameStyle)
{
    const QByteArray body = "<w:p><w:pPr><w:pStyle w:val=\"Elenco\"/><w:sectPr/></w:pPr>" + run("Membri: [Nucleo]fine")
                            + "</w:p>";
    const QByteArray filled = fill(putTemplate("t.docx", docx(body)),
                                   {{"[Nucleo]", "Maria (Madre,Casalinga) 41\rLuca (Figlio,Studente) 1\r"}});

    EXPECT_EQ(wordtest::show(documentText(filled)), "Membri: Maria (Madre,Casalinga) 41\nLuca (Figlio,Studente) 1\nfine");
    const QByteArray xml = entry(filled, "word/document.xml");
    EXPECT_EQ(xml.count("<w:pStyle w:val=\"Elenco\""), 3);
    // The section break stays once, on the last paragraph of the section.
    EXPECT_EQ(xml.count("<w:sectPr"), 1);
    EXPECT_LT(xml.indexOf("Luca"), xml.indexOf("<w:sectPr"));
}

TEST_F(ReplaceAllDocx, UnknownPlaceholdersLoneBracketsAndOtherCaseRules)
{
    const QByteArray body = para(run("[Inesistente] [ ] a [b ] [Nome"))
                            + para(run("[nome] e [NOME] e [Nome]"))
                            + para(run("  [Vuoto]  "));
    const QByteArray filled = fill(putTemplate("t.docx", docx(body)), {{"[Nome]", "X"}, {"[Vuoto]", ""}});
    EXPECT_EQ(wordtest::show(documentText(filled)), "[Inesistente] [ ] a [b ] [Nome\nX e X e X\n    ");
}

TEST_F(ReplaceAllDocx, TemplateBytesStayAndATemplateMakesADocument)
{
    const QByteArray templateBytes = docx(para(run("[Nome]")), {}, {}, true);
    const QString path = putTemplate("modello.dotx", templateBytes);
    const QByteArray filled = fill(path, {{"[Nome]", "Luca"}});
    EXPECT_EQ(wordtest::readFile(path), templateBytes);
    const QByteArray types = entry(filled, "[Content_Types].xml");
    EXPECT_TRUE(types.contains("wordprocessingml.document.main+xml"));
    EXPECT_FALSE(types.contains("template"));
}

TEST_F(ReplaceAllDocx, WithoutPlaceholdersTheNewDocumentIsTheTemplatesText)
{
    const QByteArray templateBytes = docx(para(run("Solo testo, nessun segnaposto.")));
    const QByteArray filled = fill(putTemplate("t.docx", templateBytes), {{"[Nome]", "Luca"}});
    EXPECT_EQ(entry(filled, "word/document.xml"), entry(templateBytes, "word/document.xml"));
}

TEST_F(ReplaceAllDocx, TabsAndMarkupCharactersInValuesAreWrittenAsTheFileWantsThem)
{
    const QByteArray filled =
        fill(putTemplate("t.docx", docx(para(run("[Nome]")))), {{"[Nome]", "a\tb <c> & \"d\"\x01"}});
    EXPECT_EQ(wordtest::show(documentText(filled)), "a\tb <c> & \"d\"");
    EXPECT_TRUE(entry(filled, "word/document.xml").contains("<w:tab"));
}

} // namespace

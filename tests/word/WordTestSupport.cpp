#include "WordTestSupport.h"

#include "output/word/ZipPackage.h"

#include <QFile>

namespace wordtest {

namespace {

const QByteArray kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const QByteArray kW = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                      "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
                      "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
                      "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
                      "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
const QByteArray kOdfNs = "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                          "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                          "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                          "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                          "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                          "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                          "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
                          "office:version=\"1.3\"";

word::PackageEntry part(const char *name, const QByteArray &data, bool stored = false)
{
    return {QString::fromLatin1(name), data, stored};
}

} // namespace

std::string show(const QString &text)
{
    return QString(text).replace(QLatin1Char('\r'), QStringLiteral("\\r")).toStdString();
}

QByteArray docx(const QByteArray &body, const QByteArray &header, const QByteArray &footnotes, bool asTemplate)
{
    const QByteArray mainType = asTemplate
        ? "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"
        : "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
    QByteArray types = kXmlHead + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/word/document.xml\" ContentType=\"" + mainType + "\"/></Types>";
    QByteArray rels = kXmlHead + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
                      "</Relationships>";
    QByteArray docRels = kXmlHead + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    if (!header.isEmpty())
        docRels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" Target=\"header1.xml\"/>";
    if (!footnotes.isEmpty())
        docRels += "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/footnotes\" Target=\"footnotes.xml\"/>";
    docRels += "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" Target=\"https://example.org/\" TargetMode=\"External\"/>";
    docRels += "</Relationships>";

    word::ZipPackage package;
    package.add(part("[Content_Types].xml", types));
    package.add(part("_rels/.rels", rels));
    package.add(part("word/_rels/document.xml.rels", docRels));
    package.add(part("word/document.xml", kXmlHead + "<w:document " + kW + "><w:body>" + body + "</w:body></w:document>"));
    if (!header.isEmpty())
        package.add(part("word/header1.xml", kXmlHead + "<w:hdr " + kW + ">" + header + "</w:hdr>"));
    if (!footnotes.isEmpty())
        package.add(part("word/footnotes.xml", kXmlHead + "<w:footnotes " + kW + ">" + footnotes + "</w:footnotes>"));
    return package.toBytes();
}

QByteArray odt(const QByteArray &body, const QByteArray &header, bool asTemplate)
{
    const QByteArray mime = asTemplate ? "application/vnd.oasis.opendocument.text-template"
                                       : "application/vnd.oasis.opendocument.text";
    word::ZipPackage package;
    package.add(part("mimetype", mime, true));
    package.add(part("META-INF/manifest.xml",
                     kXmlHead + "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\">"
                     "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"" + mime + "\"/>"
                     "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
                     "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
                     "</manifest:manifest>"));
    package.add(part("content.xml", kXmlHead + "<office:document-content " + kOdfNs
                                        + "><office:body><office:text>" + body
                                        + "</office:text></office:body></office:document-content>"));
    package.add(part("styles.xml", kXmlHead + "<office:document-styles " + kOdfNs
                                       + "><office:master-styles><style:master-page style:name=\"Standard\">"
                                       + (header.isEmpty() ? QByteArray() : "<style:header>" + header + "</style:header>")
                                       + "</style:master-page></office:master-styles></office:document-styles>"));
    return package.toBytes();
}

QByteArray entry(const QByteArray &package, const QString &name)
{
    const word::ZipPackage zip = word::ZipPackage::fromBytes(package, QStringLiteral("prova"));
    const word::PackageEntry *found = zip.find(name);
    return found ? found->data : QByteArray();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

WordTest::WordTest()
{
    m_word.setDocumentFolder(m_dir.filePath(QStringLiteral("mostrati")));
    m_word.setOpener([this](const QString &path) { m_opened << path; });
}

QString WordTest::putTemplate(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    writeFile(path, bytes);
    return path;
}

QByteArray WordTest::fill(const QString &templatePath, const std::vector<std::pair<QString, QString>> &pairs)
{
    word::Document &document = m_word.Documents().Add(templatePath);
    word::FindObject &find = m_word.Selection().Find();
    find.ClearFormatting();
    find.Wrap = word::wdFindContinue;
    for (const auto &[text, replacement] : pairs) {
        find.Text = text;
        find.Replacement().Text = replacement;
        find.Execute(word::wdReplaceAll);
    }
    const QString saved = m_dir.filePath(QStringLiteral("salvato"));
    document.SaveAs(saved);
    return readFile(saved);
}

} // namespace wordtest

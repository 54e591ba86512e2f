// Templates that must not be filled: not a zip, a damaged zip, a zip bomb, XML with a
// DOCTYPE (the way in for external entities), a package that is not a text document. Each
// fails with the layer's error before any document exists, and nothing is written.

#include "WordTestSupport.h"

#include "output/word/AutomationError.h"
#include "output/word/ZipPackage.h"

#include <QDir>

namespace {

using wordtest::docx;

class PackageSafety : public wordtest::WordTest {
protected:
    void expectRefused(const QString &name, const QByteArray &bytes, const char *reason)
    {
        const QString path = putTemplate(name, bytes);
        EXPECT_THROW(m_word.Documents().Add(path), word::AutomationError) << reason;
        EXPECT_EQ(m_word.Documents().Count(), 0) << reason;
        m_word.setVisible(true);
        EXPECT_TRUE(m_opened.isEmpty()) << reason;
        EXPECT_FALSE(QDir(m_dir.filePath(QStringLiteral("mostrati"))).exists()) << reason;
        EXPECT_EQ(wordtest::readFile(path), bytes) << reason;
    }
};

TEST_F(PackageSafety, NonZipDamagedAndForeignPackagesAreRefused)
{
    expectRefused("testo.docx", "Questo non è un documento.", "not a zip");
    const QByteArray good = docx("<w:p><w:r><w:t>[Nome]</w:t></w:r></w:p>");
    expectRefused("tronco.docx", good.left(good.size() / 2), "truncated");
    QByteArray flipped = good;
    flipped[flipped.indexOf("PK\x01\x02") - 40] ^= 0x55;   // inside the compressed data of the last part
    expectRefused("rovinato.docx", flipped, "damaged data");

    word::ZipPackage foreign;
    foreign.add({QStringLiteral("foto.png"), QByteArray(100, 'x'), false});
    expectRefused("foto.docx", foreign.toBytes(), "not a text document");
    expectRefused("rotto.docx", docx("<w:p><w:r><w:t>[Nome]</w:t></w:r>"), "malformed XML");
}

TEST_F(PackageSafety, ExternalEntityDeclarationIsRefused)
{
    const QString secret = m_dir.filePath(QStringLiteral("segreto.txt"));
    wordtest::writeFile(secret, "password dell'archivio");
    QByteArray bytes = docx("<w:p><w:r><w:t>&xxe;[Nome]</w:t></w:r></w:p>");
    word::ZipPackage package = word::ZipPackage::fromBytes(bytes, QStringLiteral("x"));
    word::PackageEntry *document = package.find(QStringLiteral("word/document.xml"));
    document->data.replace("standalone=\"yes\"?>\n",
                           "standalone=\"no\"?>\n<!DOCTYPE w:document [<!ENTITY xxe SYSTEM \"file://"
                               + secret.toUtf8() + "\">]>");
    expectRefused("xxe.docx", package.toBytes(), "external entity");
}

TEST_F(PackageSafety, ZipBombIsRefusedBeforeItIsUnpacked)
{
    word::ZipPackage bomb;
    bomb.add({QStringLiteral("[Content_Types].xml"), QByteArray("<Types/>"), false});
    bomb.add({QStringLiteral("word/document.xml"), QByteArray(word::ZipPackage::kMaxEntrySize + 1, ' '), false});
    const QByteArray bytes = bomb.toBytes();
    ASSERT_LT(bytes.size(), 1024 * 1024);
    expectRefused("bomba.docx", bytes, "zip bomb");
}

TEST_F(PackageSafety, AbsurdNestingIsRefused)
{
    QByteArray deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<w:r>";
    for (int i = 0; i < 5000; ++i)
        deep += "</w:r>";
    expectRefused("profondo.docx", docx("<w:p>" + deep + "</w:p>"), "deep nesting");
}

TEST_F(PackageSafety, DocTemplateWithoutLibreOfficeIsRefused)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", m_dir.path().toUtf8());
    expectRefused("vecchio.doc", "\xD0\xCF\x11\xE0 un vecchio documento", "no converter");
    qputenv("PATH", path);
}

TEST_F(PackageSafety, ShownDocumentsAndSavedCopiesAreTheOwnersOnly)
{
    const QString path = putTemplate("t.docx", docx("<w:p><w:r><w:t>[Nome]</w:t></w:r></w:p>"));
    word::Document &document = m_word.Documents().Add(path);
    document.SaveAs(m_dir.filePath(QStringLiteral("copia.docx")));
    m_word.setVisible(true);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(wordtest::modeOf(m_opened.front()), 0600);
    EXPECT_EQ(wordtest::modeOf(m_dir.filePath(QStringLiteral("mostrati"))), 0700);
    EXPECT_EQ(wordtest::modeOf(m_dir.filePath(QStringLiteral("copia.docx"))), 0600);
    EXPECT_TRUE(m_opened.front().endsWith(QStringLiteral("/Documento1.docx")));
}

} // namespace

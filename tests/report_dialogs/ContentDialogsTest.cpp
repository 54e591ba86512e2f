// What a picture shows and when a group starts, chosen in their dialogs and seen on the
// built pages.

#include "output/report/ui/dialogs/DesignerDialogs.h"
#include "output/report/ui/dialogs/GroupConditionDialog.h"
#include "output/report/ui/dialogs/PictureDialog.h"
#include "tests/report_dialogs/DialogTestSupport.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

using namespace dialogtest;
using reporttest::addBand;
using reporttest::addMemo;

namespace {

class ContentDialogsTest : public DialogFixture {
protected:
    TqnPictureView &addPicture()
    {
        auto picture = std::make_unique<TqnPictureView>();
        picture->X = 40, picture->Y = 10, picture->Width = 120, picture->Height = 60;
        TqnPage &page = m_report->layout().Pages.front();
        page.Objects.push_back(std::move(picture));
        return static_cast<TqnPictureView &>(*page.Objects.back());
    }
    // The images drawn on the first built page.
    std::vector<QImage> drawnImages()
    {
        m_report->BuildPages();
        EXPECT_EQ(m_report->preparationError(), QString());
        std::vector<QImage> images;
        for (const DrawRecord &r : m_report->preparedPages().at(0).Records)
            if (r.kind == DrawRecord::Image)
                images.push_back(r.image);
        return images;
    }
};

TEST_F(ContentDialogsTest, PictureFromAPngOrAnSvgFileIsKeptAndPrinted)
{
    openArchive(2);
    addBand(m_report->layout().Pages.front(), TqnBandType::btReportTitle, 0, 80);
    TqnPictureView &picture = addPicture();

    QImage red(40, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(path(QStringLiteral("logo.png"))));
    PictureDialog dialog(*m_report, picture);
    ASSERT_TRUE(dialog.setFile(path(QStringLiteral("logo.png"))));
    dialog.accept();
    ASSERT_FALSE(picture.Data.isEmpty());
    std::vector<QImage> images = drawnImages();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].pixelColor(5, 5), QColor(Qt::red));

    QFile svg(path(QStringLiteral("logo.svg")));
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10"><rect width="20" height="10" fill="#0000ff"/></svg>)");
    svg.close();
    PictureDialog again(*m_report, picture);
    ASSERT_TRUE(again.setFile(path(QStringLiteral("logo.svg"))));
    again.accept();
    images = drawnImages();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_GE(images[0].width(), 120);   // drawn for the printer, not at screen size
    EXPECT_EQ(images[0].pixelColor(images[0].width() / 2, images[0].height() / 2), QColor(Qt::blue));

    // A file that is no picture is refused and the picture stays.
    QFile text(path(QStringLiteral("nota.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("non sono un'immagine");
    text.close();
    const QByteArray kept = picture.Data;
    PictureDialog refused(*m_report, picture);
    EXPECT_FALSE(refused.setFile(path(QStringLiteral("nota.png"))));
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().text, QStringLiteral("Formato immagine sconosciuto."));
    refused.accept();
    EXPECT_EQ(picture.Data, kept);
}

TEST_F(ContentDialogsTest, PictureFromAFieldIsReadAtEachRecord)
{
    TqnPictureView &picture = addPicture();
    picture.Data = "BM....";
    PictureDialog dialog(*m_report, picture);
    EXPECT_TRUE(dialog.fromFile()->isChecked());
    dialog.setField(QStringLiteral("[Anagrafica.\"Note\"]"));
    dialog.accept();
    EXPECT_EQ(picture.Memo, QStringList{QStringLiteral("[Anagrafica.\"Note\"]")});
    EXPECT_TRUE(picture.Data.isEmpty());
    PictureDialog reopened(*m_report, picture);
    EXPECT_TRUE(reopened.fromField()->isChecked());
    EXPECT_EQ(reopened.field()->text(), QStringLiteral("[Anagrafica.\"Note\"]"));
}

TEST_F(ContentDialogsTest, AGroupHeaderInsertedByHandPrintsAtEachChangeOfItsCondition)
{
    openArchive(6);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    TqnBandView &group = addBand(page, TqnBandType::btGroupHeader, 20, 20);
    addMemo(page, 10, 20, 300, 20, QStringLiteral("Gruppo [Anagrafica.\"Protocollo\"]"));
    addBand(page, TqnBandType::btMasterData, 60, 20, QStringLiteral("Schede"));
    addMemo(page, 10, 60, 300, 20, QStringLiteral("Scheda"));
    reporttest::addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));

    GroupConditionDialog dialog(*m_report, group);
    dialog.condition()->setText(QStringLiteral("[Anagrafica.\"Protocollo\"]"));
    dialog.accept();
    EXPECT_EQ(group.GroupCondition, QStringLiteral("[Anagrafica.\"Protocollo\"]"));
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QString());
    // Every card has its own protocol number: a group each.
    EXPECT_EQ(printedTexts().filter(QStringLiteral("Gruppo ")).size(), 6);
    EXPECT_EQ(printedTexts().filter(QStringLiteral("Scheda")).size(), 6);
}

} // namespace

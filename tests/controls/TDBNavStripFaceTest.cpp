// The faces of the navigator's buttons: gradient bands, frames, and which face shows when.

#include "TDBNavStripTestSupport.h"

#include <QImage>
#include <QPainter>

namespace {

using Kind = TNavStripBtn;

QImage paintedFace(QSize size, const NavFace &face)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintNavFace(painter, QRect(QPoint(0, 0), size), face);
    return image;
}

TEST(NavStripFaceBands, StepFromTheStartColourBySixteenths)
{
    const QColor from(0, 160, 32);
    const QColor to(160, 0, 48);
    EXPECT_EQ(navFaceBand(from, to, 0), from);
    EXPECT_EQ(navFaceBand(from, to, 1), QColor(10, 150, 33));
    EXPECT_EQ(navFaceBand(from, to, 8), QColor(80, 80, 40));
    // The last band stops one step short of the end colour.
    EXPECT_EQ(navFaceBand(from, to, 15), QColor(150, 10, 47));
}

TEST(NavStripFaceBands, RoundEachChannel)
{
    // Silver towards the workspace grey: 3 sixteenths of -21 is -3.9375.
    EXPECT_EQ(navFaceBand(QColor(192, 192, 192), QColor(171, 171, 171), 3), QColor(188, 188, 188));
}

TEST(NavStripFacePainting, GradientFillsSixteenEqualBandsTopToBottom)
{
    const NavFace face{QColor(0, 0, 0), QColor(160, 160, 160), QColor()};
    const QImage image = paintedFace({10, 32}, face);
    for (int row = 0; row < 32; ++row)
        EXPECT_EQ(image.pixelColor(5, row), navFaceBand(face.from, face.to, row / 2)) << "row " << row;
}

TEST(NavStripFacePainting, WithoutEndColourTheFaceIsPlainAndUnframed)
{
    const QImage image = paintedFace({12, 18}, NavFace{QColor(199, 199, 202), QColor(), QColor()});
    EXPECT_EQ(image.pixelColor(0, 0), QColor(199, 199, 202));
    EXPECT_EQ(image.pixelColor(6, 17), QColor(199, 199, 202));
}

TEST(NavStripFacePainting, BorderFramesTheOuterPixels)
{
    const QImage image = paintedFace({12, 18}, NavFace{QColor(210, 211, 216), QColor(), QColor(Qt::black)});
    EXPECT_EQ(image.pixelColor(0, 9), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(11, 9), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(6, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(6, 17), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(210, 211, 216));
}

// A button's face as painted, read from the corner inside the frame.
class NavStripButtonFace : public testing::Test {
protected:
    static void SetUpTestSuite() { navtest::ensureApplication(); }
    void SetUp() override
    {
        TNavStripColors colors;
        colors.color = QColor(192, 192, 192);
        colors.colorTo = QColor(171, 171, 171);
        m_owner.setColors(colors);
        m_button = &m_own;
        m_button->setColors(m_owner.colors());
        m_button->setPictures(drawNavStripPictures(Kind::nbNext, 16));
        m_button->resize(20, 18);
        m_button->show();
    }
    QColor faceAt(int x, int y) const { return m_button->grab().toImage().pixelColor(x, y); }

    TDBNavStrip m_owner;   // for its default hot and down colours
    TNavStripButton m_own{Kind::nbNext, nullptr};
    TNavStripButton *m_button = nullptr;
};

TEST_F(NavStripButtonFace, NormalFaceIsTheGradientWithoutFrame)
{
    EXPECT_EQ(faceAt(0, 0), QColor(192, 192, 192));
    EXPECT_EQ(faceAt(0, 17), navFaceBand(QColor(192, 192, 192), QColor(171, 171, 171), 15));
}

TEST_F(NavStripButtonFace, PointerOverShowsTheHotFaceFramed)
{
    navtest::sendMouse(m_button, QEvent::MouseMove, navtest::centre(m_button), Qt::NoButton);
    EXPECT_EQ(faceAt(0, 0), QColor(Qt::black));
    EXPECT_EQ(faceAt(1, 1), QColor(199, 199, 202));
}

TEST_F(NavStripButtonFace, HeldButtonLooksPressedOnlyWhileThePointerIsOverIt)
{
    navtest::press(m_button, navtest::centre(m_button));
    EXPECT_TRUE(m_button->isDown());
    EXPECT_EQ(faceAt(1, 1), QColor(210, 211, 216));

    navtest::dragTo(m_button, navtest::outside(m_button));
    EXPECT_FALSE(m_button->isDown());
    EXPECT_EQ(faceAt(1, 1), navFaceBand(QColor(192, 192, 192), QColor(171, 171, 171), 1));

    navtest::dragTo(m_button, navtest::centre(m_button));
    EXPECT_EQ(faceAt(1, 1), QColor(210, 211, 216));
    navtest::release(m_button, navtest::outside(m_button));
}

TEST_F(NavStripButtonFace, DisabledButtonShowsItsDisabledPicture)
{
    m_button->setEnabled(false);
    const QImage face = m_button->grab().toImage();
    const QImage picture = m_button->pictures().disabled.toImage();
    // Picture pixels that are fully opaque appear unchanged in the middle of the face.
    const QPoint origin((m_button->width() - 16) / 2, (m_button->height() - 16) / 2);
    int compared = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (picture.pixelColor(x, y).alpha() == 255) {
                EXPECT_EQ(face.pixelColor(origin + QPoint(x, y)).rgb(), picture.pixelColor(x, y).rgb());
                ++compared;
            }
    EXPECT_GT(compared, 10);
}

} // namespace

// Texts summed from their runs measure exactly as shaping them whole does.

#include "output/report/build/TextAdvance.h"
#include "output/report/pages/PageFonts.h"
#include "tests/report/ReportTestSupport.h"

namespace {

class TextAdvanceTest : public reporttest::ReportFixture {};

// Kerning pairs (AV, To, Ya, L', "f" before "i"), digits and dates, accents, blanks in runs,
// and what is measured whole: joined Arabic letters, combining accents, tabs, soft hyphens.
TEST_F(TextAdvanceTest, TextsSummedFromRunsMeasureAsShapedWhole)
{
    const QStringList pieces{"AVVOCATO", "Tovaglia", "Yvonne", "L'Aquila", "affittuario", "WAVY", "Te", "12/03/1961",
                             "0,75", "n. 17/B", "perché", "àèìòù", "ROSSI", "Mario", "\"Ya\"", "(T)", "P.", "  ",
                             "Ελένη", "—", "محمد", "cafe\u0301", "a\tb", "para\u00adgrafo", "fi", "ffl", "1.234,00"};
    quint32 seed = 7;
    const auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7fff; };
    for (const PreparedFont &face : {PreparedFont{QStringLiteral("Arial"), 8, 0}, PreparedFont{QStringLiteral("Arial"), 9, 2},
                                     PreparedFont{QStringLiteral("Times New Roman"), 11, 1}}) {
        const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(face));
        TextAdvance advance(metrics);
        std::vector<QString> texts;
        for (int t = 0; t < 600; ++t) {
            QString text;
            for (int w = 0, count = 1 + int(next() % 6); w < count; ++w)
                text += pieces[int(next() % pieces.size())] + (next() % 3 ? QStringLiteral(" ") : QString());
            texts.push_back(text);
        }
        for (int round = 0; round < 2; ++round)   // then with every run remembered
            for (const QString &text : texts) {
                ASSERT_EQ(advance.advance(text), metrics.horizontalAdvance(text)) << text.toStdString();
                ASSERT_EQ(advance.measure(QStringView(text).left(text.size() / 2)),
                          metrics.horizontalAdvance(text.left(text.size() / 2))) << text.toStdString();
            }
    }
}

} // namespace

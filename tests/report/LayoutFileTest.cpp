// The layout file: every older version written by hand from the reader's description,
// round trips, and damaged files.

#include "output/report/file/LayoutReader.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/model/TqnLayout.h"
#include "tests/report/ReportTestSupport.h"

#include <QRandomGenerator>

using namespace reporttest;

namespace {

// Bytes as the reader's comment describes them.
struct Bytes {
    QByteArray d;
    int version = 27;
    Bytes &u8(int v) { d.append(char(v)); return *this; }
    Bytes &u16(int v) { u8(v & 0xFF); return u8((v >> 8) & 0xFF); }
    Bytes &u32(qint64 v) { u16(int(v & 0xFFFF)); return u16(int((v >> 16) & 0xFFFF)); }
    Bytes &sstr(const QByteArray &s) { u8(int(s.size())); d.append(s); return *this; }
    Bytes &slist(const QList<QByteArray> &lines)
    {
        if (version >= 26) {
            u16(int(lines.size()));
            for (const QByteArray &l : lines) { u16(int(l.size())); d.append(l); }
        } else {
            for (const QByteArray &l : lines) { d.append(l); u8(13); }
            u8(0);
        }
        return *this;
    }
};

// A layout of one page with one text box at (1088, 544) sized 272 x 20, over "Schede".
QByteArray handWritten(int version)
{
    Bytes b;
    b.version = version;
    if (version > 21)
        b.u8(version);
    if (version > 22) {
        b.u32(1).u8(1).sstr("frm_main.Anagrafica");
        if (version > 26)
            b.u8(1).sstr("Protocollo <> ''");
        b.sstr("Schede").u8(0).u8(2).u16(0).u32(7);
    }
    b.u16(1).u16(1);                          // SystemPrinter (first byte below 21), TwoPass
    if (version >= 23)
        b.u16(1).u16(0);                      // Collate, Repaginate
    b.slist({"Stampante"});
    b.u8(255).u32(9).u32(2100).u32(2970).u32(100).u32(150).u32(100).u32(100).u8(1);
    b.u16(1).u16(0).u16(1).u16(0).u16(0).u32(2).u32(50);
    if (version >= 25)
        b.u32(0).u32(1);
    b.u8(2).u8(0).u32(0).u32(500).u32(700).u32(40);           // a band
    b.u16(0).u16(0).u32(1).u32(0).u16(0).u32(0x1FFFFFFF).u32(0).slist({"Schede"}).slist({});
    if (version >= 23)
        b.u8(1).sstr("Dati");
    b.u8(5).u16(0).slist({});
    b.u8(0).u8(0).u32(1088).u32(544).u32(272).u32(20);        // the text box
    b.u16(15).u16(0).u32(2).u32(255).u16(0).u32(0x1FFFFFFF).u32(0).slist({}).slist({"Ciao", "[Capofamiglia]"});
    if (version >= 23)
        b.u8(1).sstr("Nome");
    b.slist({"Arial"}).u32(12).u16(2).u32(0x0000FF).u16(2).slist({"1 = 1"}).u16(1).u32(0).u32(0xFFFF);
    b.u8(254).u32(1).sstr("Oggi").u8(2).slist({"DATE"}).slist({"Categoria", " Oggi"});
    return b.d;
}

class LayoutFileTest : public ReportFixture {
protected:
    LayoutReadResult read(const QByteArray &data, TqnLayout &layout)
    {
        LayoutReadHooks hooks;
        hooks.findComponent = [this](const QString &text) -> TDataSet * {
            return text.compare(QStringLiteral("frm_main.Anagrafica"), Qt::CaseInsensitive) == 0 ? &m_table : nullptr;
        };
        hooks.messages = &m_messages;
        return readLayout(data, layout, hooks);
    }
    bool damagedShown() const
    {
        for (const Message &m : m_messages.shown)
            if (m.text == layouttext::damaged() && m.caption == QStringLiteral("Errore") && m.icon == TqnMessageIcon::Error)
                return true;
        return false;
    }
    static void expectEmpty(const TqnLayout &layout)
    {
        ASSERT_EQ(layout.Pages.size(), 1u);
        EXPECT_TRUE(layout.Pages.front().Objects.empty());
        EXPECT_EQ(layout.DataSets.count(), 0);
    }

    class Table final : public TDataSet {
    protected:
        void internalOpen() override {}
        void internalClose() override {}
        bool isCursorOpen() const override { return false; }
        TGetResult getRecord(TRecordBuffer &, TGetMode, bool) override { return TGetResult::grEOF; }
        void internalFirst() override {}
        void internalLast() override {}
        void internalSetToRecord(const TRecordBuffer &) override {}
        void internalGotoBookmark(const TBookmark &) override {}
        void internalInitRecord(TRecordBuffer &) override {}
        void internalPost() override {}
        void internalDelete() override {}
        void internalRefresh() override {}
    } m_table;
};

class OlderVersionTest : public LayoutFileTest, public testing::WithParamInterface<int> {};

TEST_P(OlderVersionTest, HandWrittenFileLoadsWithItsCoordinates)
{
    const int version = GetParam();
    TqnLayout layout;
    const LayoutReadResult result = read(handWritten(version), layout);
    ASSERT_TRUE(result.pagesRead) << result.detail.toStdString() << " at " << result.failedAt;
    EXPECT_EQ(result.version, version);
    // Files without a dataset table check their data bands' sources elsewhere (none here).
    EXPECT_EQ(m_messages.shown.size(), version <= 22 ? 1u : 0u);

    ASSERT_EQ(layout.Pages.size(), 1u);
    const TqnPage &page = layout.Pages.front();
    EXPECT_EQ(page.Paper.Top, 150);
    EXPECT_EQ(page.Paper.Orientation, 1);
    EXPECT_EQ(page.Columns, 2);
    EXPECT_EQ(page.UsePhysicalOffset, version >= 25 ? 1 : 0);
    ASSERT_EQ(page.Objects.size(), 2u);
    const auto &memo = static_cast<const TqnMemoView &>(*page.Objects[1]);
    ASSERT_EQ(memo.kind(), TqnViewKind::vkMemo);
    if (version < 24) {
        EXPECT_EQ(memo.X, 1123);       // 1088 * 1123 / 1088
        EXPECT_EQ(memo.Y, 562);        // 561.5 rounded
        EXPECT_EQ(memo.Width, 281);    // 280.75
        EXPECT_EQ(memo.Height, 21);    // 20.64
    } else {
        EXPECT_EQ(memo.X, 1088);
        EXPECT_EQ(memo.Y, 544);
        EXPECT_EQ(memo.Width, 272);
        EXPECT_EQ(memo.Height, 20);
    }
    EXPECT_EQ(memo.Memo, QStringList({QStringLiteral("Ciao"), QStringLiteral("[Capofamiglia]")}));
    EXPECT_EQ(memo.FontName, QStringLiteral("Arial"));
    EXPECT_EQ(memo.FontSize, 12);
    EXPECT_EQ(memo.FontStyle, fsBold);
    EXPECT_EQ(memo.FrameLines, 15);
    EXPECT_EQ(memo.HighlightCondition, QStringLiteral("1 = 1"));
    EXPECT_EQ(memo.Name, version >= 23 ? QStringLiteral("Nome") : QString());
    const auto &band = static_cast<const TqnBandView &>(*page.Objects[0]);
    EXPECT_EQ(band.BandType, TqnBandType::btMasterData);
    EXPECT_EQ(band.dataSetName(), QStringLiteral("Schede"));

    EXPECT_EQ(layout.PrinterName, QStringLiteral("Stampante"));
    EXPECT_EQ(layout.Collate, version >= 23 ? 1 : 0);
    ASSERT_EQ(layout.Values.items().size(), 1u);
    EXPECT_EQ(layout.Values.items().front().Text, QStringLiteral("DATE"));
    EXPECT_EQ(layout.VariableList, QStringList({QStringLiteral("Categoria"), QStringLiteral(" Oggi")}));
    if (version > 22) {
        ASSERT_EQ(layout.DataSets.count(), 1);
        auto *entry = qobject_cast<TqnDBDataSet *>(layout.DataSets.at(0));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->DataSet(), &m_table);
        EXPECT_EQ(entry->RangeEnd, TqnRangeEnd::reCount);
        EXPECT_EQ(entry->RangeEndCount, 7);
        EXPECT_EQ(entry->Filtered, version > 26);
    } else {
        EXPECT_EQ(layout.DataSets.count(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, OlderVersionTest, testing::Values(21, 22, 23, 24, 25, 26, 27));

TEST_F(LayoutFileTest, OldFileWithoutDatasetTableWarnsOfEachUnknownDataBandSource)
{
    TqnLayout layout;
    LayoutReadHooks hooks;
    hooks.messages = &m_messages;
    hooks.outsideDataSetExists = [](const QString &name) { return name == QStringLiteral("Altro"); };
    readLayout(handWritten(22), layout, hooks);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, QStringLiteral("Non è stato trovato il qnDataset: Schede"));
    EXPECT_EQ(m_messages.shown[0].caption, QStringLiteral("Attenzione"));
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Warning);
}

TEST_F(LayoutFileTest, SavedAndLoadedAgainIsUnchangedFieldByField)
{
    TqnLayout layout;
    read(handWritten(27), layout);
    layout.TwoPass = 1;
    layout.Repaginate = 1;
    TqnPage second = layout.Pages.front();
    second.Paper.Size = 256;
    second.ScaleMode = TqnScaleMode::smPageHeight;
    layout.Pages.push_back(second);
    auto picture = std::make_unique<TqnPictureView>();
    picture->Data = QByteArray("BM\x00\x01 dati", 10);
    picture->PictureFlags = TqnPictureView::pfCenter;
    picture->Name = QStringLiteral("Foto");
    layout.Pages[1].Objects.push_back(std::move(picture));
    auto sub = std::make_unique<TqnSubReportView>();
    sub->SubPage = 1;
    sub->Visible = false;
    layout.Pages[0].Objects.push_back(std::move(sub));
    TqnVariable field{QStringLiteral("Capo"), TqnVariableKind::vkField, QStringLiteral("Anagrafica"),
                      QStringLiteral("Capofamiglia"), {}};
    layout.Values.set(field);
    layout.Values.set({QStringLiteral("Vuota"), TqnVariableKind::vkNotAssigned, {}, {}, {}});
    auto *plain = new TqnDataset(layout.DataSets.holder());
    plain->setName(QStringLiteral("Contatore"));
    plain->RangeEnd = TqnRangeEnd::reCount;
    plain->RangeEndCount = 3;
    layout.DataSets.add(plain);

    const QByteArray first = writeLayout(layout, QStringLiteral("Stampante"));
    TqnLayout again;
    ASSERT_TRUE(read(first, again).pagesRead);
    EXPECT_EQ(writeLayout(again, QStringLiteral("Stampante")), first);

    ASSERT_EQ(again.Pages.size(), 2u);
    EXPECT_EQ(again.Pages[1].Paper, second.Paper);
    EXPECT_EQ(again.Pages[1].ScaleMode, TqnScaleMode::smPageHeight);
    EXPECT_EQ(again.TwoPass, 1);
    EXPECT_EQ(again.Repaginate, 1);
    EXPECT_EQ(again.Values, layout.Values);
    EXPECT_EQ(again.VariableList, layout.VariableList);
    const auto &pic = static_cast<const TqnPictureView &>(*again.Pages[1].Objects.back());
    EXPECT_EQ(pic.Data, QByteArray("BM\x00\x01 dati", 10));
    EXPECT_EQ(pic.PictureFlags, TqnPictureView::pfCenter);
    const auto &subAgain = static_cast<const TqnSubReportView &>(*again.Pages[0].Objects.back());
    EXPECT_EQ(subAgain.SubPage, 1);
    EXPECT_FALSE(subAgain.Visible);
    // The table stays sorted by name: "Contatore" before "Schede".
    ASSERT_EQ(again.DataSets.count(), 2);
    EXPECT_EQ(again.DataSets.at(0)->name(), QStringLiteral("Contatore"));
    EXPECT_EQ(again.DataSets.at(0)->RangeEndCount, 3);
    EXPECT_EQ(qobject_cast<TqnDBDataSet *>(again.DataSets.at(1))->Filter, QStringLiteral("Protocollo <> ''"));
}

TEST_F(LayoutFileTest, TagFourToNineGivesTheDamagedMessageAndAnEmptyLayout)
{
    for (int tag = 4; tag <= 9; ++tag) {
        m_messages.shown.clear();
        TqnLayout layout;
        QByteArray data = handWritten(27);
        const qsizetype pagesEnd = data.indexOf(char(254));
        data.insert(pagesEnd, char(tag));
        EXPECT_FALSE(read(data, layout).pagesRead);
        EXPECT_TRUE(damagedShown()) << tag;
        expectEmpty(layout);
    }
}

TEST_F(LayoutFileTest, TagAboveTenEndsThePagesAndAnAddInIsNotFound)
{
    TqnLayout layout;
    QByteArray data = handWritten(27);
    data.insert(data.indexOf(char(254)), "\x0Bresto ignorato");
    ASSERT_TRUE(read(data, layout).pagesRead);
    EXPECT_TRUE(layout.Values.items().empty());   // the 254 record came after the end

    Bytes addIn;
    addIn.d = handWritten(27);
    addIn.d.truncate(addIn.d.indexOf(char(254)));
    addIn.u8(10).slist({"TqnBarcode"});
    m_messages.shown.clear();
    EXPECT_FALSE(read(addIn.d, layout).pagesRead);
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[0].text, layouttext::addInMissing(QStringLiteral("TqnBarcode")));
    EXPECT_TRUE(m_messages.shown[0].text.startsWith(QStringLiteral("Oggetto non trovato : TqnBarcode.\n\r")));
    EXPECT_TRUE(damagedShown());
    expectEmpty(layout);
}

TEST_F(LayoutFileTest, UnknownComponentIsDroppedWithAWarningAndReadingGoesOn)
{
    QByteArray data = handWritten(27);
    data.replace("frm_main.Anagrafica", "frm_main.Anagrafixx");
    TqnLayout layout;
    ASSERT_TRUE(read(data, layout).pagesRead);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, QStringLiteral("Non è stato trovato il qnDataset: frm_main.Anagrafixx"));
    EXPECT_EQ(layout.DataSets.count(), 0);
    EXPECT_EQ(layout.Pages.front().Objects.size(), 2u);
}

TEST_F(LayoutFileTest, DamagedFilesNeverCrashNorHang)
{
    const QByteArray good = handWritten(27);
    // Cut at every byte: each prefix is either a whole layout or a damaged one.
    for (qsizetype n = 0; n < good.size(); ++n) {
        TqnLayout layout;
        m_messages.shown.clear();
        const LayoutReadResult result = read(good.left(n), layout);
        if (!result.pagesRead)
            EXPECT_TRUE(damagedShown()) << n;
        EXPECT_FALSE(layout.Pages.empty() && !result.pagesRead);
    }
    // Random bytes, and random bytes after a real beginning.
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i) {
        QByteArray data(random.bounded(1, 400), Qt::Uninitialized);
        for (char &c : data)
            c = char(random.bounded(256));
        if (i % 2)
            data.prepend(good.left(random.bounded(int(good.size()))));
        TqnLayout layout;
        read(data, layout);
    }
    // Huge counts and lengths with nothing behind them.
    for (const QByteArray &huge : {QByteArray("\x1B\xFF\xFF\xFF\xFF", 5),
                                   QByteArray("\x1B\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\xFF\xFF", 15),
                                   QByteArray("\x1B\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFE\xFF\xFF\xFF\xFF", 20)}) {
        TqnLayout layout;
        m_messages.shown.clear();
        EXPECT_FALSE(read(huge, layout).pagesRead);
        EXPECT_TRUE(damagedShown());
    }
    Bytes picture;
    picture.d = good.left(good.indexOf(char(254)));
    picture.u8(1).u8(0).u32(0).u32(0).u32(10).u32(10).u16(0).u16(0).u32(1).u32(0).u16(0).u32(0).u32(0)
        .slist({}).slist({}).u8(1).sstr("P").u8(3).u32(0xFFFFFFF0);
    TqnLayout layout;
    EXPECT_FALSE(read(picture.d, layout).pagesRead);
}

TEST_F(LayoutFileTest, FirstByteBelowTwentyOneIsReadAgainAsVersionTwentyOne)
{
    TqnLayout layout;
    const QByteArray data = handWritten(21);
    ASSERT_LT(quint8(data[0]), 21);
    const LayoutReadResult result = read(data, layout);
    EXPECT_TRUE(result.pagesRead);
    EXPECT_EQ(result.version, 21);
    EXPECT_EQ(layout.SystemPrinter, 1);
}

TEST_F(LayoutFileTest, TextsBeyondTheCodePageComeBackWholeOthersSeeQuestionMarks)
{
    TqnLayout layout;
    TqnMemoView &memo = addMemo(layout.Pages.front(), 0, 0, 100, 20, QStringLiteral("Ελλάδα è qui"), QStringLiteral("Nota"));
    memo.FontName = QStringLiteral("Arial");
    auto *plain = new TqnDataset(layout.DataSets.holder());
    plain->setName(QStringLiteral("Łódź"));
    layout.DataSets.add(plain);
    const QByteArray written = writeLayout(layout, QString());

    TqnLayout again;
    ASSERT_TRUE(read(written, again).pagesRead);
    EXPECT_EQ(again.Pages.front().Objects.front()->Memo, QStringList{QStringLiteral("Ελλάδα è qui")});
    ASSERT_EQ(again.DataSets.count(), 1);
    EXPECT_EQ(again.DataSets.at(0)->name(), QStringLiteral("Łódź"));
    EXPECT_EQ(writeLayout(again, QString()), written);

    // A reader that stops at the full texts' record keeps everything else, with a '?' for
    // each letter the code page lacks; Western texts are written as before.
    const qsizetype full = written.lastIndexOf(QByteArray("\xFDUTF8", 5));
    ASSERT_GT(full, 0);
    TqnLayout older;
    ASSERT_TRUE(read(written.left(full), older).pagesRead);
    EXPECT_EQ(older.Pages.front().Objects.front()->Memo, QStringList{QStringLiteral("?????? è qui")});
    EXPECT_EQ(older.DataSets.at(0)->name(), QStringLiteral("?ód?"));
    EXPECT_EQ(older.Pages.front().Objects.front()->Name, QStringLiteral("Nota"));

    // A full text is put back only over the stand-in it was written for.
    QByteArray changed = written;
    changed.replace(QByteArray("?????? \xE8 qui", 12), QByteArray("?????? \xE8 qua", 12));
    TqnLayout other;
    ASSERT_TRUE(read(changed, other).pagesRead);
    EXPECT_EQ(other.Pages.front().Objects.front()->Memo, QStringList{QStringLiteral("?????? è qua")});
    EXPECT_EQ(other.DataSets.at(0)->name(), QStringLiteral("Łódź"));
}

} // namespace

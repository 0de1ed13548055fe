#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintListing.h"
#include "core/output/PrintPicture.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "support/WorldArchive.h"

namespace brix {
namespace {

// ---- Page geometry and pagination, in round numbers: 100 dpi, 10-pixel lines, 5-pixel
// characters, a letter page (850 x 1100) whose outer quarter inch cannot be printed.

constexpr QSize Letter(850, 1100);
const QRect PrintableArea(25, 25, 800, 1050);

struct Placed {
    int Page;
    QRect Text;
    QRect Picture;
};

struct PaginationRow {
    const char* Name;
    PrintMargins Margins;
    QSize Picture;              // on paper
    std::vector<int> Chars;     // text length of each item
    QRect Printable;            // expected; empty: the margins leave no body
    std::vector<Placed> Items;  // expected
};

// 5 pixels per character, wrapped at the column width, 10 pixels a line.
int TextHeight(int chars, int width) {
    const int perLine = std::max(1, width / 5);
    return (chars + perLine - 1) / perLine * 10;
}

TEST(PrintLayout, PaginationRows) {
    const PaginationRow rows[] = {
        // Printable (100,100)-(750,1000): 90 lines, body (100,140) 650 x 840. The first item
        // starts page 1, a short picture item is picture + one line high, and the last, with
        // only 70 pixels left, gets a new page rather than being split.
        {"one inch",
         {1000, 1000, 1000, 1000},
         {100, 90},
         {10, 2000, 5000, 5000},
         {100, 100, 650, 900},
         {{1, {100, 140, 530, 10}, {650, 140, 100, 90}},
          {1, {100, 240, 530, 190}, {650, 240, 100, 90}},
          {1, {100, 430, 530, 480}, {650, 430, 100, 90}},
          {2, {100, 140, 530, 480}, {650, 140, 100, 90}}}},
        // Margins inside the unprintable border are pulled in to the printable area.
        {"tiny", {0, 100, -500, 0}, {}, {10}, {25, 25, 800, 1050}, {{1, {25, 65, 800, 10}, {}}}},
        // A picture wider than the body shrinks to the body, the text goes below it.
        {"wide picture",
         {3000, 1000, 4000, 1000},
         {300, 200},
         {10},
         {300, 100, 150, 900},
         {{1, {300, 250, 150, 10}, {300, 140, 150, 100}}}},
        {"margins wider than the paper", {5000, 1000, 5000, 1000}, {}, {10}, {}, {}},
    };
    for (const PaginationRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::optional<PrintPageGeometry> page =
            PrintPageFor(row.Margins, Letter, PrintableArea, 100, 100, 10, 5);
        if (row.Printable.isEmpty()) {
            EXPECT_FALSE(page.has_value());
            continue;
        }
        ASSERT_TRUE(page.has_value());
        EXPECT_EQ(page->Printable, row.Printable);
        PrintPaginator paginator(*page, row.Picture);
        ASSERT_EQ(row.Chars.size(), row.Items.size());
        int lastPage = 0;
        for (std::size_t i = 0; i < row.Chars.size(); ++i) {
            SCOPED_TRACE(i);
            const PrintPlacement placed =
                paginator.Place([&](int width) { return TextHeight(row.Chars[i], width); });
            EXPECT_EQ(placed.Page, row.Items[i].Page);
            EXPECT_EQ(placed.NewPage, placed.Page != lastPage);
            EXPECT_EQ(placed.Text, row.Items[i].Text);
            EXPECT_EQ(placed.Picture, row.Items[i].Picture);
            lastPage = placed.Page;
        }
    }
}

TEST(PrintPicture, SizeOnPaper) {
    EXPECT_EQ(PrintPictureSize(PrintContent::Treasures, PrintMapOption::SmallMono),
              QSize(174, 180));
    EXPECT_EQ(PrintPictureOnPaper(PrintContent::Treasures, PrintMapOption::SmallMono, 600, 600),
              QSize(522, 540));
    EXPECT_TRUE(
        PrintPictureOnPaper(PrintContent::Regions, PrintMapOption::NoMap, 600, 600).isEmpty());
}

// Region 5 of the fixture reaches beyond its map window, so unclipped its tacks and labels
// would land on the frame.
TEST(PrintPicture, RegionTacksAndLabelsStayOffTheFrame) {
    test::EnsureGuiApp();
    Session session;
    test::FillRegionSession(session);
    test::LoadRegionPictures(session);
    ComputeAllLabelGeometry(session.GetWorld());
    const MapFilter filter;
    for (const PrintMapOption option : {PrintMapOption::SmallMono, PrintMapOption::LargeColour}) {
        SCOPED_TRACE(static_cast<int>(option));
        const bool mono = option == PrintMapOption::SmallMono;
        const PrintPictureStyle style{mono ? PanelStyle::DoubleLine : PanelStyle::Scroll, !mono,
                                      mono, 200};
        const QSize size = PrintPictureSize(PrintContent::Regions, option);
        PrintPictures pictures(session, filter, style, size);
        const PanelMargins m = MarginsOf(style.Style);
        const QRect inner(m.Left, m.Top, size.width() - m.Left - m.Right,
                          size.height() - m.Top - m.Bottom);
        const QImage& picture = pictures.ForRegion(*session.GetWorld().FindRegion(5));
        const QImage& frame = pictures.Background();
        int frameChanged = 0, inside = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const bool changed = picture.pixel(x, y) != frame.pixel(x, y);
                (inner.contains(x, y) ? inside : frameChanged) += changed ? 1 : 0;
            }
        EXPECT_EQ(frameChanged, 0);
        EXPECT_GT(inside, 100);  // the map line, tacks and labels are there
        // Its layers, as a PDF gets them, give the same pixels.
        QImage rebuilt(size, QImage::Format_RGB32);
        {
            QPainter painter(&rebuilt);
            pictures.DrawLayers(painter, QRectF(rebuilt.rect()));
        }
        EXPECT_EQ(rebuilt, picture);
    }
}

// ---- Whole jobs on a PDF writer.

#ifdef BRIX_SAMPLE_ARCHIVE
const Session& SampleWorld() {
    return test::SharedWorldArchive(BRIX_SAMPLE_ARCHIVE);
}
#endif

class PrintListingPdf : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef BRIX_SAMPLE_ARCHIVE
        GTEST_SKIP() << "no sample world in this build";
#else
        ASSERT_TRUE(dir_.isValid());
        ASSERT_GT(SampleWorld().GetWorld().Treasures.size(), 400u);
#endif
    }
    QString Path(const char* name) const {
        return dir_.filePath(QString::fromLatin1(name));
    }

    static std::unique_ptr<QPdfWriter> Writer(const QString& path) {
        auto writer = std::make_unique<QPdfWriter>(path);
        writer->setResolution(600);
        writer->setPageSize(QPageSize(QPageSize::A4));
        return writer;
    }

    QTemporaryDir dir_;
    const QDateTime jobTime_{QDate(2026, 3, 14), QTime(9, 26)};
};

// The region listing read back, in full and terse; pdftotext reads the text when installed.
TEST_F(PrintListingPdf, TheSampleWorldPrintsAsAListing) {
#ifdef BRIX_SAMPLE_ARCHIVE
    const Session& world = SampleWorld();
    const Region* commented = nullptr;
    for (const Region& region : world.GetWorld().Regions)
        if (region.Index >= 1 && !region.Comment.empty() && commented == nullptr)
            commented = &region;
    ASSERT_NE(commented, nullptr);
    const QString comment = QString::fromStdString(commented->Comment).simplified().left(30);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));

    for (const bool terse : {false, true}) {
        SCOPED_TRACE(terse);
        const QString path = Path("listing.pdf");
        PrintOptions options;
        options.Content = PrintContent::Regions;
        options.MapOption = terse ? PrintMapOption::SmallColour : PrintMapOption::LargeColour;
        options.Terse = terse;
        PrintOutcome outcome;
        {
            const std::unique_ptr<QPdfWriter> writer = Writer(path);
            outcome = PrintListing(world, options, *writer, PrintMargins{}, jobTime_, {});
        }
        ASSERT_EQ(outcome.Result, PrintResult::Printed);
        EXPECT_GT(outcome.Pages, 1);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromLatin1(file.readAll())
                      .count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b(?!s)"))),
                  outcome.Pages);

        if (pdftotext.isEmpty()) continue;
        QProcess process;
        process.start(pdftotext, {path, QStringLiteral("-")});
        process.waitForFinished(60000);
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(text.contains(QStringLiteral("Brix Tools")));
        EXPECT_TRUE(text.contains(QLocale().toString(jobTime_.date(), QLocale::ShortFormat)));
        EXPECT_TRUE(text.contains(QStringLiteral("Page 1\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1\n").arg(outcome.Pages)));
        // Names may be wrapped onto two lines.
        EXPECT_TRUE(text.simplified().contains(
            QString::fromStdString(world.GetWorld().Regions.back().Name)));
        EXPECT_EQ(text.simplified().contains(comment), !terse);
    }
#endif
}

// A page start that fails mid-job.
class FailingWriter : public QPdfWriter {
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override { return false; }
};

TEST_F(PrintListingPdf, JobsThatEndEarly) {
#ifdef BRIX_SAMPLE_ARCHIVE
    enum class Device { Writer, Unwritable, Failing };
    using R = PrintResult;
    struct Row {
        const char* Name;
        Device Kind;
        bool OnlyWithMaps;
        PrintMargins Margins;
        int CancelAt;  // BeforeItem call that answers "stop"; 0: none
        R Result;
        int Pages;
        bool Written;  // the file exists and the job was abandoned
    };
    const Row rows[] = {
        {"nothing to print", Device::Writer, true, {}, 0, R::NothingToPrint, 0, false},
        {"no body", Device::Writer, false, {750, 5500, 750, 5500}, 0, R::NoBody, 0, false},
        {"cancel before the third item", Device::Writer, false, {}, 3, R::Cancelled, 1, true},
        {"unwritable file", Device::Unwritable, false, {}, 0, R::CouldNotStart, 0, false},
        {"the second page cannot start", Device::Failing, false, {}, 0, R::PageFailed, 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const QString path =
            row.Kind == Device::Unwritable ? Path("missing/folder/x.pdf") : Path(row.Name) + ".pdf";
        PrintOptions options;
        options.MapOption = PrintMapOption::SmallColour;
        options.Filter.OnlyTreasuresWithMaps = row.OnlyWithMaps;
        int calls = 0, abandoned = 0;
        PrintProgress progress{[&](int) { return ++calls != row.CancelAt; }, [&] { ++abandoned; }};
        PrintOutcome outcome;
        {
            std::unique_ptr<QPdfWriter> writer =
                row.Kind == Device::Failing ? std::make_unique<FailingWriter>(path) : Writer(path);
            outcome =
                PrintListing(SampleWorld(), options, *writer, row.Margins, jobTime_, progress);
        }
        EXPECT_EQ(outcome.Result, row.Result);
        EXPECT_EQ(outcome.Pages, row.Pages);
        EXPECT_EQ(QFile::exists(path), row.Written);
        EXPECT_EQ(abandoned, row.Written ? 1 : 0);
        if (row.CancelAt > 0) {
            EXPECT_EQ(calls, row.CancelAt);  // nothing is placed after Cancel
        }
    }
#endif
}

}  // namespace
}  // namespace brix

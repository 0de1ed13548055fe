#include <gtest/gtest.h>

#include <QFile>
#include <QPageLayout>
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
#include "core/data/TreasureCatalog.h"
#include "core/data/ZipArchive.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintListing.h"
#include "core/output/PrintPicture.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"

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
    const PrintMargins inch{1000, 1000, 1000, 1000};
    const PaginationRow rows[] = {
        // Printable (100,100)-(750,1000): 90 lines, body (100,140) 650 x 840.
        {"the first item starts page 1; a short picture item is picture + one line high",
         inch,
         {100, 90},
         {10, 2000, 5000, 5000},
         {100, 100, 650, 900},
         {{1, {100, 140, 530, 10}, {650, 140, 100, 90}},
          {1, {100, 240, 530, 190}, {650, 240, 100, 90}},
          {1, {100, 430, 530, 480}, {650, 430, 100, 90}},
          // only 70 pixels are left: a new page rather than a split item
          {2, {100, 140, 530, 480}, {650, 140, 100, 90}}}},
        {"an item taller than a body gets a page of its own and overruns it",
         inch,
         {},
         {130, 20000, 130},
         {100, 100, 650, 900},
         {{1, {100, 140, 650, 10}, {}},
          {2, {100, 140, 650, 1540}, {}},
          {3, {100, 140, 650, 10}, {}}}},
        {"margins inside the unprintable border are pulled in to the printable area",
         {0, 100, -500, 0},
         {},
         {10},
         {25, 25, 800, 1050},
         {{1, {25, 65, 800, 10}, {}}}},
        {"a text column too narrow beside the picture goes below it",
         {3000, 1000, 4000, 1000},
         {100, 90},
         {100},
         {300, 100, 150, 900},
         {{1, {300, 240, 150, 40}, {350, 140, 100, 90}}}},
        {"a picture wider than the body shrinks to the body, text below",
         {3000, 1000, 4000, 1000},
         {300, 200},
         {10},
         {300, 100, 150, 900},
         {{1, {300, 250, 150, 10}, {300, 140, 150, 100}}}},
        // 7 lines of printable height leave one line of body; 6 leave none.
        {"seven lines: one body line",
         {1000, 5000, 1000, 5300},
         {},
         {10},
         {100, 500, 650, 70},
         {{1, {100, 540, 650, 10}, {}}}},
        {"six lines: no body", {1000, 5000, 1000, 5400}, {}, {10}, {}, {}},
        {"margins wider than the paper: no body", {5000, 1000, 5000, 1000}, {}, {10}, {}, {}},
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

TEST(PrintPicture, SizeRows) {
    struct Row {
        PrintContent Content;
        PrintMapOption Option;
        int Dpi;
        QSize Picture, OnPaper;
    };
    using C = PrintContent;
    using O = PrintMapOption;
    const Row rows[] = {
        {C::Treasures, O::SmallMono, 600, {174, 180}, {522, 540}},
        {C::Treasures, O::LargeMono, 600, {174, 180}, {1044, 1080}},
        {C::Treasures, O::SmallColour, 600, {246, 262}, {738, 786}},
        {C::Treasures, O::LargeColour, 300, {246, 262}, {738, 786}},
        {C::Regions, O::SmallMono, 300, {408, 358}, {612, 537}},
        {C::Regions, O::LargeColour, 600, {480, 440}, {2880, 2640}},
        // multiplied before dividing: 174 x 203 / 200, not 174 / 200 x 203
        {C::Treasures, O::SmallMono, 203, {174, 180}, {176, 182}},
        {C::Regions, O::NoMap, 600, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.Option) * 10 + static_cast<int>(row.Content));
        EXPECT_EQ(PrintPictureSize(row.Content, row.Option), row.Picture);
        EXPECT_EQ(PrintPictureOnPaper(row.Content, row.Option, row.Dpi, row.Dpi), row.OnPaper);
    }
}

// Region 5 of the fixture reaches beyond its map window, so unclipped its tacks and labels
// would land on the frame.
TEST(PrintPicture, RegionTacksAndLabelsStayOffTheFrame) {
    test::EnsureGuiApp();
    TreasureCatalog catalog;
    test::FillRegionCatalog(catalog);
    test::LoadRegionPictures(catalog);
    ComputeAllLabelGeometry(catalog);
    const MapFilter filter;
    for (const PrintMapOption option : {PrintMapOption::SmallMono, PrintMapOption::LargeColour}) {
        const bool mono = option == PrintMapOption::SmallMono;
        const PrintPictureStyle style{mono ? PanelStyle::DoubleLine : PanelStyle::Scroll, !mono,
                                      mono, 200};
        const QSize size = PrintPictureSize(PrintContent::Regions, option);
        PrintPictures pictures(catalog, filter, style, size);
        const PanelMargins m = MarginsOf(style.Style);
        const QRect inner(m.Left, m.Top, size.width() - m.Left - m.Right,
                          size.height() - m.Top - m.Bottom);
        for (int r = 4; r <= 5; ++r) {
            SCOPED_TRACE(r * 10 + static_cast<int>(option));
            const QImage& picture = pictures.ForRegion(*catalog.FindRegion(r));
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
}

// ---- Whole jobs on a PDF writer.

#ifdef BRIX_SAMPLE_ARCHIVE
const TreasureCatalog& SampleWorld() {
    static const std::unique_ptr<TreasureCatalog> catalog = [] {
        test::EnsureGuiApp();
        auto made = std::make_unique<TreasureCatalog>();
        test::RecordingMessages messages;
        std::unique_ptr<ZipArchive> archive = ZipArchive::Open(BRIX_SAMPLE_ARCHIVE);
        if (archive && LoadSystemData(*made, *made, *archive, SystemDataMemberName, messages))
            LoadDrawingResources(*made, *archive, messages);
        ComputeAllLabelGeometry(*made);
        return made;
    }();
    return *catalog;
}
#endif

class PrintListingPdf : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef BRIX_SAMPLE_ARCHIVE
        GTEST_SKIP() << "no sample world in this build";
#else
        ASSERT_TRUE(dir_.isValid());
        ASSERT_GT(SampleWorld().Treasures.size(), 400u);
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

    // The text of the PDF as pdftotext reads it; nullopt when pdftotext is not installed.
    static std::optional<QString> PdfText(const QString& path) {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (tool.isEmpty()) return std::nullopt;
        QProcess process;
        process.start(tool, {path, QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir dir_;
    const QDateTime jobTime_{QDate(2026, 3, 14), QTime(9, 26)};
};

TEST_F(PrintListingPdf, TheSampleWorldPrintsAsAListing) {
#ifdef BRIX_SAMPLE_ARCHIVE
    const TreasureCatalog& world = SampleWorld();
    const Region* commented = nullptr;
    for (const Region& region : world.Regions)
        if (region.Index >= 1 && !region.Comment.empty() && commented == nullptr)
            commented = &region;
    ASSERT_NE(commented, nullptr);
    const QString comment = QString::fromStdString(commented->Comment).simplified().left(30);

    struct Row {
        PrintContent Content;
        PrintMapOption Option;
        bool Terse;
    };
    for (const Row row : {Row{PrintContent::Treasures, PrintMapOption::SmallMono, true},
                          Row{PrintContent::Regions, PrintMapOption::LargeColour, false},
                          Row{PrintContent::Regions, PrintMapOption::SmallColour, true}}) {
        SCOPED_TRACE(static_cast<int>(row.Option) * 10 + static_cast<int>(row.Content));
        const QString path = Path("listing.pdf");
        PrintOptions options;
        options.Content = row.Content;
        options.MapOption = row.Option;
        options.Terse = row.Terse;
        std::vector<int> progress;
        PrintOutcome outcome;
        {
            const std::unique_ptr<QPdfWriter> writer = Writer(path);
            outcome = PrintListing(world, options, *writer, PrintMargins{}, jobTime_,
                                   {[&](int pages) {
                                        progress.push_back(pages);
                                        return true;
                                    },
                                    {}});
        }
        ASSERT_EQ(outcome.Result, PrintResult::Printed);
        EXPECT_GT(outcome.Pages, 1);
        EXPECT_EQ(progress.front(), 1);
        EXPECT_EQ(progress.back(), outcome.Pages);

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString pdf = QString::fromLatin1(file.readAll());
        EXPECT_EQ(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b(?!s)"))),
                  outcome.Pages);
        EXPECT_TRUE(pdf.contains(QStringLiteral("/MediaBox [0 0 595.000000 842.000000]")));

        const std::optional<QString> text = PdfText(path);
        if (!text) continue;
        EXPECT_TRUE(text->contains(QStringLiteral("Brix Tools")));
        EXPECT_TRUE(text->contains(QLocale().toString(jobTime_.date(), QLocale::ShortFormat)));
        EXPECT_TRUE(text->contains(QStringLiteral("Page 1\n")));
        EXPECT_TRUE(text->contains(QStringLiteral("Page %1\n").arg(outcome.Pages)));
        EXPECT_FALSE(text->contains(QStringLiteral("Page %1\n").arg(outcome.Pages + 1)));
        // The first and the last item's names; names may be wrapped onto two lines.
        const std::string first = row.Content == PrintContent::Treasures ? world.Treasures[1].Name
                                                                         : world.Regions[1].Name;
        const std::string last = row.Content == PrintContent::Treasures
                                     ? world.Treasures.back().Name
                                     : world.Regions.back().Name;
        EXPECT_TRUE(text->simplified().contains(QString::fromStdString(first)));
        EXPECT_TRUE(text->simplified().contains(QString::fromStdString(last)));
        EXPECT_EQ(text->simplified().contains(comment), !row.Terse);
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
    struct Row {
        const char* Name;
        Device Kind;
        bool OnlyWithMaps;
        PrintMargins Margins;
        int CancelAt;  // BeforeItem call that answers "stop"; 0: none
        PrintResult Result;
        int Pages;
        bool FileWritten;
        bool Abandoned;
    };
    const Row rows[] = {
        {"no character, only with maps",
         Device::Writer,
         true,
         {},
         0,
         PrintResult::NothingToPrint,
         0,
         false,
         false},
        {"margins leave no body",
         Device::Writer,
         false,
         {750, 5500, 750, 5500},
         0,
         PrintResult::NoBody,
         0,
         false,
         false},
        {"cancel before the third item",
         Device::Writer,
         false,
         {},
         3,
         PrintResult::Cancelled,
         1,
         true,
         true},
        {"cancel before the first item",
         Device::Writer,
         false,
         {},
         1,
         PrintResult::Cancelled,
         0,
         false,
         false},
        {"the file cannot be written",
         Device::Unwritable,
         false,
         {},
         0,
         PrintResult::CouldNotStart,
         0,
         false,
         false},
        {"the second page cannot start",
         Device::Failing,
         false,
         {},
         0,
         PrintResult::PageFailed,
         1,
         true,
         true},
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
        EXPECT_EQ(QFile::exists(path), row.FileWritten);
        EXPECT_EQ(abandoned, row.Abandoned ? 1 : 0);
        // Nothing is placed after Cancel.
        if (row.CancelAt > 0) {
            EXPECT_EQ(calls, row.CancelAt);
        }
    }
#endif
}

}  // namespace
}  // namespace brix

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "core/data/Session.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintListing.h"
#include "core/output/PrintPicture.h"
#include "support/GuiApp.h"
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

// Items of one line fill a body of printable height / line height - 6 lines, however the
// printable height falls between two lines; the next item starts the next page at the top.
TEST(PrintLayout, AFullPageHoldsTheComputedLines) {
    for (const auto& [bottom, lines] : {std::pair{1000, 84}, std::pair{1050, 83}}) {
        SCOPED_TRACE(bottom);  // printable 900 and 895 pixels high
        const std::optional<PrintPageGeometry> page =
            PrintPageFor({1000, 1000, 1000, bottom}, Letter, PrintableArea, 100, 100, 10, 5);
        ASSERT_TRUE(page.has_value());
        PrintPaginator paginator(*page, {});
        for (int line = 0; line <= lines; ++line) {
            const PrintPlacement placed = paginator.Place([](int) { return 10; });
            EXPECT_EQ(placed.Page, line < lines ? 1 : 2) << line;
            EXPECT_EQ(placed.Text.top(), 100 + 10 * (4 + line % lines)) << line;
        }
    }
}

TEST(PrintPicture, SizeOnPaper) {
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
    const PrintPictureStyle style{PanelStyle::Scroll, true, false, 200};
    const QSize size = PrintPictureSize(PrintContent::Regions, PrintMapOption::LargeColour);
    const MapFilter filter;
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

// Records the text a job draws, page by page, with the box its glyphs fill.
struct DrawnLine {
    double Top, Bottom;
    QString Text;
};

class LineRecorder : public QPaintEngine {
public:
    LineRecorder() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        Pages.back().push_back(
            {baseline.y() - item.ascent(), baseline.y() + item.descent(), item.text()});
    }
    Type type() const override { return User; }

    std::vector<std::vector<DrawnLine>> Pages{1};
};

class RecordingWriter : public QPdfWriter {
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override {
        Lines.Pages.emplace_back();
        return true;
    }
    QPaintEngine* paintEngine() const override { return &Lines; }

    mutable LineRecorder Lines;
};

// Every page has the title and the job's time on top and its number at the foot, below the
// body's last line.
TEST_F(PrintListingPdf, PagesHaveHeaderAndFooterAroundTheBody) {
#ifdef BRIX_SAMPLE_ARCHIVE
    const QLocale locale;
    const QString stamp = locale.toString(jobTime_.date(), QLocale::ShortFormat) + ' ' +
                          locale.toString(jobTime_.time(), QLocale::ShortFormat);
    RecordingWriter writer(Path("lines.pdf"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    PrintOptions options;
    options.Content = PrintContent::Regions;
    options.MapOption = PrintMapOption::NoMap;
    const PrintOutcome outcome =
        PrintListing(SampleWorld(), options, writer, {750, 3000, 750, 2900}, jobTime_, {});
    ASSERT_EQ(outcome.Result, PrintResult::Printed);
    ASSERT_EQ(static_cast<int>(writer.Lines.Pages.size()), outcome.Pages);
    ASSERT_GT(outcome.Pages, 1);
    for (std::size_t page = 0; page < writer.Lines.Pages.size(); ++page) {
        const auto& lines = writer.Lines.Pages[page];
        ASSERT_GE(lines.size(), 4u) << page;
        EXPECT_EQ(lines[0].Text, QStringLiteral("Brix Tools")) << page;
        EXPECT_EQ(lines[1].Text, stamp) << page;
        EXPECT_EQ(lines.back().Text, QStringLiteral("Page %1").arg(page + 1)) << page;
        EXPECT_LE(lines[lines.size() - 2].Bottom, lines.back().Top) << page;
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
        PrintMargins Margins;
        int CancelAt;  // BeforeItem call that answers "stop"; 0: none
        R Result;
        int Pages;
        bool Written;  // the file exists and the job was abandoned
    };
    const Row rows[] = {
        {"no body", Device::Writer, {750, 5500, 750, 5500}, 0, R::NoBody, 0, false},
        {"cancel before the third item", Device::Writer, {}, 3, R::Cancelled, 1, true},
        {"unwritable file", Device::Unwritable, {}, 0, R::CouldNotStart, 0, false},
        {"the second page cannot start", Device::Failing, {}, 0, R::PageFailed, 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const QString path =
            row.Kind == Device::Unwritable ? Path("missing/folder/x.pdf") : Path(row.Name) + ".pdf";
        PrintOptions options;
        options.MapOption = PrintMapOption::SmallColour;
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

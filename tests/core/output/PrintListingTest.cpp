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
#include <string>
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

// What a job draws instead of a file: the text lines of each page, in the order drawn, with
// the boxes their glyphs fill.
struct DrawnLine {
    QRectF Box;
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
        Pages.back().push_back({QRectF(baseline.x(), baseline.y() - item.ascent(), item.width(),
                                       item.ascent() + item.descent()),
                                item.text()});
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

// The region listing without pictures. Every page has the title and the job's time on top and
// its number at the foot, a line above the printable rectangle's bottom; the body between them
// is printable height / line height - 6 lines high, and its last line stays above the footer.
TEST_F(PrintListingPdf, PagesHoldTheComputedLinesBetweenHeaderAndFooter) {
#ifdef BRIX_SAMPLE_ARCHIVE
    const World& world = SampleWorld().GetWorld();
    const auto commented = std::find_if(world.Regions.begin(), world.Regions.end(),
                                        [](const Region& r) { return !r.Comment.empty(); });
    ASSERT_NE(commented, world.Regions.end());
    const QString comment = QString::fromStdString(commented->Comment).simplified().left(30);
    const QLocale locale;
    const QString stamp = locale.toString(jobTime_.date(), QLocale::ShortFormat) + ' ' +
                          locale.toString(jobTime_.time(), QLocale::ShortFormat);

    for (const bool terse : {true, false}) {
        SCOPED_TRACE(terse);
        RecordingWriter writer(Path("lines.pdf"));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        PrintOptions options;
        options.Content = PrintContent::Regions;
        options.MapOption = PrintMapOption::NoMap;
        options.Terse = terse;
        const PrintOutcome outcome =
            PrintListing(SampleWorld(), options, writer, {750, 3000, 750, 2900}, jobTime_, {});
        ASSERT_EQ(outcome.Result, PrintResult::Printed);
        const std::vector<std::vector<DrawnLine>>& pages = writer.Lines.Pages;
        ASSERT_EQ(static_cast<int>(pages.size()), outcome.Pages);
        ASSERT_GT(pages.size(), 2u);
        QString body;
        for (std::size_t page = 0; page < pages.size(); ++page) {
            SCOPED_TRACE(page);
            const std::vector<DrawnLine>& lines = pages[page];
            ASSERT_GE(lines.size(), 4u);
            const DrawnLine& title = lines[0];
            const DrawnLine& footer = lines.back();
            EXPECT_EQ(title.Text, QStringLiteral("Brix Tools"));
            EXPECT_EQ(lines[1].Text, stamp);
            EXPECT_EQ(footer.Text, QStringLiteral("Page %1").arg(page + 1));
            // The job's time stands two lines below the title.
            const double line = (lines[1].Box.top() - title.Box.top()) / 2;
            const double printable = footer.Box.top() + line - title.Box.top();
            // A full page's items, a line and a blank each, fill the body from four lines
            // below the top until the next would pass its last line.
            const double bodyHeight = (static_cast<int>(printable / line) - 6) * line;
            const double pitch = lines[3].Box.top() - lines[2].Box.top();
            const double items = static_cast<double>(lines.size() - 3);
            EXPECT_NEAR(lines[2].Box.top(), title.Box.top() + 4 * line, 1);
            if (terse && page == 0) {
                EXPECT_LE(items * pitch, bodyHeight);
                EXPECT_GT((items + 1) * pitch, bodyHeight);
            }
            EXPECT_LE(lines[lines.size() - 2].Box.bottom(), footer.Box.top());
            for (std::size_t k = 2; k + 1 < lines.size(); ++k) body += lines[k].Text + ' ';
        }
        EXPECT_TRUE(body.contains(QString::fromStdString(world.Regions.back().Name)));
        EXPECT_EQ(body.simplified().contains(comment), !terse);
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

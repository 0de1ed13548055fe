#include "core/output/PrintListing.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "core/output/InfoText.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintPicture.h"

namespace brix {

namespace {

// The outer sizes of the treasure close-up and of the region map panel, both framed as scrolls.
constexpr QSize TreasurePanelSize(246, 262);
constexpr QSize RegionPanelSize(480, 440);

std::optional<PrintPictureStyle> StyleOf(PrintMapOption option) {
    switch (option) {
        case PrintMapOption::SmallMono:
            return PrintPictureStyle{PanelStyle::DoubleLine, false, true, 200};
        case PrintMapOption::LargeMono:
            return PrintPictureStyle{PanelStyle::DoubleLine, false, true, 100};
        case PrintMapOption::SmallColour:
            return PrintPictureStyle{PanelStyle::Scroll, true, false, 200};
        case PrintMapOption::LargeColour:
            return PrintPictureStyle{PanelStyle::Scroll, true, false, 100};
        case PrintMapOption::NoMap:
            break;
    }
    return std::nullopt;
}

// Item texts: word-wrapped from the top left.
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

int ToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, std::numeric_limits<int>::max()));
}

// One fixed font for every device, so that a printer and a PDF file get the same pages: the
// application's default font at its point size (ten points when it is sized in pixels).
QFont ListingFont(const QPaintDevice& device) {
    QFont font = QGuiApplication::font();
    if (font.pointSizeF() <= 0) font.setPointSize(10);
    return QFont(font, &device);
}

// The page geometry of the device, in device pixels on the full page.
struct DeviceGeometry {
    int DpiX = 0;
    int DpiY = 0;
    QSize Paper;
    QRect PrintableArea;
};

DeviceGeometry GeometryOf(const QPagedPaintDevice& device) {
    DeviceGeometry g;
    g.DpiX = device.logicalDpiX();
    g.DpiY = device.logicalDpiY();
    const QPageLayout layout = device.pageLayout();
    // The printable area is what the page would offer with the device's smallest margins.
    QPageLayout smallest = layout;
    smallest.setMode(QPageLayout::StandardMode);
    smallest.setMargins(layout.minimumMargins());
    const QRectF paper = layout.fullRect(QPageLayout::Inch);
    const QRectF area = smallest.paintRect(QPageLayout::Inch);
    auto x = [&](double inches) { return static_cast<int>(std::lround(inches * g.DpiX)); };
    auto y = [&](double inches) { return static_cast<int>(std::lround(inches * g.DpiY)); };
    g.Paper = QSize(x(paper.width()), y(paper.height()));
    g.PrintableArea = QRect(QPoint(x(area.left()), y(area.top())),
                            QPoint(x(area.right()) - 1, y(area.bottom()) - 1));
    return g;
}

// Draws the pages of one job; the painter is begun with the first page.
class ListingPainter {
public:
    ListingPainter(QPagedPaintDevice& device, const QFont& font, const QRect& printable,
                   QString title, QString stamp)
        : device_(device),
          font_(font),
          metrics_(font, &device),
          printable_(printable),
          title_(std::move(title)),
          stamp_(std::move(stamp)) {}

    bool Active() const { return painter_.isActive(); }

    // Begins the document with its first page; false when the device refuses.
    bool Begin(const QString& documentName) {
        original_ = device_.pageLayout();
        // Everything is placed on the full page; the margins are our own.
        QPageLayout fullPage = original_;
        fullPage.setMode(QPageLayout::FullPageMode);
        device_.setPageLayout(fullPage);
        if (auto* pdf = dynamic_cast<QPdfWriter*>(&device_)) pdf->setTitle(documentName);
        if (!painter_.begin(&device_)) {
            device_.setPageLayout(original_);
            return false;
        }
        painter_.setFont(font_);
        painter_.setPen(Qt::black);
        // Maps must stay sharp: no lossy compression and no smoothing of the pixels.
        painter_.setRenderHint(QPainter::LosslessImageRendering);
        layered_ = painter_.paintEngine() != nullptr &&
                   painter_.paintEngine()->type() == QPaintEngine::Pdf;
        return true;
    }

    bool NewPage() { return device_.newPage(); }

    // Ends the document; false when the device reports a failure.
    bool End() {
        const bool ended = painter_.end();
        device_.setPageLayout(original_);
        return ended;
    }

    void Header() {
        Centred(title_, printable_.top());
        Centred(stamp_, printable_.top() + 2 * metrics_.height());
    }

    void Footer(int page) {
        const QString text =
            QString::fromStdString(FormatText(LoadString(StringId::PageNumber), {page}));
        Centred(text, printable_.top() + printable_.height() - metrics_.height());
    }

    void Text(const QRect& rect, const QString& text) {
        painter_.drawText(rect, TextFlags | Qt::TextDontClip, text);
    }

    // Stretches the picture onto the target rectangle. A PDF gets it as layers: the empty panel
    // and the map tiles are stored once for the whole document and each item adds only its
    // tacks and labels, which keeps the file small and the job fast.
    void Picture(const QRect& target, PrintPictures& pictures, const QImage& picture) {
        if (layered_)
            pictures.DrawLayers(painter_, QRectF(target));
        else
            painter_.drawImage(target, picture);
    }

private:
    void Centred(const QString& text, int top) {
        const int width = metrics_.horizontalAdvance(text);
        const int x = printable_.left() + (printable_.width() - width) / 2;
        painter_.drawText(QPoint(x, top + metrics_.ascent()), text);
    }

    QPagedPaintDevice& device_;
    QFont font_;
    QFontMetrics metrics_;
    QRect printable_;
    QString title_;
    QString stamp_;
    QPainter painter_;
    QPageLayout original_;
    bool layered_ = false;
};

// Texts come with CR LF line ends; the layout wants plain line feeds.
QString PageText(const std::string& utf8) {
    QString text = QString::fromStdString(utf8);
    text.remove(QLatin1Char('\r'));
    return text;
}

}  // namespace

QSize PrintPictureSize(PrintContent content, PrintMapOption option) {
    const std::optional<PrintPictureStyle> style = StyleOf(option);
    if (!style) return {};
    const QSize base = content == PrintContent::Treasures ? TreasurePanelSize : RegionPanelSize;
    // The base panels are scrolls; the picture trades the scroll's frame for its own.
    const PanelMargins scroll = MarginsOf(PanelStyle::Scroll);
    const PanelMargins own = MarginsOf(style->Style);
    return QSize(base.width() - scroll.Left - scroll.Right + own.Left + own.Right,
                 base.height() - scroll.Top - scroll.Bottom + own.Top + own.Bottom);
}

QSize PrintPictureOnPaper(PrintContent content, PrintMapOption option, int dpiX, int dpiY) {
    const std::optional<PrintPictureStyle> style = StyleOf(option);
    const QSize picture = PrintPictureSize(content, option);
    if (!style || picture.isEmpty()) return {};
    // Multiplied first, so that no inch fraction is lost.
    return QSize(ToInt(static_cast<long long>(picture.width()) * dpiX / style->PixelsPerInch),
                 ToInt(static_cast<long long>(picture.height()) * dpiY / style->PixelsPerInch));
}

PrintOutcome PrintListing(const Session& session, PrintOptions options, QPagedPaintDevice& device,
                          const PrintMargins& margins, const QDateTime& jobTime,
                          const PrintProgress& progress) {
    MapFilter& filter = options.Filter;
    RecomputeMapFilter(session.GetWorld(), session.GetCurrentCharacter(), filter);
    const bool treasures = options.Content == PrintContent::Treasures;

    const DeviceGeometry geometry = GeometryOf(device);
    const QFont font = ListingFont(device);
    const QFontMetrics metrics(font, &device);
    const std::optional<PrintPageGeometry> pageGeometry =
        PrintPageFor(margins, geometry.Paper, geometry.PrintableArea, geometry.DpiX, geometry.DpiY,
                     metrics.height(), metrics.averageCharWidth());
    if (!pageGeometry) return {PrintResult::NoBody, 0};

    const std::optional<PrintPictureStyle> style = StyleOf(options.MapOption);
    std::optional<PrintPictures> pictures;
    if (style)
        pictures.emplace(session, filter, *style,
                         PrintPictureSize(options.Content, options.MapOption));
    PrintPaginator paginator(*pageGeometry, PrintPictureOnPaper(options.Content, options.MapOption,
                                                                geometry.DpiX, geometry.DpiY));

    const QLocale locale;
    const QString title = QString::fromStdString(session.GetPrefs().ProgramTitle);
    ListingPainter page(device, font, pageGeometry->Printable, title,
                        locale.toString(jobTime.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                            locale.toString(jobTime.time(), QLocale::ShortFormat));

    std::optional<PrintResult> stopped;
    const std::size_t slots =
        treasures ? session.GetWorld().Treasures.size() : session.GetWorld().Regions.size();
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const int index = treasures ? session.GetWorld().Treasures[slot].Index
                                    : session.GetWorld().Regions[slot].Index;
        if (index < 1) continue;
        if (filter.OnlyTreasuresWithMaps &&
            !(treasures ? filter.TreasureFlag(index) : filter.RegionFlag(index)))
            continue;
        if (progress.BeforeItem && !progress.BeforeItem(std::max(1, paginator.Pages()))) {
            stopped = PrintResult::Cancelled;
            break;
        }

        const QString text =
            PageText(treasures ? BuildTreasureText(session, session.GetWorld().Treasures[slot],
                                                   options.Terse)
                               : BuildRegionText(session.GetWorld().Regions[slot], options.Terse));
        const PrintPlacement placement = paginator.Place([&](int width) {
            return metrics.boundingRect(QRect(0, 0, std::max(1, width), 1 << 28), TextFlags, text)
                .height();
        });
        if (placement.NewPage) {
            if (!page.Active()) {
                if (!page.Begin(title)) return {PrintResult::CouldNotStart, 0};
            } else {
                page.Footer(placement.Page - 1);
                if (!page.NewPage()) {
                    stopped = PrintResult::PageFailed;
                    break;
                }
            }
            page.Header();
        }
        page.Text(placement.Text, text);
        if (pictures) {
            const QImage& picture = treasures
                                        ? pictures->ForTreasure(session.GetWorld().Treasures[slot])
                                        : pictures->ForRegion(session.GetWorld().Regions[slot]);
            page.Picture(placement.Picture, *pictures, picture);
        }
    }

    // Pages counts the page an item was laid out for; after a failed page start that page
    // never came.
    if (!page.Active()) return {stopped.value_or(PrintResult::NothingToPrint), 0};
    if (stopped) {
        const int pages = paginator.Pages() - (stopped == PrintResult::PageFailed ? 1 : 0);
        if (progress.Abandon) progress.Abandon();
        page.End();
        return {*stopped, pages};
    }
    page.Footer(paginator.Pages());
    if (!page.End()) return {PrintResult::PageFailed, paginator.Pages()};
    return {PrintResult::Printed, paginator.Pages()};
}

}  // namespace brix

#include "core/output/PrintListing.h"

#include <QPagedPaintDevice>

#include "core/data/TreasureCatalog.h"

namespace brix {

QSize PrintPictureSize(PrintContent, PrintMapOption) {
    return {};
}

QSize PrintPictureOnPaper(PrintContent, PrintMapOption, int, int) {
    return {};
}

PrintOutcome PrintListing(const TreasureCatalog&, PrintOptions, QPagedPaintDevice&,
                          const PrintMargins&, const QDateTime&, const PrintProgress&) {
    return {};
}

}  // namespace brix

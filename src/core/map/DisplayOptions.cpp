#include "core/map/DisplayOptions.h"

#include "core/data/TreasureCatalog.h"
#include "core/map/MapGeometry.h"

namespace brix {

DisplayOptions OptionsOf(const DisplaySettings& display) {
    DisplayOptions options = display;
    options.Margins = PrintMargins{};
    return options;
}

void WriteDisplayOptions(const Settings& settings, const DisplayOptions& options) {
    settings.WriteTreasureInfoInd(options.TreasureInfoInd);
    settings.WriteBeautyOverSpeed(options.BeautyOverSpeed);
    settings.WriteTacksCorrect(options.TacksCorrect);
    settings.WriteWithHighLight(options.WithHighLight);
    settings.WriteWithoutHighLight(options.WithoutHighLight);
    settings.WriteTackWithColor(options.TackWithColor);
    settings.WriteTackWithoutColor(options.TackWithoutColor);
}

void ApplyDisplayOptions(TreasureCatalog& catalog, const DisplayOptions& options) {
    const PrintMargins margins = catalog.Display.Margins;
    catalog.Display = options;
    catalog.Display.Margins = margins;
    WriteDisplayOptions(catalog.SettingsFile(), options);
    ComputeAllLabelGeometry(catalog);
    if (catalog.OnUpdate) catalog.OnUpdate();
}

}  // namespace brix

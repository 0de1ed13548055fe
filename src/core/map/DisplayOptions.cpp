#include "core/map/DisplayOptions.h"

#include "core/data/TreasureCatalog.h"
#include "core/map/MapGeometry.h"

namespace brix {

DisplayOptions OptionsOf(const DisplaySettings& display) {
    DisplayOptions options;
    options.TreasureInfoInd = display.TreasureInfoInd;
    options.BeautyOverSpeed = display.BeautyOverSpeed;
    options.TacksCorrect = display.TacksCorrect;
    options.WithHighLight = display.WithHighLight;
    options.WithoutHighLight = display.WithoutHighLight;
    options.TackWithColor = display.TackWithColor;
    options.TackWithoutColor = display.TackWithoutColor;
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
    DisplaySettings& display = catalog.Display;
    display.TreasureInfoInd = options.TreasureInfoInd;
    display.BeautyOverSpeed = options.BeautyOverSpeed;
    display.TacksCorrect = options.TacksCorrect;
    display.WithHighLight = options.WithHighLight;
    display.WithoutHighLight = options.WithoutHighLight;
    display.TackWithColor = options.TackWithColor;
    display.TackWithoutColor = options.TackWithoutColor;
    WriteDisplayOptions(catalog.SettingsFile(), options);
    ComputeAllLabelGeometry(catalog);
    if (catalog.OnUpdate) catalog.OnUpdate();
}

}  // namespace brix

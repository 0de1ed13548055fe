#include "core/map/DisplayOptions.h"

#include "core/data/Session.h"
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

void ApplyDisplayOptions(Session& session, const DisplayOptions& options) {
    const PrintMargins margins = session.GetPrefs().Display.Margins;
    session.GetPrefs().Display = options;
    session.GetPrefs().Display.Margins = margins;
    WriteDisplayOptions(session.SettingsFile(), options);
    ComputeAllLabelGeometry(session.GetWorld());
    session.Notify(Change::Display);
}

}  // namespace brix

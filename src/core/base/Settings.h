#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/base/Geometry.h"
#include "core/base/IniFile.h"

namespace brix {

constexpr std::uint32_t AutomaticColour = 0xFF000000u;

// A recall costs as much as walking this many world units. Above the maximum no leg across the
// world would ever take one, and a negative cost would make recalling pay for itself.
constexpr int DefaultRecallCost = 300;
constexpr int MinRecallCost = 0;
constexpr int MaxRecallCost = 100000;

// Left, top, right, bottom in thousandths of an inch: four distances from the paper's edges,
// not a rectangle.
struct PrintMargins {
    int Left = 750;
    int Top = 750;
    int Right = 750;
    int Bottom = 750;
    bool operator==(const PrintMargins&) const = default;
};

// The display settings read at start-up and kept by the catalogue for the run.
struct DisplaySettings {
    PrintMargins Margins;
    std::uint32_t WithHighLight = AutomaticColour;
    std::uint32_t WithoutHighLight = AutomaticColour;
    std::uint32_t TackWithColor = AutomaticColour;
    std::uint32_t TackWithoutColor = AutomaticColour;
    bool BeautyOverSpeed = true;
    bool TacksCorrect = false;
    bool TreasureInfoInd = false;
    bool operator==(const DisplaySettings&) const = default;
};

// The program's settings file, section "Settings": one typed accessor per key. Every write
// goes to the file at once; reads of a missing file or key give the key's default.
class Settings {
public:
    static constexpr const char* Section = "Settings";

    // With createFolder the first write makes the settings file's missing folder.
    explicit Settings(std::string path, bool createFolder = false)
        : ini_(std::move(path), createFolder) {}

    std::string Character() const;
    void WriteCharacter(const std::string& name) const;
    std::string RuneLibrary() const;
    void WriteRuneLibrary(const std::string& name) const;

    PrintMargins Margins() const;
    void WriteMargins(const PrintMargins& margins) const;

    std::uint32_t WithHighLight() const;
    std::uint32_t WithoutHighLight() const;
    std::uint32_t TackWithColor() const;
    std::uint32_t TackWithoutColor() const;
    void WriteWithHighLight(std::uint32_t colour) const;
    void WriteWithoutHighLight(std::uint32_t colour) const;
    void WriteTackWithColor(std::uint32_t colour) const;
    void WriteTackWithoutColor(std::uint32_t colour) const;

    bool BeautyOverSpeed() const;
    bool TacksCorrect() const;
    bool TreasureInfoInd() const;
    void WriteBeautyOverSpeed(bool on) const;
    void WriteTacksCorrect(bool on) const;
    void WriteTreasureInfoInd(bool on) const;

    // The window's normal rectangle, or nothing (the system chooses) unless all four parse.
    std::optional<IntRect> WindowPlacement() const;
    void WriteWindowPlacement(const IntRect& rect) const;

    bool StayOnTop() const;
    void WriteStayOnTop(bool on) const;
    bool TreasureStayOnTop() const;
    void WriteTreasureStayOnTop(bool on) const;

    // The raw button list; the toolbar parses it and falls back to its default list.
    std::string TBButtons() const;
    void WriteTBButtons(const std::string& list) const;
    int TBTextStyle() const;
    void WriteTBTextStyle(int style) const;
    int TBIconStyle() const;
    void WriteTBIconStyle(int style) const;

    int LastLevel() const;
    void WriteLastLevel(int level) const;

    // What a recall costs the hunt plan, in world units of walking; a hand-edited value is
    // brought into MinRecallCost..MaxRecallCost, one that does not parse gives the default.
    int RecallCost() const;
    void WriteRecallCost(int cost) const;

    std::string ZerrinExportFile() const;
    void WriteZerrinExportFile(const std::string& path) const;
    std::string ZerrinExportPlaceType() const;
    void WriteZerrinExportPlaceType(const std::string& type) const;

    // The display settings in the order start-up reads them.
    DisplaySettings ReadDisplaySettings() const;

    const IniFile& File() const { return ini_; }

private:
    std::uint32_t ReadColour(const char* key) const;
    void WriteColour(const char* key, std::uint32_t colour) const;
    bool ReadBool(const char* key, bool defaultValue) const;
    void WriteBool(const char* key, bool on) const;
    void WriteInt(const char* key, int value) const;

    IniFile ini_;
};

// Scans up to `count` whitespace-separated signed decimal fields ("%d %d ..."); stops at the
// first field that does not parse and returns how many did.
int ScanIntFields(std::string_view text, int* fields, int count);

// Scans one unsigned decimal field ("%u"), or nothing.
std::optional<std::uint32_t> ScanUnsigned(std::string_view text);

}  // namespace brix

#include "core/base/Settings.h"

#include <algorithm>

namespace brix {
namespace {

constexpr int SmallBuffer = 256;

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int ScanIntFields(std::string_view text, int* fields, int count) {
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        std::size_t used = 0;
        auto value = ParseLeadingInt(text.substr(pos), &used);
        if (!value) return i;
        fields[i] = *value;
        pos += used;
    }
    return count;
}

std::optional<std::uint32_t> ScanUnsigned(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t start = i;
    std::uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull + 1;  // saturate, then clamp below
        ++i;
    }
    if (i == start) return std::nullopt;
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull;
    auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

std::string Settings::Character() const {
    return ini_.ReadString(Section, "Character", "", SmallBuffer);
}
void Settings::WriteCharacter(const std::string& name) const {
    ini_.Write(Section, "Character", name);
}
std::string Settings::RuneLibrary() const {
    return ini_.ReadString(Section, "RuneLibrary", "", SmallBuffer);
}
void Settings::WriteRuneLibrary(const std::string& name) const {
    ini_.Write(Section, "RuneLibrary", name);
}

PrintMargins Settings::Margins() const {
    PrintMargins m;
    std::string text = ini_.ReadString(Section, "PrintMargins", "", SmallBuffer);
    if (text.empty()) return m;
    int fields[4] = {m.Left, m.Top, m.Right, m.Bottom};
    ScanIntFields(text, fields, 4);
    return PrintMargins{fields[0], fields[1], fields[2], fields[3]};
}
void Settings::WriteMargins(const PrintMargins& m) const {
    ini_.Write(Section, "PrintMargins",
               std::to_string(m.Left) + " " + std::to_string(m.Top) + " " +
                   std::to_string(m.Right) + " " + std::to_string(m.Bottom));
}

std::uint32_t Settings::ReadColour(const char* key) const {
    std::string text = ini_.ReadString(Section, key, "", SmallBuffer);
    if (text.empty()) return AutomaticColour;
    return ScanUnsigned(text).value_or(AutomaticColour);
}
void Settings::WriteColour(const char* key, std::uint32_t colour) const {
    ini_.Write(Section, key, std::to_string(colour));
}
std::uint32_t Settings::WithHighLight() const {
    return ReadColour("WithHighLight");
}
std::uint32_t Settings::WithoutHighLight() const {
    return ReadColour("WithoutHighLight");
}
std::uint32_t Settings::TackWithColor() const {
    return ReadColour("TackWithColor");
}
std::uint32_t Settings::TackWithoutColor() const {
    return ReadColour("TackWithoutColor");
}
void Settings::WriteWithHighLight(std::uint32_t c) const {
    WriteColour("WithHighLight", c);
}
void Settings::WriteWithoutHighLight(std::uint32_t c) const {
    WriteColour("WithoutHighLight", c);
}
void Settings::WriteTackWithColor(std::uint32_t c) const {
    WriteColour("TackWithColor", c);
}
void Settings::WriteTackWithoutColor(std::uint32_t c) const {
    WriteColour("TackWithoutColor", c);
}

bool Settings::ReadBool(const char* key, bool defaultValue) const {
    return ini_.ReadInt(Section, key, defaultValue ? 1 : 0) != 0;
}
void Settings::WriteBool(const char* key, bool on) const {
    ini_.Write(Section, key, on ? "1" : "0");
}
void Settings::WriteInt(const char* key, int value) const {
    ini_.Write(Section, key, std::to_string(value));
}

bool Settings::BeautyOverSpeed() const {
    return ReadBool("BeautyOverSpeed", true);
}
bool Settings::TacksCorrect() const {
    return ReadBool("TacksCorrect", false);
}
bool Settings::TreasureInfoInd() const {
    return ReadBool("TreasureInfoInd", false);
}
void Settings::WriteBeautyOverSpeed(bool on) const {
    WriteBool("BeautyOverSpeed", on);
}
void Settings::WriteTacksCorrect(bool on) const {
    WriteBool("TacksCorrect", on);
}
void Settings::WriteTreasureInfoInd(bool on) const {
    WriteBool("TreasureInfoInd", on);
}

std::optional<IntRect> Settings::WindowPlacement() const {
    std::string text = ini_.ReadString(Section, "WindowPlacement", "", SmallBuffer);
    int f[4] = {0, 0, 0, 0};
    if (ScanIntFields(text, f, 4) != 4) return std::nullopt;
    return IntRect{f[0], f[1], f[2], f[3]};
}
void Settings::WriteWindowPlacement(const IntRect& r) const {
    ini_.Write(Section, "WindowPlacement",
               std::to_string(r.Left) + " " + std::to_string(r.Top) + " " +
                   std::to_string(r.Right) + " " + std::to_string(r.Bottom));
}

bool Settings::StayOnTop() const {
    return ReadBool("StayOnTop", false);
}
void Settings::WriteStayOnTop(bool on) const {
    WriteBool("StayOnTop", on);
}
bool Settings::TreasureStayOnTop() const {
    return ReadBool("TreasureStayOnTop", false);
}
void Settings::WriteTreasureStayOnTop(bool on) const {
    WriteBool("TreasureStayOnTop", on);
}

std::string Settings::TBButtons() const {
    return ini_.ReadString(Section, "TBButtons", "", 1024);
}
void Settings::WriteTBButtons(const std::string& list) const {
    ini_.Write(Section, "TBButtons", list);
}
int Settings::TBTextStyle() const {
    return ini_.ReadInt(Section, "TBTextStyle", 1);
}
void Settings::WriteTBTextStyle(int style) const {
    WriteInt("TBTextStyle", style);
}
int Settings::TBIconStyle() const {
    return ini_.ReadInt(Section, "TBIconStyle", 1);
}
void Settings::WriteTBIconStyle(int style) const {
    WriteInt("TBIconStyle", style);
}

int Settings::LastLevel() const {
    return ini_.ReadInt(Section, "LastLevel", 0);
}
void Settings::WriteLastLevel(int level) const {
    WriteInt("LastLevel", level);
}

int Settings::RecallCost() const {
    return std::clamp(ini_.ReadInt(Section, "RecallCost", DefaultRecallCost), MinRecallCost,
                      MaxRecallCost);
}
void Settings::WriteRecallCost(int cost) const {
    WriteInt("RecallCost", std::clamp(cost, MinRecallCost, MaxRecallCost));
}

std::string Settings::ZerrinExportFile() const {
    // A path has no length limit here: one cut short would send the export to a wrong file.
    return ini_.Read(Section, "ZerrinExportFile").value_or("");
}
void Settings::WriteZerrinExportFile(const std::string& path) const {
    ini_.Write(Section, "ZerrinExportFile", path);
}
std::string Settings::ZerrinExportPlaceType() const {
    return ini_.ReadString(Section, "ZerrinExportPlaceType", "treasure", 128);
}
void Settings::WriteZerrinExportPlaceType(const std::string& type) const {
    ini_.Write(Section, "ZerrinExportPlaceType", type);
}

DisplaySettings Settings::ReadDisplaySettings() const {
    DisplaySettings d;
    d.Margins = Margins();
    d.WithHighLight = WithHighLight();
    d.WithoutHighLight = WithoutHighLight();
    d.TackWithColor = TackWithColor();
    d.TackWithoutColor = TackWithoutColor();
    d.BeautyOverSpeed = BeautyOverSpeed();
    d.TacksCorrect = TacksCorrect();
    d.TreasureInfoInd = TreasureInfoInd();
    return d;
}

}  // namespace brix

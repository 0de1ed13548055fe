#pragma once

namespace brix {

// Command numbers shared by the menu, the toolbar, the accelerators and the views. Each
// command's string in the string table has the same number.
namespace Command {
constexpr int ExportToZerrin = 0;
constexpr int Options = 40001;
constexpr int World = 40002;
constexpr int Region = 40003;
constexpr int DummyRegion = 40004;
constexpr int TreasureInformation = 40005;
constexpr int LevelInformation = 40006;
constexpr int StayOnTop = 40007;
constexpr int GotAMap = 40008;
constexpr int CompletedAMap = 40009;
constexpr int ManageCharacters = 40010;
constexpr int NextRegion = 40011;
constexpr int PreviousRegion = 40012;
constexpr int NextTreasure = 40013;
constexpr int PreviousTreasure = 40014;
constexpr int ManageRuneLibraries = 40015;
constexpr int Customize = 40016;
constexpr int Filter = 40017;
constexpr int ReadyText = 57345;
constexpr int PageSetup = 57605;
constexpr int Print = 57607;
constexpr int Copy = 57634;
constexpr int About = 57664;
constexpr int Exit = 57665;

// Dynamic ranges: regions (40999 + Index), character and rune library list items.
constexpr int FirstRegion = 41000;
constexpr int LastRegion = 41999;
constexpr int FirstCharacter = 42000;
constexpr int LastCharacter = 42999;
constexpr int FirstRuneLibrary = 43000;
constexpr int LastRuneLibrary = 43999;
}  // namespace Command

}  // namespace brix

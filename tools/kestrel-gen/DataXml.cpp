#include "DataXml.h"

namespace brix::gen {

std::string EscapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

namespace {

void Element(std::string& out, const char* indent, const char* name, const std::string& text) {
    out += indent;
    out += '<';
    out += name;
    out += '>';
    out += EscapeXml(text);
    out += "</";
    out += name;
    out += ">\n";
}

void Element(std::string& out, const char* indent, const char* name, int value) {
    Element(out, indent, name, std::to_string(value));
}

std::string Pair(int a, int b) {
    return std::to_string(a) + "," + std::to_string(b);
}

}  // namespace

std::string WriteDataXml(const World& world) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<brix-data>\n";
    for (const LevelPlan& l : world.Levels) {
        out += "  <Level Index=\"" + std::to_string(l.Index) + "\">\n";
        Element(out, "    ", "Name", l.Name);
        Element(out, "    ", "Cartography", l.Cartography);
        Element(out, "    ", "Lockpicking", l.Lockpicking);
        Element(out, "    ", "Gold", l.Gold);
        Element(out, "    ", "Gems", l.Gems);
        Element(out, "    ", "MagicItems", l.MagicItems);
        Element(out, "    ", "Scrolls", l.Scrolls);
        Element(out, "    ", "Reagents", l.Reagents);
        Element(out, "    ", "WhatSpawns", l.WhatSpawns);
        Element(out, "    ", "WhatDrops", l.WhatDrops);
        out += "  </Level>\n";
    }
    for (const RegionPlan& r : world.Regions) {
        out += "  <Region Index=\"" + std::to_string(r.Index) + "\">\n";
        Element(out, "    ", "Name", r.Name);
        Element(out, "    ", "MaskOffset", Pair(r.Box.left(), r.Box.top()));
        if (r.MaskHitTest) Element(out, "    ", "MaskHitTest", 1);
        if (!r.Comment.empty()) Element(out, "    ", "Comment", r.Comment);
        out += "  </Region>\n";
    }
    for (const TreasurePlan& t : world.Treasures) {
        out += "  <Treasure Index=\"" + std::to_string(t.Index) + "\">\n";
        Element(out, "    ", "Name", t.Name);
        Element(out, "    ", "Region", t.Region);
        Element(out, "    ", "Location", Pair(t.X, t.Y));
        Element(out, "    ", "LabelOffset", Pair(t.LabelDx, t.LabelDy));
        out += "  </Treasure>\n";
    }
    if (!world.RuneBooks.empty()) {
        out += "  <RuneLibrary>\n";
        Element(out, "    ", "Name", world.LibraryName);
        for (const RuneBookPlan& book : world.RuneBooks) {
            out += "    <RuneBook>\n";
            Element(out, "      ", "Name", book.Name);
            std::string list;
            for (int index : book.Treasures)
                list += (list.empty() ? "" : ",") + std::to_string(index);
            Element(out, "      ", "Treasures", list);
            out += "    </RuneBook>\n";
        }
        out += "  </RuneLibrary>\n";
    }
    out += "</brix-data>\n";
    return out;
}

}  // namespace brix::gen

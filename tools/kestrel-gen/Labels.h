#pragma once

#include <QRect>

namespace brix::gen {

// The program draws a treasure's number in a bold face 30 pixels from ascent to descent
// (Arial or Liberation Sans at 27 pixels: digits 15 wide, cell 30 high); these are generous
// estimates of one digit's advance and of the text height, in multimap pixels. They are kept
// from a larger face so that the labels keep the places players know; tighter estimates move
// more labels straight beside their tacks, where a short leader reads as a minus sign.
constexpr int LabelDigitWidth = 17;
constexpr int LabelTextHeight = 34;

// The label rectangle the program computes for a treasure at world point (x, y) with the
// label offset (dx, dy), both in world units: the text extent centred half the offset away
// from the tack head, grown by one pixel on every side. Multimap pixels.
QRect LabelRectFor(int x, int y, int dx, int dy, int index);

// Where the leader line starts: six pixels from the tack head towards the label.
QPoint LeaderStartFor(int x, int y, int dx, int dy);
QPoint LeaderEndFor(int x, int y, int dx, int dy);

// The tack bitmap (13 × 21) drawn for a treasure, in multimap pixels.
QRect TackRectFor(int x, int y);

// True when the part of a leader that shows (from its start to where it meets the label
// rectangle) lies within 30 degrees of horizontal and is shorter than the label is high: beside
// the number it reads as a minus sign ("-45"). Multimap pixels; `end` lies inside `label`.
bool ReadsAsMinus(QPoint start, QPoint end, const QRect& label);

}  // namespace brix::gen

#pragma once

class QLabel;
class QWidget;

namespace brix {

// Makes `caption` the label of `field`: its mnemonic moves the focus there, and a screen
// reader names the field by the caption's text. Lists and tables take no name from a buddy
// (Qt names them by their accessible name only), so they get the caption's text as theirs.
void SetCaption(QLabel& caption, QWidget& field);

}  // namespace brix

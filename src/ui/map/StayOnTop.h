#pragma once

class QWidget;

namespace brix {

// Puts the top-level window above all others, or lets it go back among them. A shown window
// is told through its window handle: QWidget::setWindowFlags() would re-create it, which hides
// it (ending a modal run, flickering) and may move it or lose its maximised state.
void SetStaysOnTop(QWidget& window, bool on);

}  // namespace brix

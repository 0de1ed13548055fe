#pragma once

class QDialog;
class QDialogButtonBox;

namespace brix {

// The button rows of the program's dialogs, made one way everywhere: the buttons carry the
// object names "Ok", "Cancel" and "Close" (tests and screen readers find them by name), Escape
// rejects the dialog and Enter presses the default button.

// "OK" (the default button, accepts) and "Cancel" (rejects).
QDialogButtonBox* MakeOkCancelButtons(QDialog& dialog);
// One "Close" button, default, that rejects: for dialogs whose changes take effect at once.
QDialogButtonBox* MakeCloseButton(QDialog& dialog);

}  // namespace brix

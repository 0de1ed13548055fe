#pragma once

#include <QDialog>

class QLabel;

namespace brix {

// The small window a print job shows while it runs: "Printing" / the program title / "on the"
// / the printer / "on <port>" / "Page <n>", centred, and Cancel. It is modeless; the job pumps
// events between items and asks Cancelled() before each. Cancel, Escape and the close box all
// cancel and hide the window.
class PrintProgressDialog : public QDialog {
    Q_OBJECT
public:
    PrintProgressDialog(const QString& title, const QString& printer, const QString& port,
                        QWidget* parent = nullptr);

    // Shows "Page <pages>" (at least 1).
    void SetPage(int pages);
    bool Cancelled() const { return cancelled_; }

    void reject() override;

private:
    QLabel* page_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace brix

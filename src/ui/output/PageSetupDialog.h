#pragma once

#include <QDialog>
#include <QList>
#include <QPageLayout>
#include <QPageSize>

#include "core/base/Settings.h"

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

namespace brix {

// What Page Setup edits: the paper and orientation of the current output and the program's
// margins in thousandths of an inch.
struct PageSetupChoice {
    QPageSize Paper;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    PrintMargins Margins;
    QList<QPageSize> Papers;  // what the output offers; the current paper is added when missing
};

// "Page Setup": paper, orientation and the four margins, shown in inches or millimetres (the
// user's measurement system first). Qt's own page-setup dialog refuses PDF output on Linux,
// which is the only output of a machine without a printer, so the program has this one for
// every output.
class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageSetupDialog(const PageSetupChoice& choice, QWidget* parent = nullptr);

    // The choices the controls show now.
    PageSetupChoice Choice() const;

    // Runs the dialog modally; on OK `choice` takes the dialog's choices. True on OK.
    static bool Open(PageSetupChoice& choice, QWidget* owner);

private:
    void ShowMargins(const PrintMargins& margins);
    PrintMargins ReadMargins() const;
    bool InInches() const;

    QComboBox* paper_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QComboBox* units_ = nullptr;
    QDoubleSpinBox* left_ = nullptr;
    QDoubleSpinBox* top_ = nullptr;
    QDoubleSpinBox* right_ = nullptr;
    QDoubleSpinBox* bottom_ = nullptr;
    QList<QPageSize> papers_;
    bool inInches_ = true;  // the unit the spin boxes show now
};

// Margins in thousandths of an inch, rounded to the nearest, from inches or millimetres.
int ThousandthsFromInches(double inches);
int ThousandthsFromMillimetres(double millimetres);

}  // namespace brix

#pragma once

#include <QDialog>
#include <QList>

#include <functional>

#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"
#include "core/output/PrintListing.h"
#include "ui/output/PrinterState.h"

class QCheckBox;
class QComboBox;

namespace brix {

class FilterPanel;

// "Select Content to Print": what to list, which map pictures, terse or full texts, where to
// print ("Printer:" lists the system's printers, then "PDF file"), and below them the filter
// panel on a copy of the filter, so the job's filter never changes the screen's. Every opening
// starts from the defaults: a new dialog is made for each job.
class PrintContentDialog : public QDialog {
    Q_OBJECT
public:
    // "Page Setup" calls `pageSetup` with the output chosen in "Printer:" and this dialog as
    // the owner of the page-setup dialog; the content dialog stays open.
    using PageSetupRequest = std::function<void(const PrintOutput&, QWidget* owner)>;

    PrintContentDialog(const GameRecords& records, const MapFilter& filter,
                       const QList<PrintOutput>& outputs, const PrintOutput& current,
                       PageSetupRequest pageSetup, QWidget* parent = nullptr);

    // The choices the controls show now, with the panel's levels and switches as the filter
    // (its has-map flags are empty; the job recomputes them).
    PrintOptions Options() const;
    PrintOutput Output() const;

    // The text "Printer:" shows for an output.
    static QString OutputName(const PrintOutput& output);

private:
    QComboBox* content_ = nullptr;
    QComboBox* mapOption_ = nullptr;
    QComboBox* printer_ = nullptr;
    QCheckBox* terse_ = nullptr;
    FilterPanel* panel_ = nullptr;
    QList<PrintOutput> outputs_;
};

}  // namespace brix

#pragma once
// The window's printing, as the menu items of the table of actions ask for
// it through the window (commands/actions.h): the pages of the tab shown on
// a printer or in a preview ("Tisk…", "Náhled tisku"), the per-student
// report in a preview ("Výpis pro rodiče…") and the class overview
// ("Přehled třídy"). The pages are those of src/print/, whose PDF codecs it
// puts into the table of kinds, so the window prints what the converter
// writes and its PDF files go through the export command.
#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <functional>
#include <memory>
#include <vector>

#include "app/classoverview.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

class QPrinter;
class QWidget;

namespace vekla {

class PrintDocument;

class PrintActions : public QObject {
  Q_OBJECT
 public:
  // Prints and pictures `s`, the state of `window`, which its dialogs and
  // the overview stand over; a printer that fails is said through `p`.
  PrintActions(QWidget* window, const VeklaState& s, Prompter& p);
  ~PrintActions() override;

  void print();
  void preview();
  // The report of the students in `rows` (empty: every student).
  void previewReport(const std::vector<int>& rows);
  void showOverview();
  // After every refresh of the window: the overview follows it.
  void followWindow();

  // Asks where and what to print (the print dialog); tests answer it.
  std::function<bool(QPrinter& printer, int pages)> choosePrinter;
  QPrintPreviewDialog* shownPreview() const { return preview_; }
  ClassOverview* overview() const { return overview_; }

 private:
  void openPreview(std::function<std::unique_ptr<PrintDocument>()> make, const QString& title);

  QWidget* window_;
  const VeklaState& s_;
  Prompter& p_;
  QPointer<QPrintPreviewDialog> preview_;
  QPointer<ClassOverview> overview_;
};

}  // namespace vekla

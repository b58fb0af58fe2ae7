// The one way the program prints: a view hands over an OPrintable and the service prints it
// on a printer chosen in the print dialog, shows it in the print preview, or writes it as a
// PDF file. The printer set-up chosen last (printer, paper, orientation) is kept for the
// next job of the run.
#pragma once

#include <QString>
#include <string>

#include "model/draw/OPrintable.h"

class OViewWidget;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

class OPrintService {
  public:
    // The print dialog, then the chosen printer (which may be a PDF file). False when the
    // user cancelled or nothing could be printed.
    static bool bPrint(OPrintable& printable, QWidget* parent);
    // The print preview; the user may print from it.
    static void Preview(OPrintable& printable, QWidget* parent);
    // Runs the view commands Print (57607) and Print preview (57609) on the view's printout,
    // which does nothing when the view has none; false for any other command.
    static bool bRunCommand(int commandId, OViewWidget& view, QWidget* parent);
    // Writes every page into a PDF file (A4, or the paper chosen last); error says why not.
    static bool bWritePdf(OPrintable& printable, const QString& path, std::string& error);

    // Paints every page onto the printer; the number of pages painted (0: nothing).
    static int PrintTo(OPrintable& printable, QPrinter& printer);
    // The printable area of the printer's page in tenths of a millimetre.
    static OPage PageOf(const QPrinter& printer);
    // The printer whose set-up the jobs share.
    static QPrinter& SharedPrinter();
};

// Printing the schematic: the renderer draws it black on white onto the printer's page, fitted
// inside the margins and turned to the orientation that suits its shape, with the file name
// and the date in a footer. The same pages go to a printer, a PDF file or the print preview.
#pragma once

#include <QDateTime>
#include <QString>

class QPrinter;

namespace qiro {

class Workspace;

// Landscape when the drawing is wider than it is high, portrait otherwise.
void ChooseOrientation(const Workspace& ws, QPrinter& printer);

// The footer line: the file name and the date and time given.
QString PrintFooter(const Workspace& ws, const QDateTime& when);

// Draws the schematic on one page of the printer. False when the printer cannot be painted on.
bool PrintSchematic(Workspace& ws, QPrinter& printer, const QString& footer);

}  // namespace qiro

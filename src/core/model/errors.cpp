#include "model/errors.h"

#include "workspace.h"

namespace qiro {

std::string ErrorMessage(int code, const std::string& fileName, const std::string& arg) {
  const std::string quoted = "\"" + arg + "\"";
  switch (code) {
    case 1:
      return "Too many pins.";
    case 2:
      return "Too many lines.";
    case 3:
      return "Too many symboles.";
    case 4:
      return "Too many nodes.";
    case 5:
      return "Too many delay. Please decrease the timing unit in simulation option.";
    case 6:
      return "Read error of " + fileName;
    case 7:
      return "Write error in " + fileName;
    case 8:
      return "Format error in " + fileName;
    case 9:
      return "Nothing include in this area.";
    case 10:
      return "Cut first ,then copy.";
    case 11:
      return "Neither symbole nor node in this place.";
    case 12:
      return "Symbol too near.";
    case 13:
      return "Line floating detected.";
    case 14:
      return "Cannot open the foundry file";
    case 15:
      return "Error decoding the real value " + quoted;
    case 16:
      return "The same name " + quoted + " is used more than once in i/o";
    case 17:
      return "The module name " + quoted + " is already used in the design. Save failed.";
    default:
      return {};
  }
}

void ReportError(Workspace& ws, int code, const std::string& fileName) {
  const std::string text =
      ErrorMessage(code, fileName.empty() ? ws.circuit.FileName : fileName, ws.circuit.MessageArg);
  if (!text.empty()) ws.host().ShowError(text);
}

void ReportWriteError(Workspace& ws, const std::string& fileName, const std::string& reason) {
  ws.host().ShowError(ErrorMessage(7, fileName, {}) + (reason.empty() ? "" : ": " + reason));
}

}  // namespace qiro

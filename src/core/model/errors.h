// The shared error codes and the texts of the "Error" box.
#pragma once

#include <string>

namespace qiro {

class Workspace;

// The message for an error code, or an empty string for codes that show nothing.
// fileName is used by codes 6 to 8, arg (the offending text) by codes 15 to 17.
std::string ErrorMessage(int code, const std::string& fileName, const std::string& arg);

// Shows the message box for a code. fileName defaults to the current file name.
void ReportError(Workspace& ws, int code, const std::string& fileName = {});

// Error 7 with the reason the write failed: "Write error in NAME: REASON".
void ReportWriteError(Workspace& ws, const std::string& fileName, const std::string& reason);

}  // namespace qiro

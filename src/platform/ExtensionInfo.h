#pragma once
// File types and their opening programs as the desktop knows them (shared-mime-info and the
// desktop entries' default applications, read through GIO), and opening web addresses.
// UI thread only. Nothing is cached here: the window keeps one answer per extension.

#include <string>
#include <vector>

namespace pyxa {

struct TFileTypeInfo {
    bool Found = false;        // the desktop knows a type for the extension
    std::string ContentType;   // e.g. "text/plain"; empty when not found
    std::string Command;       // Exec line of the desktop's default application for the type; "" when none
};

// extension: lower case with its dot (".txt"), or "" for a name without extension.
// The type is guessed from the name alone, never from content. Not found: an extension that no
// glob of the MIME database names (the guess is then the unknown type
// "application/octet-stream", which is never reported), "" (a bare name tells nothing), and an
// extension holding '/' or NUL, which cannot be part of a file name. A found type may still have
// no application (Command "").
TFileTypeInfo GetFileTypeInfo(const std::string& extension);

// The program and its arguments that open `document` with a desktop-entry Exec line `command`.
// The line is split at blanks (space, tab, newline); double quotes group an argument, and inside
// them a backslash makes the next '"', '`', '$' or '\' literal (any other backslash stays).
// Outside quotes every character but a blank is literal: nothing here goes through a shell.
// Field codes are expanded after the quoting is undone: %f %F %u %U become the document as given
// (a local path stays a path, which the Desktop Entry rules allow for %u/%U) at every occurrence,
// also inside a longer argument such as "--file=%f"; %% becomes a literal %; %i %c %k and the
// deprecated %d %D %n %N %v %m are removed (an argument made only of them disappears). Without
// %f/%F/%u/%U the document is appended as the last argument. The document never splits into
// several arguments and is never scanned for field codes.
// Empty result for an empty command, a quote left open, an unknown field code or a % ending the
// line (such lines must not be run), and a line whose program would be empty.
std::vector<std::string> BuildOpenCommand(const std::string& command, const std::string& document);

// Opens a web address with the default application of its scheme (for http and https the user's
// default browser); true when that application was started. Shows nothing on failure; "" and an
// address holding NUL are refused.
bool OpenUrl(const std::string& address);

}  // namespace pyxa

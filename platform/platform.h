#pragma once

/// What differs between the systems gridcol runs on. The key wait, the other
/// such difference, keeps its own header (app/keywait.h); each system has its
/// own source files in this folder, and no other part of the program asks
/// which system it runs on.
namespace Platform {

/// Sets the process up before anything else runs, and before Qt looks at the
/// time zone. It may start the program anew with the same arguments (argv,
/// as main() got it) to give it a better memory set-up; then it returns only
/// in the new process.
void PrepareProcess(char **argv);

/// How a line of a text file written in text mode ends on this system:
/// "\r\n" on Windows, "\n" elsewhere.
const char *TextLineEnd();

} // namespace Platform
